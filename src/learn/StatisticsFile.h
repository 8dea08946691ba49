#pragma once

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The statistics file "Lernkompass.dat": one record of exactly 193 bytes of Windows-1252
// text per finished learning run, no header, no separators.
//   0  80  vocabulary file name without directory (fitted)
//  80  80  lesson (fitted), 80 blanks for a random run
// 160   5  total       165 5 known     170 5 notKnown
// 175   5  deleted     180 5 seconds   185 8 date "ddmmyyyy"
// Numbers are decimal, left-aligned, blank-filled to 5 characters; longer numbers keep
// their first five digits.

inline constexpr int kStatisticsRecordSize = 193;

struct StatisticsRecord {
    QString fileName;  // fields as stored: untrimmed
    QString lesson;
    QString total;
    QString known;
    QString notKnown;
    QString deleted;
    QString time;
    QString date;
    bool operator==(const StatisticsRecord&) const = default;
};

struct RunResult {
    QString vocabularyPath;
    QString lesson;  // empty for a random run
    int total = 0;
    int known = 0;
    int notKnown = 0;
    int deleted = 0;
    int seconds = 0;
    QDate date;
};

// The file beside the program when that directory is writable, otherwise in the user's
// data directory; reading and writing always use the same place.
QString StatisticsFilePath(const QString& programDirectory);

// A text as the record stores it: each character that Windows-1252 cannot hold becomes
// "?". Compare file names with the stored field through this.
QString StoredText(const QString& text);

// The 193 bytes of a record. Fails only on a date that is not eight digits.
std::optional<QByteArray> EncodeStatisticsRecord(const RunResult& run);
// Splits 193 bytes into the eight fields; a NUL ends the record's text there.
StatisticsRecord DecodeStatisticsRecord(const QByteArray& bytes);

// Appends one record on a record boundary: a tail shorter than one record (a torn record)
// is cut first; the whole records already in the file are never changed, and a write that
// fails leaves them as they were. Returns false on failure.
bool WriteStatisticsRecord(const QString& statisticsPath, const RunResult& run);

// An open statistics file for reading.
class StatisticsReader {
public:
    enum class Status { Ok, Missing, Damaged };

    // Missing: cannot be opened; Damaged: size 0 or not a multiple of 193.
    Status open(const QString& statisticsPath);
    void close();
    int recordCount() const { return count_; }
    // Record i (0-based) read within the file's current size; nothing when the file has
    // become shorter meanwhile.
    std::optional<StatisticsRecord> read(int i);
    // The raw bytes of up to count records from record first on, read in one call within
    // the file's current size; fewer (whole records only) when the file ends earlier.
    QByteArray readBlock(int first, int count);

    static QString message(Status status);  // the German message for Missing/Damaged

private:
    QFile file_;
    int count_ = 0;
};

// Called between blocks of records by the long scans below, so that a window can repaint.
using ScanProgress = std::function<void()>;

// What the statistics window shows of a file. fileName is the vocabulary file's name as a
// record stores it (trimmed); a file shortened while it is read ends the list.
// The lessons of that file's lesson runs, as stored (untrimmed), in order of first run.
QStringList StatisticsLessons(StatisticsReader& reader, const QString& fileName,
                              const ScanProgress& progress = {});
// The runs of that file in one lesson (trimmed; empty: the random runs), in file order.
QList<StatisticsRecord> MatchingStatisticsRecords(StatisticsReader& reader, const QString& fileName,
                                                  const QString& lesson,
                                                  const ScanProgress& progress = {});
