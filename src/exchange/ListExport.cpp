#include "ListExport.h"

#include "DelimitedText.h"
#include "KvtmlFile.h"
#include "SafeFile.h"
#include "tools/WinVokLibrary.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

namespace {

constexpr int kBlockRecords = 1024;

// Text collected and written as UTF-8 in large pieces.
class TextOutput {
public:
    explicit TextOutput(QIODevice& out) : out_(out) {}

    void add(const QString& text)
    {
        buffer_ += text.toUtf8();
        if (buffer_.size() >= (1 << 18))
            flush();
    }
    void addBytes(const QByteArray& bytes) { buffer_ += bytes; }

    bool flush()
    {
        if (!buffer_.isEmpty() && out_.write(buffer_) != buffer_.size())
            ok_ = false;
        buffer_.clear();
        return ok_;
    }

private:
    QIODevice& out_;
    QByteArray buffer_;
    bool ok_ = true;
};

QString OneLine(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// Calls each(entry) for every entry of the file, in order.
bool ForEachEntry(VocabularyFile& vocabulary,
                  const std::function<void(const VocabularyEntry&)>& each,
                  const ExchangeProgress& progress)
{
    const int n = vocabulary.entryCount();
    QFile& file = vocabulary.device();
    for (int first = 1; first <= n; first += kBlockRecords) {
        const int count = std::min(kBlockRecords, n - first + 1);
        if (!file.seek(qint64(first) * kRecordSize))
            return false;
        const QByteArray block = file.read(qint64(count) * kRecordSize);
        if (block.size() != qint64(count) * kRecordSize)
            return false;
        for (int i = 0; i < count; ++i)
            each(DecodeEntry(block.sliced(qsizetype(i) * kRecordSize, kRecordSize)));
        if (progress)
            progress(int(qint64(first + count - 1) * 1000 / n));
    }
    return true;
}

}  // namespace

bool WriteWordList(VocabularyFile& vocabulary, ListFormat format, QIODevice& out,
                   const ExchangeProgress& progress)
{
    const auto header = vocabulary.readHeader();
    if (!header)
        return false;
    if (format == ListFormat::Kvtml) {
        KvtmlWriter writer(out);
        writer.begin(*header);
        return ForEachEntry(
                   vocabulary, [&](const VocabularyEntry& e) { writer.add(e); }, progress) &&
               writer.finish();
    }
    TextOutput text(out);
    const QStringList names = FieldColumnNames();
    if (format == ListFormat::Csv) {
        const QChar separator = QLatin1Char(';');
        const QString lineEnd = QStringLiteral("\r\n");
        text.addBytes(QByteArrayLiteral("\xEF\xBB\xBF"));
        text.add(DelimitedRecord(names, separator, false, lineEnd));
        if (!ForEachEntry(
                vocabulary,
                [&](const VocabularyEntry& e) {
                    text.add(DelimitedRecord({e.lesson, e.german, e.foreign, e.synonyms, e.remark},
                                             separator, false, lineEnd));
                },
                progress))
            return false;
        return text.flush();
    }
    const QChar tab = QLatin1Char('\t');
    const QString lineEnd = QStringLiteral("\n");
    const QStringList columns{names[kGermanField], names[kForeignField], names[kSynonymsField],
                              names[kRemarkField], names[kLessonField]};
    text.add(QStringLiteral("#separator:tab\n#html:false\n#columns:") + columns.join(tab) +
             QStringLiteral("\n#deck column:5\n"));
    const std::pair<const char*, const QString*> lines[] = {
        {"Titel", &header->title}, {"Autor", &header->author}, {"Bemerkungen", &header->remarks}};
    for (const auto& [key, value] : lines)
        if (!value->isEmpty())
            text.add(QLatin1Char('#') + QLatin1String(key) + QLatin1Char(':') + OneLine(*value) +
                     lineEnd);
    if (!ForEachEntry(
            vocabulary,
            [&](const VocabularyEntry& e) {
                text.add(DelimitedRecord({e.german, e.foreign, e.synonyms, e.remark, e.lesson}, tab,
                                         true, lineEnd));
            },
            progress))
        return false;
    return text.flush();
}

ListExportResult ExportWordList(const QString& vocabularyPath, ListFormat format,
                                const QString& target, bool replaceExisting,
                                const ExchangeProgress& progress)
{
    const QString shown = QDir::toNativeSeparators(target);
    if (NamesSameFile(vocabularyPath, target))
        return {QStringLiteral("Die Exportdatei darf nicht die Vokabeldatei selbst sein."), 0};
    VocabularyFile vocabulary;
    const FileCheckResult check = CheckVocabularyFile(vocabularyPath, false);
    if (check.status != FileCheck::Valid ||
        !vocabulary.open(vocabularyPath, VocabularyFile::Access::ReadOnly))
        return {CheckMessage(check.status == FileCheck::Valid ? FileCheck::Missing : check.status),
                0};
    const QFileInfo info(target);
    if (!replaceExisting && (info.exists() || info.isSymLink()))
        return {QStringLiteral("Die Datei %1 existiert bereits.").arg(shown), 0};
    SafeFile out(target);
    const QString failed = QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(shown);
    if (!out.open())
        return {failed, 0};
    try {
        if (!WriteWordList(vocabulary, format, out.device(), progress))
            return {failed, 0};
    } catch (const std::bad_alloc&) {
        return {QStringLiteral("Für den Export reicht der Arbeitsspeicher nicht."), 0};
    }
    if (!out.commit(replaceExisting))
        return {failed, 0};
    return {QString(), vocabulary.entryCount()};
}
