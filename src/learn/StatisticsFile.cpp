#include "StatisticsFile.h"

#include "app/AnsiText.h"
#include "app/FileNames.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
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
    const qint64 before = file.size();
    if (file.write(*record) == record->size())
        return true;
    // Take back a partly written record so that the file is as it was.
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

QString StatisticsReader::message(Status status)
{
    switch (status) {
    case Status::Missing: return QStringLiteral("Statistikdatei nicht vorhanden!");
    case Status::Damaged: return QStringLiteral("Statistikdatei fehlerhaft oder leer!");
    case Status::Ok: break;
    }
    return QString();
}

QStringList StatisticsLessons(StatisticsReader& reader, const QString& fileName)
{
    QStringList lessons;
    QSet<QString> seen;
    for (int i = 0; i < reader.recordCount(); ++i) {
        const auto record = reader.read(i);
        if (!record)
            break;
        if (TrimBlanks(record->fileName) != fileName || TrimBlanks(record->lesson).isEmpty())
            continue;
        if (!seen.contains(record->lesson)) {
            seen.insert(record->lesson);
            lessons << record->lesson;
        }
    }
    return lessons;
}

QList<StatisticsRecord> MatchingStatisticsRecords(StatisticsReader& reader,
                                                  const QString& fileName,
                                                  const QString& lesson)
{
    QList<StatisticsRecord> matching;
    for (int i = 0; i < reader.recordCount(); ++i) {
        const auto record = reader.read(i);
        if (!record)
            break;
        if (TrimBlanks(record->lesson) == lesson && TrimBlanks(record->fileName) == fileName)
            matching << *record;
    }
    return matching;
}
