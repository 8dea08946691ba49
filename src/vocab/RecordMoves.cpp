#include "RecordMoves.h"

#include "app/FileNames.h"
#include "app/FileSync.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <system_error>

// Records are moved in blocks. A block is never written over bytes that stand nowhere
// else: moving up, a block is first copied to scratch records beyond the end of the file;
// moving down, the block is written front to back, so each record's old place is
// overwritten only after the record already stands one place lower. The scratch records
// are cut off at the end.

namespace {

constexpr int kBlockRecords = 2048;  // 800 KB per read and write

RecordMoveFaults g_faults;
int g_writesLeft = -1;
bool g_stopped = false;

int BlockRecords()
{
    return g_faults.blockRecords > 0 ? g_faults.blockRecords : kBlockRecords;
}

constexpr qint64 Pos(qint64 record)
{
    return record * kRecordSize;
}

qint64 RecordCount(VocabularyFile& file)
{
    return file.size() / kRecordSize;
}

// Takes one step from the write budget; false once the moves have been stopped.
bool PermitStep()
{
    if (g_stopped)
        return false;
    if (g_writesLeft == 0) {
        g_stopped = true;
        return false;
    }
    if (g_writesLeft > 0)
        --g_writesLeft;
    return true;
}

bool WriteAt(QFileDevice& device, qint64 pos, const QByteArray& bytes)
{
    if (g_stopped || !device.seek(pos))
        return false;
    if (g_writesLeft == 0) {
        // The interrupted write: only its first half reaches the file.
        g_stopped = true;
        device.write(bytes.constData(), bytes.size() / 2);
        return false;
    }
    if (!PermitStep())
        return false;
    const qint64 oldSize = device.size();
    if (device.write(bytes) == bytes.size())
        return true;
    // A write that grew the file in part (disk full) must not leave a size that is no
    // multiple of 400: such a file would no longer open.
    if (device.size() > oldSize)
        device.resize(oldSize);
    return false;
}

bool WriteRecords(VocabularyFile& file, qint64 first, const QByteArray& bytes)
{
    return WriteAt(file.device(), Pos(first), bytes);
}

std::optional<QByteArray> ReadRecords(VocabularyFile& file, qint64 first, qint64 count)
{
    QFile& device = file.device();
    if (!device.seek(Pos(first)))
        return std::nullopt;
    QByteArray bytes = device.read(Pos(count));
    if (bytes.size() != Pos(count))
        return std::nullopt;
    return bytes;
}

// Waits until the records written so far are on the disk: a commit point, after which the
// bytes they copied may be overwritten even if the power fails.
bool Flush(VocabularyFile& file)
{
    return !g_stopped && SyncFile(file.device());
}

// Cuts off the scratch records.
bool Truncate(VocabularyFile& file, qint64 records)
{
    return PermitStep() && file.device().resize(Pos(records));
}

// Copies records first..last of the file to the end of out.
bool CopyRecords(VocabularyFile& file, int first, int last, QFile& out)
{
    for (int from = first; from <= last; from += BlockRecords()) {
        const int count = std::min(BlockRecords(), last - from + 1);
        const auto bytes = ReadRecords(file, from, count);
        if (!bytes || !WriteAt(out, out.size(), *bytes))
            return false;
    }
    return true;
}

// Moves the temporary file over the vocabulary file in one step.
bool ReplaceFile(const QString& from, const QString& to)
{
    if (g_faults.failReplace || !PermitStep())
        return false;
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), error);
    return !error;
}

bool ValidRange(VocabularyFile& file, int current, int last)
{
    return file.isOpen() && current >= 1 && current <= last && file.entryCount() >= last;
}

// The length a move leaves the file at is the one this program knows, also after a
// failed move.
class SizeNote {
public:
    explicit SizeNote(VocabularyFile& file) : file_(file) {}
    ~SizeNote()
    {
        if (file_.isOpen())
            file_.rememberSize();
    }
    SizeNote(const SizeNote&) = delete;
    SizeNote& operator=(const SizeNote&) = delete;

private:
    VocabularyFile& file_;
};

constexpr int kTemporaryNames = 100;

// Creates the temporary file beside `target` under a name nothing has: created
// exclusively, so never through a link and never over a file that is there already (a
// stale one or the user's own). The usual name first, then numbered ones.
bool CreateTemporaryFile(const QString& target, QFile& tmp)
{
    for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
        tmp.setFileName(TemporaryFilePath(target, attempt));
        if (tmp.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        // Any other failure than a name that is taken will not go away with another name.
        const QFileInfo taken(tmp.fileName());
        if (!taken.exists() && !taken.isSymLink())
            return false;
    }
    return false;
}

}  // namespace

QString TemporaryFilePath(const QString& vocabularyPath, int attempt)
{
    if (attempt > 0)
        return ReplaceExtension(vocabularyPath, QStringLiteral(".%1.tmp").arg(attempt));
    const QString path = ReplaceExtension(vocabularyPath, QStringLiteral(".tmp"));
    // A vocabulary file that itself ends in ".tmp" must not be emptied as its own
    // temporary file.
    if (path.compare(vocabularyPath, Qt::CaseInsensitive) == 0)
        return vocabularyPath + QStringLiteral(".tmp");
    return path;
}

bool AppendBlankRecord(VocabularyFile& file, int p)
{
    if (!file.isOpen() || p < 1 || p > RecordCount(file))
        return false;
    const SizeNote note(file);
    return WriteRecords(file, p, QByteArray(kRecordSize, ' '));
}

bool SwapRecords(VocabularyFile& file, int i, int j)
{
    const qint64 records = RecordCount(file);
    if (!file.isOpen() || i < 1 || j < 1 || i >= records || j >= records)
        return false;
    const auto a = ReadRecords(file, i, 1);
    const auto b = ReadRecords(file, j, 1);
    if (!a || !b)
        return false;
    const SizeNote note(file);
    // Record i also stands beyond the end while its place holds record j.
    return WriteRecords(file, records, *a) && Flush(file) && WriteRecords(file, i, *b) &&
           WriteRecords(file, j, *a) && Flush(file) && Truncate(file, records);
}

bool InsertBlankRecord(VocabularyFile& file, int current, int last)
{
    if (!ValidRange(file, current, last) || !AppendBlankRecord(file, last + 1))
        return false;
    const SizeNote note(file);
    const qint64 scratch = RecordCount(file);
    for (int top = last; top >= current; top -= BlockRecords()) {
        const int first = std::max(current, top - BlockRecords() + 1);
        const auto block = ReadRecords(file, first, top - first + 1);
        if (!block || !WriteRecords(file, scratch, *block) || !Flush(file) ||
            !WriteRecords(file, first + 1, *block) || !Flush(file))
            return false;
    }
    return WriteRecords(file, current, QByteArray(kRecordSize, ' ')) &&
           Truncate(file, scratch);
}

DeleteResult DeleteRecord(VocabularyFile& file, int current, int last)
{
    if (!ValidRange(file, current, last))
        return DeleteResult::NotReplaced;
    if (file.changedElsewhere())
        return DeleteResult::Changed;
    const QString path = file.path();
    // A list reached through a link stays one: the shortened file goes beside the file the
    // link names and replaces that one.
    const QString target = QFileInfo(path).canonicalFilePath();

    // The shortened file is built beside the old one; the old one stays untouched until
    // the new one takes its name. Records beyond `last` are left behind.
    if (target.isEmpty()) {
        file.close();
        return DeleteResult::Missing;
    }
    QFile tmp;
    if (!CreateTemporaryFile(target, tmp))
        return DeleteResult::TempNotCreated;
    // The permissions come from the open file itself (its name may be gone); the owner
    // keeps at least the reading and writing a new file gives him.
    tmp.setPermissions(file.device().permissions() |
                       (tmp.permissions() & (QFile::ReadOwner | QFile::WriteOwner)));
    bool written = CopyRecords(file, 0, current - 1, tmp) &&
                   CopyRecords(file, current + 1, last, tmp) && SyncFile(tmp);
    tmp.close();
    written = written && tmp.error() == QFileDevice::NoError;
    if (!written) {
        tmp.remove();
        return DeleteResult::TempNotCreated;
    }

    // Closed while it is replaced: some systems cannot rename over an open file.
    file.close();
    // Only an existing file is replaced: one removed meanwhile is not brought back.
    if (!QFile::exists(target)) {
        tmp.remove();
        return DeleteResult::Missing;
    }
    const bool replaced = ReplaceFile(tmp.fileName(), target);
    if (!replaced)
        tmp.remove();
    // Open (and locked) again at once, before another window can take the file.
    file.open(path, VocabularyFile::Access::ReadWrite);
    // The new name on the disk too. Done is done: a failure here cannot be taken back.
    if (replaced)
        SyncDirectory(QFileInfo(target).absolutePath());
    return replaced ? DeleteResult::Deleted : DeleteResult::NotReplaced;
}

QString DeleteMessage(DeleteResult result)
{
    switch (result) {
    case DeleteResult::TempNotCreated:
        return QStringLiteral(
            "Fehler beim Erzeugen einer temporären Datei. Konnte Eintrag nicht löschen!");
    case DeleteResult::NotReplaced:
        return QStringLiteral("Eintrag konnte nicht gelöscht werden.");
    case DeleteResult::Missing:
        return QStringLiteral("Die Datei existiert nicht mehr!");
    case DeleteResult::Changed: return ChangedElsewhereMessage();
    case DeleteResult::Deleted:
        break;
    }
    return QString();
}

void SetRecordMoveFaults(const RecordMoveFaults& faults)
{
    g_faults = faults;
    g_writesLeft = faults.writeBudget;
    g_stopped = false;
}
