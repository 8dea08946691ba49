#pragma once

#include "WordList.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QIODevice;
class DelimitedParser;
class KvtmlReader;
struct AnkiHeader;

// Reading a word list into vocabulary entries: the format found by content, a preview, the
// counts of what fits and what does not, and the import into a new vocabulary file or onto
// the end of an existing one. Memory stays bounded for files of any size: rows pass one at
// a time.

// How a list file is read.
struct ListSettings {
    ListFormat format = ListFormat::Csv;
    TextEncoding encoding = TextEncoding::Utf8;
    QChar separator = QLatin1Char(';');  // CSV; Anki text without "#separator:"
    bool columnNamesRow = false;         // CSV: the first row names the columns
    bool operator==(const ListSettings&) const = default;
};

struct ImportSettings {
    ListSettings list;
    ColumnMapping mapping;
    QString defaultLesson;  // the lesson of rows and entries that name none
};

struct ListDetection {
    QString error;  // a German message when the file is no word list
    ListSettings settings;
};

// The format, encoding, separator and header row a file's content shows. The device's
// position stays where it was.
ListDetection DetectList(QIODevice& device);
ListDetection DetectListFile(const QString& path);

// The rows of a list in any of the formats, one at a time.
class ListReader {
public:
    ListReader(QIODevice& device, const ListSettings& settings);
    ~ListReader();
    ListReader(const ListReader&) = delete;
    ListReader& operator=(const ListReader&) = delete;

    // Reads what precedes the rows (the column names row, Anki's header lines, a KVTML
    // file's first pass). False with error() set when the file cannot be read.
    bool start(const ExchangeProgress& progress = {});
    // The next row's cells; false at the end, or with error() set on a failure.
    bool next(QStringList& row);

    const QString& error() const { return error_; }
    // The names the file gives its columns (empty where it gives none).
    QStringList columnNames() const;
    ColumnMapping suggestedMapping(int columns) const;
    // Title, author and remarks where the format has a place for them.
    VocabularyHeader header() const;
    // A lesson the file names for all its rows (Anki's "#deck:").
    QString fileLesson() const;
    int permille() const;

private:
    QIODevice& device_;
    ListSettings settings_;
    std::unique_ptr<DelimitedParser> parser_;
    std::unique_ptr<KvtmlReader> kvtml_;
    std::unique_ptr<AnkiHeader> anki_;
    QStringList names_;
    QStringList pending_;  // the first row, read while looking for header lines
    bool hasPending_ = false;
    QString error_;
};

struct ListPreview {
    QString error;
    QStringList columnNames;  // as the file names them, "" where it does not
    int columns = 0;
    QList<QStringList> rows;
    ColumnMapping mapping;
    QString fileLesson;
};

// The first rows and the suggested mapping. Reads a KVTML file whole (its lessons follow
// the entries).
ListPreview ReadPreview(QIODevice& device, const ListSettings& settings, int rows = 20,
                        const ExchangeProgress& progress = {});

// Everything an import needs, from the file alone: the detected settings, the suggested
// mapping, and as default lesson the one the file names (Anki's "#deck:") or the file's name.
struct DetectedImport {
    QString error;
    ImportSettings settings;
};
DetectedImport DetectImport(const QString& path, const ExchangeProgress& progress = {});

enum class RowKind { Empty, Refused, Entry };
struct ImportedRow {
    RowKind kind = RowKind::Empty;
    VocabularyEntry entry;
    bool cut = false;
    bool replaced = false;
};

// One row as an entry: empty (every cell blank), refused (no German or no foreign term), or
// an entry made fit for the file, with the default lesson where it has none.
ImportedRow RowToEntry(const QStringList& row, const ColumnMapping& mapping,
                       const QString& defaultLesson);

struct ImportCounts {
    qint64 entries = 0;   // entries that go into the file
    qint64 empty = 0;     // rows skipped because they are empty
    qint64 refused = 0;   // rows without German or foreign term
    qint64 cut = 0;       // entries with a field too long
    qint64 replaced = 0;  // entries with characters outside Windows-1252 or line breaks
    bool headerCut = false;
    bool headerReplaced = false;

    bool needsFitting() const { return cut > 0 || replaced > 0 || headerCut || headerReplaced; }
    bool operator==(const ImportCounts&) const = default;
};

enum class TargetMode { NewFile, Append };

struct ImportTarget {
    QString path;
    TargetMode mode = TargetMode::NewFile;
    // NewFile: the user agreed to replace a file of that name. Without it a file that has
    // appeared meanwhile stays untouched and the import fails.
    bool replaceExisting = false;
    // Append: the entry count the file had when the user chose it; another count means
    // that something else changed it, and nothing is appended. -1 leaves it unchecked.
    int expectedEntries = -1;
    // Append: the file as the editor holds it open (and locked), written through that
    // handle and its length taken as known afterwards; nullptr opens path.
    VocabularyFile* openFile = nullptr;
};

struct ImportResult {
    QString error;  // German; empty when it worked
    ImportCounts counts;
    VocabularyHeader header;  // the list's header, fitted
    bool ok() const { return error.isEmpty(); }
};

// The most entries a vocabulary file can number (positions are 32-bit).
inline constexpr qint64 kMaxVocabularyEntries = 0x7FFFFFFF / kRecordSize - 1;

// Counts what an import would write, writing nothing. The header counts only for a new
// file (appending leaves the target's header alone).
ImportResult CountImport(QIODevice& source, const ImportSettings& settings,
                         TargetMode mode = TargetMode::NewFile,
                         const ExchangeProgress& progress = {});

// Writes the entries into the target. Without fittingAccepted an entry that needs cutting
// or replacing ends the import with nothing written (the source changed since it was
// counted). A failure leaves no new file and an appended-to file as it was.
ImportResult ImportList(QIODevice& source, const ImportSettings& settings,
                        const ImportTarget& target, bool fittingAccepted,
                        const ExchangeProgress& progress = {});

// The same, reading the list file at path.
ImportResult CountImportFile(const QString& source, const ImportSettings& settings,
                             TargetMode mode = TargetMode::NewFile,
                             const ExchangeProgress& progress = {});
ImportResult ImportListFile(const QString& source, const ImportSettings& settings,
                            const ImportTarget& target, bool fittingAccepted,
                            const ExchangeProgress& progress = {});

// The counts in words, one sentence a line: what an import will do, or (done) what it did.
QString CountsText(const ImportCounts& counts, bool done = false);
// The question before an import that cuts or replaces (Yes: cut and replace, No: cancel).
QString FittingQuestion(const ImportCounts& counts);
