#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The archive component: packs files into a standard ZIP archive and unpacks one, on
// libzip. Both jobs run on the calling thread and report their progress through OnProgress;
// that is where the caller's window gets the chance to process its events, and where a
// cancel request set in between is noticed.

enum class ProgressType {
    NewFile = 0,             // FileName: the entry, "/" turned into "\"; FileSize: its size
    ProgressUpdate = 1,      // FileSize: bytes done since the last step
    EndOfBatch = 2,          // the job has ended, whatever its outcome
    TotalFiles2Process = 3,  // FileSize: number of files
    TotalSize2Process = 4,   // FileSize: number of bytes
};

enum class ExtrOption { ExtrOverWrite = 1 };
Q_DECLARE_FLAGS(ExtrOptionSet, ExtrOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(ExtrOptionSet)

class TZipBuilder {
public:
    // Codes of the messages handed to OnMessage.
    static constexpr int kPackFailure = 10101;
    static constexpr int kNoArchive = 10102;
    static constexpr int kNothingToPack = 10301;
    static constexpr int kUnpackFailure = 10501;

    using ProgressEvent =
        std::function<void(ProgressType kind, const QString& fileName, qint64 fileSize)>;
    using MessageEvent = std::function<void(int errCode, const QString& message)>;

    void SetFileName(const QString& archive) { zipFileName_ = archive; }
    QString ZipFileName() const { return zipFileName_; }

    // Full names of the files to pack; when unpacking, the names of the entries to unpack
    // (empty: all).
    QStringList FSpecArgs;
    // 0 stores, 1 to 9 deflate at that level.
    int AddCompLevel = 9;
    ExtrOptionSet ExtrOptions;
    // Set between two progress steps to stop the running job at the next one. Cleared
    // when a job starts.
    bool Cancel = false;

    ProgressEvent OnProgress;
    // Refused calls and failures. Without a handler they go unreported.
    MessageEvent OnMessage;

    // Packs FSpecArgs into a new archive ZipFileName at AddCompLevel, then empties
    // FSpecArgs. Each entry records its file's permission bits. The archive is written to a
    // temporary file beside it (beside the file it links to) and replaces it, synced, only
    // when packing succeeded; a failed or cancelled job leaves it as it was. Ignored while a
    // job runs.
    void Add();
    // Unpacks ZipFileName into the directory that holds it. Every entry lands there under
    // the last component of its name; directories, links and names that say nothing
    // ("", ".", "..") are skipped. An existing file is replaced, in one step, only with
    // ExtrOverWrite. A file gets the permission bits its entry records (read and write for
    // an entry without), limited by the umask. A cancelled or failed entry leaves no file
    // behind. Ignored while a job runs.
    void Extract();

    bool Busy() const { return busy_; }

private:
    friend class ZipJob;
    void Message(int code, const QString& text) const;
    void Progress(ProgressType kind, const QString& fileName, qint64 size) const;

    QString zipFileName_;
    bool busy_ = false;
};

// Where an archive entry of this name is unpacked to below a directory: the last
// component of the name, or nothing when that component is empty, "." or "..". "/"
// separates components everywhere; "\" in entries made on DOS, OS/2 or Windows (madeOnDos)
// and wherever the running system takes it as a separator; ":" only where the running
// system takes it as one (Windows). The rest of the name is kept as stored.
std::optional<QString> ExtractedFileName(const QString& entryName, bool madeOnDos = false);
