#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <vector>

class QIODevice;

// The HTML word list of a vocabulary file: the working list read from the file, its sort,
// and the page, all on bytes (Windows-1252, as the file stores them).

inline constexpr int kExportFieldWidth = 80;
inline constexpr int kExportFields = 3;  // lesson, German term, foreign term

enum class SortKey { Lesson, German, Foreign, None };

// Called with (done, total) as a phase moves on; the last call has done == total.
using ExportProgress = std::function<void(int done, int total)>;

// The entries' first three fields exactly as stored, 80 bytes each, in file order.
struct WorkingList {
    QByteArray title;   // the header's title field, 80 bytes
    QByteArray fields;  // count * 3 fields
    int count = 0;

    QByteArrayView field(int entry, int k) const
    {
        return QByteArrayView(fields).sliced(
            (qsizetype(entry) * kExportFields + k) * kExportFieldWidth, kExportFieldWidth);
    }
};

// Windows-1252 lower case of one byte, as Windows maps single-byte text.
unsigned char AnsiLowerByte(unsigned char b);

// The sort keys of the chosen field, one after the other, kExportFieldWidth bytes each: the
// stored text up to its first NUL (the rest zeroed, so a cut text sorts before any longer
// one), lower-cased once here when case is to be ignored.
QByteArray SortKeys(const WorkingList& list, SortKey key, bool caseSensitive);

// The order in which an exchange sort leaves n keys of `width` bytes (compared as unsigned
// bytes): for i = 0..n-1, for j = i..n-1, swap i and j when key j < key i. Produced in
// O(n log n); entries with equal keys come out exactly as that sort leaves them.
// Returns the original indices in sorted order.
std::vector<int> ExchangeSortOrder(QByteArrayView keys, qsizetype width,
                                   const ExportProgress& progress = {});

// Replaces each character that has an HTML entity by the entity. Bytes are
// Windows-1252; characters outside it (possible in a file name) become numeric references.
QByteArray EscapeHtml(QByteArrayView text);
QByteArray EscapeHtml(const QString& text);

// A field as a cell or title: cut at the first NUL, blanks and control characters
// removed at both ends, then escaped.
QByteArray CellText(QByteArrayView field);

struct PageOptions {
    bool coloured = true;
    bool framed = false;
    QString fileName;  // shown as the converted file
    QString date;      // today in the short date format
};

// Writes the page for the entries in this order; progress(k, n) before row k.
// Returns false when a write failed.
bool WritePage(QIODevice& out, const WorkingList& list, const std::vector<int>& order,
               const PageOptions& options, const ExportProgress& progress = {});

enum class ExportResult { Written, Missing, BadFormat, WriteFailed };

struct ExportRequest {
    QString vocabularyPath;
    QString htmlPath;
    SortKey sortKey = SortKey::Lesson;
    bool caseSensitive = true;
    PageOptions page;
};

struct ExportObserver {
    std::function<void()> reading;
    ExportProgress sorting;
    ExportProgress saving;
};

// Reads the vocabulary file into a working list: Written when it was read whole, Missing
// when it cannot be opened or read, BadFormat when its size is no longer that of a file
// with entries.
ExportResult ReadWorkingList(const QString& path, WorkingList& list);

// The whole export: read, sort, write the page to a temporary file and move it over the
// HTML file, so an existing page is replaced only by a complete one.
ExportResult ExportVocabularyList(const ExportRequest& request,
                                  const ExportObserver& observer = {});
