#include "ListImport.h"

#include "DelimitedText.h"
#include "KvtmlFile.h"
#include "SafeFile.h"
#include "TextInput.h"
#include "app/AnsiText.h"
#include "app/FileSync.h"
#include "tools/WinVokLibrary.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr qint64 kDetectBytes = 1 << 16;
constexpr qsizetype kWriteBlock = 1 << 18;

const QString kEmptyFile = QStringLiteral("Die Datei ist leer.");
const QString kBinary =
    QStringLiteral("Die Datei ist keine Wortliste: Sie enthält keinen Text, sondern Binärdaten.");
const QString kReadFailed = QStringLiteral("Beim Lesen der Datei ist ein Fehler aufgetreten.");
const QString kNothing =
    QStringLiteral("Die Datei enthält keine Einträge, die importiert werden können.");
const QString kSourceChanged =
    QStringLiteral("Die Datei hat sich seit dem Zählen verändert. Es wurde nichts geschrieben.");

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString CannotRead(const QString& path)
{
    return QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(Shown(path));
}

QString CannotWrite(const QString& path)
{
    return QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(Shown(path));
}

QString Decode(QByteArrayView bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252) {
        if (bytes.startsWith("\xEF\xBB\xBF"))
            bytes = bytes.sliced(3);
        return FromAnsi(bytes.toByteArray());
    }
    QStringDecoder decoder(encoding == TextEncoding::Utf8 ? QStringConverter::Utf8
                                                          : QStringConverter::Utf16);
    return decoder(bytes);
}

// Text has few control characters besides tab and line ends; binary data many.
bool LooksBinary(QStringView text)
{
    qsizetype controls = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0)
            return true;
        if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r')
            ++controls;
    }
    return controls * 100 > text.size();
}

QStringView SkipLines(QStringView text, qsizetype lines)
{
    for (qsizetype i = 0; i < lines; ++i) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        if (end < 0)
            return {};
        text = text.sliced(end + 1);
    }
    return text;
}

}  // namespace

ListDetection DetectList(QIODevice& device)
{
    ListDetection detection;
    ListSettings& settings = detection.settings;
    const QByteArray head = device.peek(kDetectBytes);
    if (head.isEmpty()) {
        detection.error = kEmptyFile;
        return detection;
    }
    const bool complete = !device.isSequential() && device.size() - device.pos() <= head.size();
    settings.encoding = DetectEncoding(head, complete);
    const QString text = Decode(head, settings.encoding);
    if (LooksBinary(text)) {
        detection.error = kBinary;
        return detection;
    }
    QStringView start(text);
    while (!start.isEmpty() && (start.front().isSpace() || start.front() == QChar(0xFEFF)))
        start = start.sliced(1);
    if (start.startsWith(QLatin1String("<?xml")) || start.startsWith(QLatin1String("<kvtml")) ||
        start.startsWith(QLatin1String("<!DOCTYPE"))) {
        settings.format = ListFormat::Kvtml;
        return detection;
    }
    // Anki's header lines come first, each "#key:value".
    AnkiHeader anki;
    qsizetype headerLines = 0;
    bool known = false;
    for (QStringView rest = start; rest.startsWith(QLatin1Char('#')); ++headerLines) {
        const qsizetype end = rest.indexOf(QLatin1Char('\n'));
        const QStringView line = end < 0 ? rest : rest.left(end);
        known = anki.take(line.sliced(1).toString().remove(QLatin1Char('\r'))) || known;
        rest = end < 0 ? QStringView() : rest.sliced(end + 1);
    }
    if (known) {
        settings.format = ListFormat::AnkiText;
        settings.separator = !anki.separator.isNull()
                                 ? anki.separator
                                 : DetectSeparator(SkipLines(start, headerLines));
        return detection;
    }
    settings.format = ListFormat::Csv;
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    DelimitedParser parser(buffer, settings.encoding, QLatin1Char(';'));
    if (!parser.takeSeparatorLine())
        parser.setSeparator(DetectSeparator(start));
    settings.separator = parser.separator();
    QStringList first;
    QString comment;
    settings.columnNamesRow =
        parser.next(first, comment) == DelimitedParser::Item::Record && LooksLikeColumnNames(first);
    return detection;
}

ListDetection DetectListFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ListDetection detection;
        detection.error = CannotRead(path);
        return detection;
    }
    return DetectList(file);
}

ListReader::ListReader(QIODevice& device, const ListSettings& settings)
    : device_(device), settings_(settings)
{
}

ListReader::~ListReader() = default;

bool ListReader::start(const ExchangeProgress& progress)
{
    if (settings_.format == ListFormat::Kvtml) {
        kvtml_ = std::make_unique<KvtmlReader>(device_);
        if (!kvtml_->start(progress)) {
            error_ = kvtml_->error();
            return false;
        }
        names_ = kvtml_->columnNames();
        return true;
    }
    parser_ = std::make_unique<DelimitedParser>(device_, settings_.encoding, settings_.separator);
    QString comment;
    if (settings_.format == ListFormat::Csv) {
        parser_->takeSeparatorLine();
        if (settings_.columnNamesRow &&
            parser_->next(names_, comment) == DelimitedParser::Item::Failed) {
            error_ = kReadFailed;
            return false;
        }
        return true;
    }
    anki_ = std::make_unique<AnkiHeader>();
    parser_->setComments(true);
    for (;;) {
        switch (parser_->next(pending_, comment)) {
            case DelimitedParser::Item::Comment:
                anki_->take(comment);
                if (!anki_->separator.isNull())
                    parser_->setSeparator(anki_->separator);
                continue;
            case DelimitedParser::Item::Record: hasPending_ = true; break;
            case DelimitedParser::Item::End: break;
            case DelimitedParser::Item::Failed: error_ = kReadFailed; return false;
        }
        break;
    }
    if (!anki_->columns.isEmpty())
        names_ = anki_->columns.split(parser_->separator());
    return true;
}

bool ListReader::next(QStringList& row)
{
    if (kvtml_) {
        if (kvtml_->next(row))
            return true;
        error_ = kvtml_->error();
        return false;
    }
    if (!parser_)
        return false;
    if (hasPending_) {
        row = pending_;
        hasPending_ = false;
    } else {
        QString comment;
        DelimitedParser::Item item;
        while ((item = parser_->next(row, comment)) == DelimitedParser::Item::Comment) {
        }
        if (item == DelimitedParser::Item::Failed)
            error_ = kReadFailed;
        if (item != DelimitedParser::Item::Record)
            return false;
    }
    if (anki_ && anki_->html)
        for (QString& cell : row)
            cell = HtmlToText(cell);
    return true;
}

QStringList ListReader::columnNames() const
{
    return names_;
}

ColumnMapping ListReader::suggestedMapping(int columns) const
{
    if (kvtml_)
        return kvtml_->suggestedMapping();
    columns = std::max(columns, int(names_.size()));
    if (!anki_)
        return SuggestMapping(names_, columns);
    QList<int> skip = anki_->otherColumns;
    if (anki_->deckColumn >= 0)
        skip.append(anki_->deckColumn);
    ColumnMapping mapping = SuggestMapping(names_, columns, skip);
    if (anki_->deckColumn >= 0)
        mapping.column[kLessonField] = anki_->deckColumn;
    return mapping;
}

VocabularyHeader ListReader::header() const
{
    if (kvtml_)
        return kvtml_->header();
    if (anki_)
        return {anki_->title, anki_->author, anki_->remarks};
    return {};
}

QString ListReader::fileLesson() const
{
    return anki_ ? anki_->deck : QString();
}

int ListReader::permille() const
{
    if (kvtml_)
        return kvtml_->permille();
    return parser_ ? parser_->permille() : 0;
}

ListPreview ReadPreview(QIODevice& device, const ListSettings& settings, int rows,
                        const ExchangeProgress& progress)
{
    ListPreview preview;
    const qint64 start = device.pos();
    {
        ListReader reader(device, settings);
        if (reader.start(progress)) {
            QStringList row;
            while (preview.rows.size() < rows && reader.next(row)) {
                preview.columns = std::max(preview.columns, int(row.size()));
                preview.rows.append(row);
            }
            preview.columnNames = reader.columnNames();
            preview.columns = std::max(preview.columns, int(preview.columnNames.size()));
            while (preview.columnNames.size() < preview.columns)
                preview.columnNames.append(QString());
            preview.mapping = reader.suggestedMapping(preview.columns);
            preview.fileLesson = reader.fileLesson();
        }
        preview.error = reader.error();
    }
    if (!device.isSequential())
        device.seek(start);
    return preview;
}

DetectedImport DetectImport(const QString& path, const ExchangeProgress& progress)
{
    DetectedImport detected;
    const ListDetection detection = DetectListFile(path);
    QFile file(path);
    if (!detection.error.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        detected.error = detection.error.isEmpty() ? CannotRead(path) : detection.error;
        return detected;
    }
    const ListPreview preview = ReadPreview(file, detection.settings, 20, progress);
    detected.error = preview.error;
    detected.settings = {
        detection.settings, preview.mapping,
        preview.fileLesson.isEmpty() ? QFileInfo(path).completeBaseName() : preview.fileLesson};
    return detected;
}

ImportedRow RowToEntry(const QStringList& row, const ColumnMapping& mapping,
                       const QString& defaultLesson)
{
    ImportedRow imported;
    if (std::all_of(row.begin(), row.end(),
                    [](const QString& cell) { return TrimControls(cell).isEmpty(); }))
        return imported;
    for (int k = 0; k < kEntryFields; ++k) {
        const int column = mapping.column[k];
        if (column < 0 || column >= row.size())
            continue;
        const FittedText fitted = FitForField(row[column]);
        imported.entry.field(k) = fitted.text;
        imported.cut = imported.cut || fitted.cut;
        imported.replaced = imported.replaced || fitted.replaced;
    }
    if (imported.entry.german.isEmpty() || imported.entry.foreign.isEmpty()) {
        imported.kind = RowKind::Refused;
        return imported;
    }
    if (imported.entry.lesson.isEmpty()) {
        const FittedText fitted = FitForField(defaultLesson);
        imported.entry.lesson = fitted.text;
        imported.cut = imported.cut || fitted.cut;
        imported.replaced = imported.replaced || fitted.replaced;
    }
    imported.kind = RowKind::Entry;
    return imported;
}

namespace {

using HeaderSink = std::function<QString(const VocabularyHeader&)>;
using EntrySink = std::function<QString(const VocabularyEntry&)>;

// Reads the whole list: counts every row and hands each entry to the sink (none when only
// counting), the fitted header before the first. A sink's answer is an error message.
ImportResult Process(QIODevice& source, const ImportSettings& settings, bool withHeader,
                     bool fittingAccepted, const HeaderSink& start, const EntrySink& sink,
                     const ExchangeProgress& progress)
{
    ImportResult result;
    ImportCounts& counts = result.counts;
    if (!source.isSequential() && !source.seek(0)) {
        result.error = kReadFailed;
        return result;
    }
    ListReader reader(source, settings.list);
    if (!reader.start(progress)) {
        result.error = reader.error();
        return result;
    }
    const bool writing = bool(sink);
    if (withHeader) {
        const VocabularyHeader header = reader.header();
        const FittedText title = FitForField(header.title);
        const FittedText author = FitForField(header.author);
        const FittedText remarks = FitForField(header.remarks, kRemarksWidth);
        result.header = {title.text, author.text, remarks.text};
        counts.headerCut = title.cut || author.cut || remarks.cut;
        counts.headerReplaced = title.replaced || author.replaced || remarks.replaced;
        if (writing && counts.needsFitting() && !fittingAccepted) {
            result.error = kSourceChanged;
            return result;
        }
    }
    if (start)
        result.error = start(result.header);
    QStringList row;
    qint64 rows = 0;
    while (result.ok() && reader.next(row)) {
        const ImportedRow imported = RowToEntry(row, settings.mapping, settings.defaultLesson);
        switch (imported.kind) {
            case RowKind::Empty: ++counts.empty; break;
            case RowKind::Refused: ++counts.refused; break;
            case RowKind::Entry:
                ++counts.entries;
                counts.cut += imported.cut ? 1 : 0;
                counts.replaced += imported.replaced ? 1 : 0;
                if (writing && (imported.cut || imported.replaced) && !fittingAccepted)
                    result.error = kSourceChanged;
                else if (writing)
                    result.error = sink(imported.entry);
                break;
        }
        if (progress && ++rows % 2048 == 0)
            progress(reader.permille());
    }
    if (result.ok())
        result.error = reader.error();
    if (result.ok() && writing && counts.entries == 0)
        result.error = kNothing;
    return result;
}

// Collects records and writes them in large blocks.
class RecordWriter {
public:
    RecordWriter(QFileDevice& device, qint64 position) : device_(device), position_(position) {}

    bool add(const QByteArray& record)
    {
        buffer_ += record;
        return buffer_.size() < kWriteBlock || flush();
    }

    bool flush()
    {
        if (buffer_.isEmpty())
            return true;
        if (!device_.seek(position_) || device_.write(buffer_) != buffer_.size())
            return false;
        position_ += buffer_.size();
        buffer_.clear();
        return true;
    }

private:
    QFileDevice& device_;
    qint64 position_;
    QByteArray buffer_;
};

QString TooMany()
{
    return QStringLiteral("Eine Vokabeldatei kann höchstens %1 Einträge aufnehmen.")
        .arg(kMaxVocabularyEntries);
}

QString Exists(const QString& path)
{
    return QStringLiteral("Die Datei %1 existiert bereits.").arg(Shown(path));
}

QString InUse(const QString& path)
{
    return QStringLiteral("Die Datei %1 wird gerade in einem Lernkompass-Fenster bearbeitet.")
        .arg(Shown(path));
}

// Whether an editor, here or in another instance, holds the file open for writing.
bool LockedByEditor(const QString& path)
{
    VocabularyFile probe;
    return !probe.open(path, VocabularyFile::Access::ReadWrite) && probe.inUse();
}

ImportResult ImportNew(QIODevice& source, const ImportSettings& settings,
                       const ImportTarget& target, bool fittingAccepted,
                       const ExchangeProgress& progress)
{
    const QFileInfo info(target.path);
    if (!target.replaceExisting && (info.exists() || info.isSymLink()))
        return {Exists(target.path), {}, {}};
    // Replaced under an editor, the entries typed there would go to a file without a name.
    if (info.exists() && !info.isSymLink() && LockedByEditor(target.path))
        return {InUse(target.path), {}, {}};
    SafeFile out(target.path);
    if (!out.open())
        return {CannotWrite(target.path), {}, {}};
    RecordWriter writer(out.device(), 0);
    qint64 written = 0;
    const auto add = [&](const std::optional<QByteArray>& record) {
        return record && writer.add(*record) ? QString() : CannotWrite(target.path);
    };
    ImportResult result = Process(
        source, settings, true, fittingAccepted,
        [&](const VocabularyHeader& header) { return add(EncodeHeader(header)); },
        [&](const VocabularyEntry& entry) {
            return ++written > kMaxVocabularyEntries ? TooMany() : add(EncodeEntry(entry));
        },
        progress);
    if (result.ok() && (!writer.flush() || !out.commit(target.replaceExisting)))
        result.error = !target.replaceExisting && QFileInfo::exists(target.path)
                           ? Exists(target.path)
                           : CannotWrite(target.path);
    return result;
}

ImportResult AppendTo(VocabularyFile& file, QIODevice& source, const ImportSettings& settings,
                      const ImportTarget& target, bool fittingAccepted,
                      const ExchangeProgress& progress)
{
    const qint64 oldSize = file.size();
    if (oldSize < kRecordSize || oldSize % kRecordSize != 0)
        return {CheckMessage(FileCheck::BadFormat), {}, {}};
    if (file.changedElsewhere() ||
        (target.expectedEntries >= 0 && file.entryCount() != target.expectedEntries))
        return {QStringLiteral("Die Datei %1 wurde inzwischen von einem anderen Programm "
                               "verändert. Es wurde nichts angehängt.")
                    .arg(Shown(target.path)),
                {},
                {}};
    RecordWriter writer(file.device(), oldSize);
    qint64 count = file.entryCount();
    ImportResult result = Process(
        source, settings, false, fittingAccepted, {},
        [&](const VocabularyEntry& entry) {
            const auto record = EncodeEntry(entry);
            if (++count > kMaxVocabularyEntries)
                return TooMany();
            return record && writer.add(*record) ? QString() : CannotWrite(target.path);
        },
        progress);
    if (result.ok() && (!writer.flush() || !SyncFile(file.device())))
        result.error = CannotWrite(target.path);
    // Whatever went wrong, the file keeps exactly its old entries.
    if (!result.ok() && file.size() != oldSize)
        file.device().resize(oldSize);
    // The new length is this program's own doing.
    if (result.ok())
        file.rememberSize();
    return result;
}

ImportResult ImportAppend(QIODevice& source, const ImportSettings& settings,
                          const ImportTarget& target, bool fittingAccepted,
                          const ExchangeProgress& progress)
{
    if (target.openFile)
        return AppendTo(*target.openFile, source, settings, target, fittingAccepted, progress);
    VocabularyFile file;
    if (!file.open(target.path, VocabularyFile::Access::ReadWrite))
        return {file.inUse() ? InUse(target.path)
                             : QStringLiteral("Die Datei %1 kann nicht geöffnet werden.")
                                   .arg(Shown(target.path)),
                {},
                {}};
    return AppendTo(file, source, settings, target, fittingAccepted, progress);
}

}  // namespace

ImportResult CountImport(QIODevice& source, const ImportSettings& settings, TargetMode mode,
                         const ExchangeProgress& progress)
{
    return Process(source, settings, mode == TargetMode::NewFile, true, {}, {}, progress);
}

ImportResult ImportList(QIODevice& source, const ImportSettings& settings,
                        const ImportTarget& target, bool fittingAccepted,
                        const ExchangeProgress& progress)
{
    try {
        return target.mode == TargetMode::Append
                   ? ImportAppend(source, settings, target, fittingAccepted, progress)
                   : ImportNew(source, settings, target, fittingAccepted, progress);
    } catch (const std::bad_alloc&) {
        return {QStringLiteral("Für den Import reicht der Arbeitsspeicher nicht."), {}, {}};
    }
}

ImportResult CountImportFile(const QString& source, const ImportSettings& settings, TargetMode mode,
                             const ExchangeProgress& progress)
{
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return {CannotRead(source), {}, {}};
    return CountImport(file, settings, mode, progress);
}

ImportResult ImportListFile(const QString& source, const ImportSettings& settings,
                            const ImportTarget& target, bool fittingAccepted,
                            const ExchangeProgress& progress)
{
    if (NamesSameFile(source, target.path))
        return {
            QStringLiteral("Die Wortliste kann nicht in sich selbst importiert werden."), {}, {}};
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return {CannotRead(source), {}, {}};
    return ImportList(file, settings, target, fittingAccepted, progress);
}

namespace {

QString Sentence(qint64 n, const char* one, const char* many)
{
    return (n == 1 ? QString::fromUtf8(one) : QString::fromUtf8(many).arg(n)) + QLatin1Char('\n');
}

}  // namespace

QString CountsText(const ImportCounts& counts, bool done)
{
    const auto tense = [done](const char* coming, const char* past) {
        return done ? past : coming;
    };
    QString text =
        Sentence(counts.entries, tense("1 Eintrag wird übernommen.", "1 Eintrag wurde übernommen."),
                 tense("%1 Einträge werden übernommen.", "%1 Einträge wurden übernommen."));
    if (counts.empty > 0)
        text += Sentence(
            counts.empty,
            tense("1 leere Zeile wird übersprungen.", "1 leere Zeile wurde übersprungen."),
            tense("%1 leere Zeilen werden übersprungen.", "%1 leere Zeilen wurden übersprungen."));
    if (counts.refused > 0)
        text += Sentence(counts.refused,
                         tense("1 Zeile ohne deutschen oder fremdsprachigen Begriff wird nicht "
                               "übernommen.",
                               "1 Zeile ohne deutschen oder fremdsprachigen Begriff wurde nicht "
                               "übernommen."),
                         tense("%1 Zeilen ohne deutschen oder fremdsprachigen Begriff werden nicht "
                               "übernommen.",
                               "%1 Zeilen ohne deutschen oder fremdsprachigen Begriff wurden nicht "
                               "übernommen."));
    if (counts.cut > 0)
        text += Sentence(counts.cut,
                         tense("1 Eintrag hat ein Feld mit mehr als 80 Zeichen.",
                               "1 Eintrag mit einem Feld über 80 Zeichen wurde gekürzt."),
                         tense("%1 Einträge haben ein Feld mit mehr als 80 Zeichen.",
                               "%1 Einträge mit einem Feld über 80 Zeichen wurden gekürzt."));
    if (counts.replaced > 0)
        text += Sentence(counts.replaced,
                         tense("1 Eintrag enthält Zeichen außerhalb von Windows-1252 oder "
                               "Zeilenumbrüche.",
                               "In 1 Eintrag wurden Zeichen ersetzt."),
                         tense("%1 Einträge enthalten Zeichen außerhalb von Windows-1252 oder "
                               "Zeilenumbrüche.",
                               "In %1 Einträgen wurden Zeichen ersetzt."));
    if (counts.headerCut || counts.headerReplaced)
        text += QString::fromUtf8(
            tense("Titel, Autor oder Bemerkungen passen nicht unverändert in die Vokabeldatei.\n",
                  "Titel, Autor oder Bemerkungen wurden gekürzt oder angepasst.\n"));
    text.chop(1);
    return text;
}

QString FittingQuestion(const ImportCounts& counts)
{
    QString text = QStringLiteral("Nicht alles passt unverändert in eine Vokabeldatei:\n\n");
    if (counts.cut > 0)
        text += Sentence(counts.cut,
                         "1 Eintrag hat ein Feld mit mehr als 80 Zeichen; es wird nach 80 "
                         "Zeichen abgeschnitten.",
                         "%1 Einträge haben ein Feld mit mehr als 80 Zeichen; es wird nach 80 "
                         "Zeichen abgeschnitten.");
    if (counts.replaced > 0)
        text += Sentence(counts.replaced,
                         "1 Eintrag enthält Zeichen außerhalb von Windows-1252 oder "
                         "Zeilenumbrüche.",
                         "%1 Einträge enthalten Zeichen außerhalb von Windows-1252 oder "
                         "Zeilenumbrüche.") +
                QStringLiteral(
                    "Ein Zeilenumbruch wird zum Leerzeichen, ein anderes Zeichen zum "
                    "nächstliegenden Windows-1252-Zeichen (zum Beispiel „ć“ zu „c“) "
                    "oder, wo es keines gibt, zu „?“.\n");
    if (counts.headerCut || counts.headerReplaced)
        text += QStringLiteral(
            "Titel, Autor oder Bemerkungen werden ebenso gekürzt (Bemerkungen "
            "nach 240 Zeichen) oder angepasst.\n");
    text += QStringLiteral(
        "\nSollen die Einträge so gekürzt und ersetzt importiert werden? Mit „Nein“ wird der "
        "Import abgebrochen, und es wird nichts geschrieben.");
    return text;
}
