#pragma once

// The checks shared by the word-list fuzz targets: a list from elsewhere read with given
// settings through the preview, the count and the import into a new vocabulary file.

#include "FuzzSupport.h"
#include "exchange/ListImport.h"

#include <QBuffer>

inline void FuzzList(const QByteArray& bytes, const ListSettings& settings)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    DetectList(buffer);
    FUZZ_CHECK(buffer.pos() == 0);

    const ListPreview preview = ReadPreview(buffer, settings, 20);
    FUZZ_CHECK(buffer.pos() == 0);
    FUZZ_CHECK(preview.rows.size() <= 20);
    for (int column : preview.mapping.column)
        FUZZ_CHECK(column >= -1 && column < std::max(preview.columns, 1));

    ImportSettings import{settings, preview.mapping, QStringLiteral("Lektion")};
    const ImportResult counted = CountImport(buffer, import);
    const QString path = FuzzFilePath(QStringLiteral("liste.vok"));
    QFile::remove(path);
    const ImportResult written =
        ImportList(buffer, import, {path, TargetMode::NewFile, true, -1}, true);
    // The same answer twice; a failed import leaves no file.
    FUZZ_CHECK(written.ok() == (counted.ok() && counted.counts.entries > 0));
    FUZZ_CHECK(!written.ok() || written.counts == counted.counts);
    if (!written.ok()) {
        FUZZ_CHECK(!QFile::exists(path));
        return;
    }
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    const QByteArray vocabulary = file.readAll();
    FUZZ_CHECK(vocabulary.size() == (written.counts.entries + 1) * kRecordSize);
    for (qsizetype pos = kRecordSize; pos < vocabulary.size(); pos += kRecordSize) {
        const QByteArray record = vocabulary.mid(pos, kRecordSize);
        // One line per field, the required fields filled, read back as written.
        for (char c : record)
            FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
        const VocabularyEntry entry = DecodeEntry(record);
        FUZZ_CHECK(!entry.lesson.isEmpty() && !entry.german.isEmpty() && !entry.foreign.isEmpty());
        FUZZ_CHECK(EncodeEntry(entry) == record);
    }
}

// Settings chosen by the input's first byte, so that every reader path gets exercised.
inline ListSettings FuzzSettings(ListFormat format, const QByteArray& bytes)
{
    const unsigned char b = bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes.at(0));
    ListSettings settings;
    settings.format = format;
    settings.encoding = TextEncoding(b % 3);
    settings.separator = QLatin1Char(";,\t|"[(b >> 2) % 4]);
    settings.columnNamesRow = (b >> 4) & 1;
    return settings;
}
