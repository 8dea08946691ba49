#include "StatisticsFile.h"

#include "app/FileSync.h"

#include "app/AnsiText.h"
#include "app/FileNames.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QThread>
#include <QTemporaryFile>

namespace {

const QString kFileName = QStringLiteral("Lernkompass.dat");

QString NumberField(int value)
{
    // Digits without sign; more than five digits keep their first five.
    return FitToWidth(QString::number(value < 0 ? 0 : value), 5);
}

bool DirectoryWritable(const QString& dir)
{
    // Access bits can lie (read-only mounts, ACLs): try it.
    QTemporaryFile probe(dir + QStringLiteral("/.lernkompass-probe-XXXXXX"));
    return probe.open();
}

}  // namespace

QString StatisticsFilePath(const QString& programDirectory)
{
    const QString besideProgram = programDirectory + QLatin1Char('/') + kFileName;
    if (QFileInfo::exists(besideProgram) ? QFileInfo(besideProgram).isWritable()
                                         : DirectoryWritable(programDirectory))
        return besideProgram;
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataDir);
    return dataDir + QLatin1Char('/') + kFileName;
}

QString StoredText(const QString& text)
{
    // A name the file cannot hold (a Cyrillic file name, say) gets "?" for each such
    // character, as ANSI file names do, so that the run is still recorded.
    QString stored;
    stored.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;  // one character outside the BMP, one "?"
        stored += IsAnsiChar(c) ? c : QLatin1Char('?');
    }
    return stored;
}

std::optional<QByteArray> EncodeStatisticsRecord(const RunResult& run)
{
    const QString text = FitToWidth(StoredText(FileNamePart(run.vocabularyPath)), 80) +
                         FitToWidth(StoredText(run.lesson), 80) + NumberField(run.total) +
                         NumberField(run.known) + NumberField(run.notKnown) +
                         NumberField(run.deleted) + NumberField(run.seconds) +
                         run.date.toString(QStringLiteral("ddMMyyyy"));
    auto bytes = ToAnsi(text);
    if (!bytes || bytes->size() != kStatisticsRecordSize)
        return std::nullopt;
    return bytes;
}

StatisticsRecord DecodeStatisticsRecord(const QByteArray& bytes)
{
    const QString text = FieldText(bytes.left(kStatisticsRecordSize));
    return {text.mid(0, 80),  text.mid(80, 80),  text.mid(160, 5), text.mid(165, 5),
            text.mid(170, 5), text.mid(175, 5), text.mid(180, 5), text.mid(185, 8)};
}

bool WriteStatisticsRecord(const QString& statisticsPath, const RunResult& run)
{
    const auto record = EncodeStatisticsRecord(run);
    if (!record)
        return false;
    const bool existed = QFileInfo::exists(statisticsPath);
    QFile file(statisticsPath);
    // Unbuffered: a short write shows at once and nothing is left in a buffer that a
    // later close could still add to the file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    // Two programs may end a run at the same moment: they take turns, so that neither
    // takes the other's record, half written, for a torn one.
    FileLock lock = LockOpenFile(file);
    for (int tries = 0; lock == FileLock::Busy && tries < 300; ++tries) {
        QThread::msleep(10);
        lock = LockOpenFile(file);
    }
    // A tail shorter than a record can then only be a record torn by a crash or power
    // loss: appending after it would shift every later record off its boundary and make
    // the whole file unreadable, so it goes first.
    const qint64 size = file.size();
    const qint64 before = lock == FileLock::Busy ? size : size - size % kStatisticsRecordSize;
    if (before != file.size() && !file.resize(before))
        return false;
    if (file.write(*record) == record->size())
        return true;
    // Take back a partly written record.
    if (existed)
        file.resize(before);
    else
        file.remove();
    return false;
}

StatisticsReader::Status StatisticsReader::open(const QString& statisticsPath)
{
    close();
    file_.setFileName(statisticsPath);
    if (!file_.open(QIODevice::ReadOnly))
        return Status::Missing;
    const qint64 size = file_.size();
    if (size == 0 || size % kStatisticsRecordSize != 0) {
        file_.close();
        return Status::Damaged;
    }
    count_ = static_cast<int>(size / kStatisticsRecordSize);
    return Status::Ok;
}

void StatisticsReader::close()
{
    if (file_.isOpen())
        file_.close();
    count_ = 0;
}

std::optional<StatisticsRecord> StatisticsReader::read(int i)
{
    const qint64 pos = qint64(i) * kStatisticsRecordSize;
    if (!file_.isOpen() || i < 0 || pos + kStatisticsRecordSize > file_.size() ||
        !file_.seek(pos))
        return std::nullopt;
    const QByteArray bytes = file_.read(kStatisticsRecordSize);
    if (bytes.size() != kStatisticsRecordSize)
        return std::nullopt;
    return DecodeStatisticsRecord(bytes);
}

QByteArray StatisticsReader::readBlock(int first, int count)
{
    if (!file_.isOpen() || first < 0 || count <= 0 || first >= count_)
        return QByteArray();
    const qint64 pos = qint64(first) * kStatisticsRecordSize;
    const qint64 available = (file_.size() - pos) / kStatisticsRecordSize;
    const qint64 records = std::min<qint64>(std::min(count, count_ - first), available);
    if (records <= 0 || !file_.seek(pos))
        return QByteArray();
    QByteArray bytes = file_.read(records * kStatisticsRecordSize);
    bytes.truncate(bytes.size() - bytes.size() % kStatisticsRecordSize);
    return bytes;
}

QString StatisticsReader::message(Status status)
{
    switch (status) {
    case Status::Missing: return QStringLiteral("Statistikdatei nicht vorhanden!");
    case Status::Damaged: return QStringLiteral("Statistikdatei fehlerhaft oder leer!");
    case Status::Ok: break;
    }
    return QString();
}

namespace {

constexpr int kBlockRecords = 2048;  // about 400 KB per read

// A field's bytes as DecodeStatisticsRecord sees them: the record's text ends at its first
// NUL. Comparing bytes equals comparing the decoded texts, as every byte decodes to one
// character of its own.
QByteArrayView RawField(QByteArrayView record, int offset, int width)
{
    const qsizetype nul = record.indexOf('\0');
    const qsizetype end = nul < 0 ? record.size() : nul;
    if (offset >= end)
        return QByteArrayView();
    return record.sliced(offset, std::min<qsizetype>(width, end - offset));
}

QByteArrayView TrimmedBlanks(QByteArrayView field)
{
    while (!field.isEmpty() && field.front() == ' ')
        field = field.sliced(1);
    while (!field.isEmpty() && field.back() == ' ')
        field.chop(1);
    return field;
}

// Visits every record in file order, a block per read, until the file ends or visit says
// stop. A file shortened meanwhile ends the scan.
template <typename Visit>
void ScanRecords(StatisticsReader& reader, const ScanProgress& progress, Visit visit)
{
    for (int first = 0; first < reader.recordCount(); first += kBlockRecords) {
        const QByteArray block = reader.readBlock(first, kBlockRecords);
        const qsizetype whole = block.size() / kStatisticsRecordSize;
        for (qsizetype r = 0; r < whole; ++r)
            visit(QByteArrayView(block).sliced(r * kStatisticsRecordSize, kStatisticsRecordSize));
        if (whole < std::min(kBlockRecords, reader.recordCount() - first))
            return;
        if (progress)
            progress();
    }
}

}  // namespace

QStringList StatisticsLessons(StatisticsReader& reader, const QString& fileName,
                              const ScanProgress& progress)
{
    QStringList lessons;
    // A name the file cannot hold matches no record.
    const auto name = ToAnsi(fileName);
    if (!name)
        return lessons;
    QSet<QByteArray> seen;
    ScanRecords(reader, progress, [&](QByteArrayView record) {
        if (TrimmedBlanks(RawField(record, 0, 80)) != *name)
            return;
        const QByteArrayView lesson = RawField(record, 80, 80);
        if (TrimmedBlanks(lesson).isEmpty())
            return;
        const QByteArray stored = lesson.toByteArray();
        if (!seen.contains(stored)) {
            seen.insert(stored);
            lessons << FromAnsi(stored);
        }
    });
    return lessons;
}

QList<StatisticsRecord> MatchingStatisticsRecords(StatisticsReader& reader, const QString& fileName,
                                                  const QString& lesson,
                                                  const ScanProgress& progress)
{
    QList<StatisticsRecord> matching;
    const auto name = ToAnsi(fileName);
    const auto wanted = ToAnsi(lesson);
    if (!name || !wanted)
        return matching;
    ScanRecords(reader, progress, [&](QByteArrayView record) {
        if (TrimmedBlanks(RawField(record, 80, 80)) == *wanted &&
            TrimmedBlanks(RawField(record, 0, 80)) == *name)
            matching << DecodeStatisticsRecord(record.toByteArray());
    });
    return matching;
}
