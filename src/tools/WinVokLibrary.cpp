#include "WinVokLibrary.h"

#include "app/AnsiText.h"
#include "app/FileSync.h"
#include "app/ProductInfo.h"
#include "vocab/VocabularyFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

// Records are collected and written in blocks of about this size.
constexpr qsizetype kWriteBlock = 64 * 1024;

const QByteArrayView kEmptyTerm("(leer)");

bool WriteAll(QIODevice& out, const QByteArray& bytes)
{
    return out.write(bytes) == bytes.size();
}

// Library texts are single-byte like the vocabulary file, so a field is filled straight
// from the bytes: cut to the field's width, blanks after it, NUL bytes as blanks.
void PutField(char* field, QByteArrayView text)
{
    const qsizetype n = std::min<qsizetype>(text.size(), kFieldWidth);
    for (qsizetype i = 0; i < n; ++i)
        field[i] = text[i] ? text[i] : ' ';
}

// Reads the lesson blocks and writes one record per entry.
bool ConvertLessons(WinVokReader& reader, QIODevice& out, const EntryCallback& perEntry)
{
    const auto lessons = reader.word();
    if (!lessons)
        return false;
    QByteArray block;
    block.reserve(kWriteBlock + kRecordSize);
    for (int l = 0; l < *lessons; ++l) {
        const auto lesson = reader.textView();
        const auto entries = reader.word();
        if (!lesson || !entries)
            return false;
        for (int e = 0; e < *entries; ++e) {
            if (perEntry)
                perEntry();
            // Lesson, German term, foreign term, synonyms, remark.
            QByteArrayView fields[kEntryFields] = {*lesson, {}, {}, {}, {}};
            const auto firstSide = reader.byte();
            const auto secondSide = reader.byte();
            if (!firstSide || !secondSide || !reader.skip(4))
                return false;
            for (int i = 0; i < *firstSide; ++i) {
                const auto word = reader.textView();
                const auto annotation = reader.textView();
                if (!word || !annotation)
                    return false;
                if (i == 0) {
                    fields[1] = *word;
                    fields[4] = *annotation;
                }
            }
            for (int i = 0; i < *secondSide; ++i) {
                const auto word = reader.textView();
                if (!word || !reader.textView())
                    return false;
                if (i < 2)
                    fields[2 + i] = *word;
            }
            // Only a term without any byte is empty: one of blanks stays as it is.
            for (int k : {1, 2})
                if (fields[k].isEmpty())
                    fields[k] = kEmptyTerm;
            const qsizetype at = block.size();
            block.resize(at + kRecordSize, ' ');
            for (int k = 0; k < kEntryFields; ++k)
                PutField(block.data() + at + k * kFieldWidth, fields[k]);
            if (block.size() >= kWriteBlock) {
                if (!WriteAll(out, block))
                    return false;
                block.clear();
            }
        }
    }
    return WriteAll(out, block);
}

ConversionResult Convert(QByteArrayView library, QIODevice& out, const EntryCallback& perEntry)
{
    WinVokReader reader(library);
    const auto signature = reader.text();
    if (!signature || *signature != kWinVokSignature)
        return ConversionResult::WrongFormat;
    const auto text1 = reader.text();
    const auto text2 = reader.text();
    if (!text1 || !text2)
        return ConversionResult::Failed;
    const VocabularyHeader header{FromAnsi(*text1) + QStringLiteral(" - ") + FromAnsi(*text2),
                                  QString(),
                                  QStringLiteral("Konvertiert von Lernkompass (") +
                                      Product::kHost + QStringLiteral(").")};
    const auto headerRecord = EncodeHeader(header);
    if (!headerRecord || !WriteAll(out, *headerRecord))
        return ConversionResult::Failed;
    return ConvertLessons(reader, out, perEntry) ? ConversionResult::Converted
                                                 : ConversionResult::Failed;
}

QString SwapCase(const QString& text)
{
    QString swapped = text;
    for (QChar& c : swapped)
        c = c.isUpper() ? c.toLower() : c.toUpper();
    return swapped;
}

// Whether the file system holding the existing path ignores letter case: the name with
// its case swapped is found, yet its directory holds no entry of exactly that name.
bool IgnoresCase(const QString& canonicalPath)
{
    QFileInfo info(canonicalPath);
    while (!info.isRoot() && !info.fileName().isEmpty()) {
        const QString name = info.fileName();
        const QString swapped = SwapCase(name);
        if (swapped != name) {
            const QDir dir = info.dir();
            const QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                    QDir::NoDotAndDotDot);
            return QFileInfo::exists(dir.filePath(swapped)) && !names.contains(swapped);
        }
        info = QFileInfo(info.path());
    }
    return false;
}

}  // namespace

std::optional<quint8> WinVokReader::byte()
{
    if (pos_ >= bytes_.size())
        return std::nullopt;
    return static_cast<quint8>(bytes_[pos_++]);
}

std::optional<quint16> WinVokReader::word()
{
    if (bytes_.size() - pos_ < 2)
        return std::nullopt;
    const auto low = static_cast<quint8>(bytes_[pos_]);
    const auto high = static_cast<quint8>(bytes_[pos_ + 1]);
    pos_ += 2;
    return static_cast<quint16>(low | (high << 8));
}

std::optional<QByteArrayView> WinVokReader::textView()
{
    if (pos_ >= bytes_.size())
        return std::nullopt;
    const auto length = static_cast<quint8>(bytes_[pos_]);
    if (bytes_.size() - pos_ - 1 < length)
        return std::nullopt;
    const QByteArrayView text = bytes_.sliced(pos_ + 1, length);
    pos_ += 1 + length;
    return text;
}

std::optional<QByteArray> WinVokReader::text()
{
    const auto view = textView();
    if (!view)
        return std::nullopt;
    QByteArray text = view->toByteArray();
    text.replace('\0', ' ');
    return text;
}

bool WinVokReader::skip(qsizetype n)
{
    if (n < 0 || bytes_.size() - pos_ < n)
        return false;
    pos_ += n;
    return true;
}

QString ConversionStatusText(ConversionResult result)
{
    switch (result) {
        case ConversionResult::Converted: break;
        case ConversionResult::OutputNotCreated:
            return QStringLiteral("Konnte Output-Datei nicht erzeugen.");
        case ConversionResult::InputNotRead:
            return QStringLiteral("Konnte Input-Datei nicht lesen.");
        case ConversionResult::WrongFormat:
            return QStringLiteral("Falsches Format der Input-Datei.");
        case ConversionResult::Failed:
            return QStringLiteral("Bei der Konvertierung ist ein Fehler aufgetreten.");
    }
    return QString();
}

std::optional<bool> HasLibrarySignature(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray signature = QByteArray(1, char(sizeof kWinVokSignature - 1)) + kWinVokSignature;
    const QByteArray start = file.read(signature.size());
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return start == signature;
}

ConversionResult ConvertLibrary(QByteArrayView library, QIODevice& out,
                                const EntryCallback& perEntry)
{
    // Memory running out, for one, ends the conversion like a damaged library.
    try {
        return Convert(library, out, perEntry);
    } catch (...) {
        return ConversionResult::Failed;
    }
}

ConversionResult ConvertLibraryFile(const QString& input, const QString& output,
                                    const EntryCallback& perEntry)
{
    try {
        // The temporary file is created first, as the output would be; a failure anywhere
        // below discards it when it goes out of scope.
        QSaveFile out(output);
        if (!out.open(QIODevice::WriteOnly))
            return ConversionResult::OutputNotCreated;
        QByteArray library;
        {
            QFile in(input);
            if (!in.open(QIODevice::ReadOnly))
                return ConversionResult::InputNotRead;
            library = in.readAll();
            if (in.error() != QFileDevice::NoError)
                return ConversionResult::InputNotRead;
        }
        const ConversionResult result = ConvertLibrary(library, out, perEntry);
        if (result != ConversionResult::Converted) {
            out.cancelWriting();
            return result;
        }
        // Qt 6.4's commit() does not notice a failed final flush (a full disk) and would put
        // a cut file in place: flush first.
        if (!out.flush() || !out.commit())
            return ConversionResult::Failed;
        // The new name on the disk too; the file itself was synced by commit(). Qt put it
        // beside the file a linked output leads to, keeping the link.
        SyncDirectory(QFileInfo(ResolveLinks(output)).absolutePath());
        return ConversionResult::Converted;
    } catch (...) {
        return ConversionResult::Failed;
    }
}

bool NamesSameFile(const QString& a, const QString& b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    const QString second = QFileInfo(b).canonicalFilePath();
    if (first.isEmpty() || second.isEmpty())
        return false;
    if (first == second)
        return true;
    return first.compare(second, Qt::CaseInsensitive) == 0 && IgnoresCase(first);
}
