#include "ZipBuilder.h"

#include "app/FileNames.h"
#include "app/FileSync.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <zip.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace {

// Progress steps and event processing at most this often: often enough for a moving bar
// and a responsive cancel button, rarely enough to cost nothing measurable.
constexpr qint64 kStepMs = 25;
constexpr qint64 kReadChunk = 256 * 1024;

QByteArray NativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return path.toUtf8();  // libzip takes UTF-8 names on Windows
#else
    return QFile::encodeName(path);
#endif
}

// libzip's error codes in the program's language.
QString ZipErrorText(int code)
{
    switch (code) {
    case ZIP_ER_MULTIDISK: return QStringLiteral("Mehrteilige Archive werden nicht unterstützt.");
    case ZIP_ER_RENAME: return QStringLiteral("Die temporäre Datei kann nicht umbenannt werden.");
    case ZIP_ER_CLOSE: return QStringLiteral("Das Archiv kann nicht geschlossen werden.");
    case ZIP_ER_SEEK: return QStringLiteral("Positionierfehler.");
    case ZIP_ER_READ: return QStringLiteral("Lesefehler.");
    case ZIP_ER_WRITE: return QStringLiteral("Schreibfehler.");
    case ZIP_ER_CRC: return QStringLiteral("Prüfsummenfehler.");
    case ZIP_ER_NOENT: return QStringLiteral("Die Datei existiert nicht.");
    case ZIP_ER_EXISTS: return QStringLiteral("Die Datei existiert bereits.");
    case ZIP_ER_OPEN: return QStringLiteral("Die Datei kann nicht geöffnet werden.");
    case ZIP_ER_TMPOPEN: return QStringLiteral("Die temporäre Datei kann nicht angelegt werden.");
    case ZIP_ER_ZLIB: return QStringLiteral("Fehler beim Packen oder Entpacken der Daten.");
    case ZIP_ER_MEMORY: return QStringLiteral("Nicht genügend Arbeitsspeicher.");
    case ZIP_ER_COMPNOTSUPP:
        return QStringLiteral("Das Komprimierungsverfahren wird nicht unterstützt.");
    case ZIP_ER_EOF: return QStringLiteral("Unerwartetes Dateiende.");
    case ZIP_ER_NOZIP: return QStringLiteral("Die Datei ist kein ZIP-Archiv.");
    case ZIP_ER_INCONS: return QStringLiteral("Das Archiv ist beschädigt.");
    case ZIP_ER_REMOVE: return QStringLiteral("Die Datei kann nicht gelöscht werden.");
    case ZIP_ER_ENCRNOTSUPP:
        return QStringLiteral("Das Verschlüsselungsverfahren wird nicht unterstützt.");
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD: return QStringLiteral("Das Archiv ist verschlüsselt.");
    case ZIP_ER_COMPRESSED_DATA: return QStringLiteral("Die gepackten Daten sind ungültig.");
    case ZIP_ER_CANCELLED: return QStringLiteral("Abgebrochen.");
    default: return QStringLiteral("Interner Fehler der ZIP-Bibliothek (%1).").arg(code);
    }
}

struct ZipDiscard {
    void operator()(zip_t* za) const { zip_discard(za); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipDiscard>;

struct ZipFileClose {
    void operator()(zip_file_t* zf) const { zip_fclose(zf); }
};
using ZipFileHandle = std::unique_ptr<zip_file_t, ZipFileClose>;

// Marks the component busy for as long as it lives, also when an event handler throws.
struct BusyGuard {
    explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }
    bool& flag_;
};

bool CaseInsensitiveFileSystem()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    return false;
#endif
}

// Whether something (a file, a directory, a link, even a dangling one) has this name.
bool NameTaken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Unix permission bits and Qt's permissions, both ways (the owner's bits for the user's).
int ModeOf(QFileDevice::Permissions permissions)
{
    const int p = permissions.toInt();
    return ((p >> 12) & 7) << 6 | ((p >> 4) & 7) << 3 | (p & 7);
}
QFileDevice::Permissions PermissionsOf(int mode)
{
    const int owner = (mode >> 6) & 7;
    return QFileDevice::Permissions::fromInt(owner << 12 | owner << 8 | ((mode >> 3) & 7) << 4 |
                                             (mode & 7));
}

// A file of our own in a directory, created under a name nothing has (never through a
// link), with the permissions asked for as far as the umask allows. Removed again unless
// it was moved into place.
class TemporaryFile {
public:
    ~TemporaryFile() { discard(); }
    QFile& file() { return file_; }
    bool create(const QString& dir, QFileDevice::Permissions permissions)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            file_.setFileName(
                dir + QStringLiteral("/lk-%1.tmp")
                          .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
            if (file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered,
                           permissions)) {
                created_ = true;
                return true;
            }
            if (!NameTaken(file_.fileName()))
                return false;
        }
        return false;
    }
    // Replaces whatever has the name target (a file, or a link itself) in one step.
    bool moveOver(const QString& target)
    {
        file_.close();
        std::error_code ec;
        std::filesystem::rename(std::filesystem::path(file_.fileName().toStdU16String()),
                                std::filesystem::path(target.toStdU16String()), ec);
        created_ = created_ && ec;
        return !ec;
    }
    // Takes the name target only when nothing has it.
    bool moveTo(const QString& target)
    {
        const bool moved = file_.rename(target);
        created_ = created_ && !moved;
        return moved;
    }
    void discard()
    {
        if (!created_)
            return;
        file_.close();
        QFile::remove(file_.fileName());
        created_ = false;
    }

private:
    QFile file_;
    bool created_ = false;
};

}  // namespace

std::optional<QString> ExtractedFileName(const QString& entryName, bool madeOnDos)
{
#ifdef Q_OS_WIN
    Q_UNUSED(madeOnDos);
    const bool backslash = true;
    const bool colon = true;
#else
    const bool backslash = madeOnDos;
    const bool colon = false;
#endif
    qsizetype sep = entryName.lastIndexOf(QLatin1Char('/'));
    if (backslash)
        sep = std::max(sep, entryName.lastIndexOf(QLatin1Char('\\')));
    if (colon)
        sep = std::max(sep, entryName.lastIndexOf(QLatin1Char(':')));
    const QString name = entryName.mid(sep + 1);
    // Only dots and blanks: ".", "..", or what Windows trims down to them.
    bool meaningful = false;
    for (QChar c : name)
        meaningful = meaningful || (c != QLatin1Char('.') && c != QLatin1Char(' '));
    if (!meaningful)
        return std::nullopt;
    return name;
}

// One running Add or Extract: counts the bytes, raises the progress steps, lets the
// application process its events and notices the cancel request.
class ZipJob {
public:
    explicit ZipJob(TZipBuilder& owner) : owner_(owner) { clock_.start(); }

    TZipBuilder& owner() { return owner_; }
    bool cancelled() const { return owner_.Cancel; }
    void progress(ProgressType kind, const QString& name, qint64 size)
    {
        owner_.Progress(kind, name, size);
    }

    // Bytes done; a step is raised when kStepMs have passed or a file is complete.
    void bytesDone(qint64 bytes, bool fileComplete)
    {
        pending_ += bytes;
        if (!fileComplete && clock_.elapsed() < kStepMs)
            return;
        progress(ProgressType::ProgressUpdate, QString(), pending_);
        pending_ = 0;
        clock_.restart();
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }

    // The first failure wins; its text becomes the second line of the message.
    void fail(const QString& reason)
    {
        if (failure_.isEmpty())
            failure_ = reason;
    }
    void report(int code, const QString& heading)
    {
        if (!cancelled())
            owner_.Message(code, heading + QLatin1Char('\n') + failure_);
    }
    bool failed() const { return !failure_.isEmpty(); }

private:
    TZipBuilder& owner_;
    QElapsedTimer clock_;
    qint64 pending_ = 0;
    QString failure_;
};

namespace {

// ---- packing ------------------------------------------------------------------------

// A file handed to libzip through our own source, so that the bytes are counted as they
// are read and a cancel request stops the reading.
struct PackSource {
    ZipJob* job;
    QString path;
    QString entryName;
    qint64 size;
    QDateTime modified;
    int mode;  // the file's permission bits
    QFile file;
    zip_error_t error;
};

zip_int64_t PackSourceCallback(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd)
{
    auto* s = static_cast<PackSource*>(state);
    const auto failWith = [s](int code, const QString& reason) -> zip_int64_t {
        zip_error_set(&s->error, code, 0);
        if (code != ZIP_ER_CANCELLED)
            s->job->fail(reason);
        return -1;
    };
    switch (cmd) {
    case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_READABLE;
    case ZIP_SOURCE_OPEN:
        if (s->job->cancelled())
            return failWith(ZIP_ER_CANCELLED, {});
        s->file.setFileName(s->path);
        if (!s->file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return failWith(ZIP_ER_OPEN, QStringLiteral("Die Datei %1 kann nicht gelesen werden.")
                                             .arg(QDir::toNativeSeparators(s->path)));
        s->job->progress(ProgressType::NewFile, s->entryName, s->size);
        return 0;
    case ZIP_SOURCE_READ: {
        if (s->job->cancelled())
            return failWith(ZIP_ER_CANCELLED, {});
        const qint64 n =
            s->file.read(static_cast<char*>(data), qint64(std::min<zip_uint64_t>(len, kReadChunk)));
        if (n < 0)
            return failWith(ZIP_ER_READ, QStringLiteral("Fehler beim Lesen der Datei %1.")
                                             .arg(QDir::toNativeSeparators(s->path)));
        s->job->bytesDone(n, n == 0);
        // Also after the last bytes: libzip moves the archive into place only afterwards.
        if (s->job->cancelled())
            return failWith(ZIP_ER_CANCELLED, {});
        return n;
    }
    case ZIP_SOURCE_CLOSE: s->file.close(); return 0;
    case ZIP_SOURCE_STAT: {
        auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &s->error);
        if (!st)
            return -1;
        zip_stat_init(st);
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        st->size = zip_uint64_t(s->size);
        st->mtime = time_t(s->modified.toSecsSinceEpoch());
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&s->error, data, len);
    case ZIP_SOURCE_FREE: return 0;  // the job owns the state
    default: zip_error_set(&s->error, ZIP_ER_OPNOTSUPP, 0); return -1;
    }
}

// Where libzip writes the archive: a temporary file of our own beside the archive (beside
// the file the archive's name links to), on the disk before it takes the archive's name
// and the name after it, so that a power loss leaves the old archive or the new one whole.
struct ArchiveOutput {
    QString target;  // the archive, links resolved
    TemporaryFile temp;
    zip_error_t error;
};

zip_int64_t ArchiveOutputCallback(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd)
{
    auto* out = static_cast<ArchiveOutput*>(state);
    QFile& file = out->temp.file();
    const auto failWith = [out](int code) -> zip_int64_t {
        zip_error_set(&out->error, code, 0);
        return -1;
    };
    switch (cmd) {
    case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_WRITABLE;
    case ZIP_SOURCE_STAT:
        // A new archive every time: an old one is never read, only replaced.
        zip_error_set(&out->error, ZIP_ER_READ, ENOENT);
        return -1;
    case ZIP_SOURCE_BEGIN_WRITE: {
        // An old archive's permissions stay; a new one gets read and write as far as the
        // umask allows.
        const QFileInfo old(out->target);
        const QFileDevice::Permissions permissions =
            old.exists() ? old.permissions() : PermissionsOf(0666);
        if (!out->temp.create(old.absolutePath(), permissions))
            return failWith(ZIP_ER_TMPOPEN);
        if (old.exists())
            file.setPermissions(permissions);
        return 0;
    }
    case ZIP_SOURCE_WRITE:
        return file.write(static_cast<const char*>(data), qint64(len)) == qint64(len)
                   ? zip_int64_t(len)
                   : failWith(ZIP_ER_WRITE);
    case ZIP_SOURCE_SEEK_WRITE: {
        const zip_int64_t pos = zip_source_seek_compute_offset(
            zip_uint64_t(file.pos()), zip_uint64_t(file.size()), data, len, &out->error);
        if (pos < 0)
            return -1;
        return file.seek(pos) ? 0 : failWith(ZIP_ER_SEEK);
    }
    case ZIP_SOURCE_TELL_WRITE: return file.pos();
    case ZIP_SOURCE_COMMIT_WRITE:
        if (!SyncFile(file))
            return failWith(ZIP_ER_WRITE);
        if (!out->temp.moveOver(out->target))
            return failWith(ZIP_ER_RENAME);
        SyncDirectory(QFileInfo(out->target).absolutePath());
        return 0;
    case ZIP_SOURCE_ROLLBACK_WRITE: out->temp.discard(); return 0;
    case ZIP_SOURCE_REMOVE: return failWith(ZIP_ER_REMOVE);  // an archive is only replaced
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&out->error, data, len);
    case ZIP_SOURCE_FREE: return 0;  // the job owns the state
    default: return failWith(ZIP_ER_OPNOTSUPP);
    }
}

void Pack(ZipJob& job)
{
    TZipBuilder& zb = job.owner();
    const int level = std::clamp(zb.AddCompLevel, 0, 9);

    // Declared before the archive handle: libzip frees the sources when it lets go of them.
    std::vector<std::unique_ptr<PackSource>> sources;
    ArchiveOutput output;
    output.target = ResolveLinks(zb.ZipFileName());
    zip_error_init(&output.error);
    qint64 totalBytes = 0;
    for (const QString& path : std::as_const(zb.FSpecArgs)) {
        const QFileInfo info(path);
        if (!info.isFile()) {
            job.fail(QStringLiteral("Die Datei %1 existiert nicht.")
                         .arg(QDir::toNativeSeparators(path)));
            break;
        }
        // An archive name linking to the file would put the archive in the file's place.
        if (info == QFileInfo(output.target)) {
            job.fail(QStringLiteral("Die Datei %1 kann nicht in sich selbst gepackt werden.")
                         .arg(QDir::toNativeSeparators(path)));
            break;
        }
        auto s = std::make_unique<PackSource>();
        s->job = &job;
        s->path = path;
        s->entryName = FileNamePart(QDir::fromNativeSeparators(path));
        s->size = info.size();
        s->modified = info.lastModified();
        s->mode = ModeOf(info.permissions());
        zip_error_init(&s->error);
        totalBytes += s->size;
        sources.push_back(std::move(s));
    }
    if (job.failed())
        return job.report(TZipBuilder::kPackFailure,
                          QStringLiteral("Fataler Fehler in ZipDLL.DLL: Abbruch"));

    job.progress(ProgressType::TotalFiles2Process, QString(), qint64(sources.size()));
    job.progress(ProgressType::TotalSize2Process, QString(), totalBytes);

    zip_error_t openError;
    zip_error_init(&openError);
    zip_source_t* archive = zip_source_function_create(ArchiveOutputCallback, &output, &openError);
    ZipHandle za(archive ? zip_open_from_source(archive, ZIP_CREATE | ZIP_TRUNCATE, &openError)
                         : nullptr);
    if (!za) {
        if (archive)
            zip_source_free(archive);
        job.fail(ZipErrorText(zip_error_code_zip(&openError)));
    } else {
        for (const auto& s : sources) {
            zip_source_t* source = zip_source_function(za.get(), PackSourceCallback, s.get());
            const zip_int64_t index =
                source ? zip_file_add(za.get(), s->entryName.toUtf8().constData(), source,
                                      ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE)
                       : -1;
            if (index < 0) {
                if (source)
                    zip_source_free(source);
                job.fail(ZipErrorText(zip_error_code_zip(zip_get_error(za.get()))));
                break;
            }
            zip_set_file_compression(za.get(), zip_uint64_t(index),
                                     level == 0 ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                     zip_uint32_t(level));
            // The file's kind and permission bits, as the packers of its system record them.
#ifdef Q_OS_WIN
            const zip_uint32_t attributes = (s->mode & 0200) ? 0x20 : 0x21;  // read-only?
            zip_file_set_external_attributes(za.get(), zip_uint64_t(index), 0, ZIP_OPSYS_DOS,
                                             attributes);
#else
            zip_file_set_external_attributes(za.get(), zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             zip_uint32_t(0100000 | s->mode) << 16);
#endif
        }
        if (!job.failed()) {
            if (zip_close(za.get()) == 0)
                (void)za.release();
            else
                job.fail(ZipErrorText(zip_error_code_zip(zip_get_error(za.get()))));
        }
    }
    zip_error_fini(&openError);
    if (job.failed())
        job.report(TZipBuilder::kPackFailure,
                   QStringLiteral("Fataler Fehler in ZipDLL.DLL: Abbruch"));
}

// ---- unpacking ----------------------------------------------------------------------

struct PlannedEntry {
    zip_uint64_t index;
    QString storedName;
    QString target;  // full path below the archive's directory
    qint64 size;
    QDateTime modified;
    int mode;  // permission bits, before the umask
};

// What an entry's stored attributes say: only plain files are unpacked.
struct EntryKind {
    bool plainFile = false;
    bool madeOnDos = false;
    int mode = 0666;
};

EntryKind KindOf(zip_t* za, zip_uint64_t index)
{
    EntryKind kind;
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(za, index, 0, &system, &attributes) != 0)
        return kind;
    if (system == ZIP_OPSYS_UNIX || system == ZIP_OPSYS_OS_X) {
        const zip_uint32_t mode = attributes >> 16;
        kind.plainFile = (mode & 0170000) == 0 || (mode & 0170000) == 0100000;
        // All bits zero: nothing was recorded.
        if (mode != 0)
            kind.mode = int(mode & 0777);
        return kind;
    }
    kind.plainFile = (attributes & 0x10) == 0;  // the DOS directory bit
    kind.madeOnDos =
        system == ZIP_OPSYS_DOS || system == ZIP_OPSYS_OS_2 || system == ZIP_OPSYS_VFAT;
    if (attributes & 0x01)  // read-only
        kind.mode = 0444;
    return kind;
}

std::vector<PlannedEntry> PlanExtraction(zip_t* za, const TZipBuilder& zb, const QString& dir,
                                         bool overwrite)
{
    QStringList wanted;
    for (const QString& name : zb.FSpecArgs)
        wanted << FileNamePart(QDir::fromNativeSeparators(name));
    const Qt::CaseSensitivity cs =
        CaseInsensitiveFileSystem() ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const QString archiveName = QFileInfo(zb.ZipFileName()).fileName();

    std::vector<PlannedEntry> plan;
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = zip_uint64_t(i);
        const char* raw = zip_get_name(za, index, ZIP_FL_ENC_GUESS);
        zip_stat_t st;
        const EntryKind kind = KindOf(za, index);
        if (!raw || zip_stat_index(za, index, 0, &st) != 0 || !kind.plainFile)
            continue;
        const QString stored = QString::fromUtf8(raw);
        const std::optional<QString> name = ExtractedFileName(stored, kind.madeOnDos);
        if (!name || (!wanted.isEmpty() && !wanted.contains(*name, cs)))
            continue;
        // The archive itself is never replaced by one of its entries.
        if (name->compare(archiveName, cs) == 0)
            continue;
        const QString target = dir + QLatin1Char('/') + *name;
        const QFileInfo existing(target);
        if (existing.isDir() && !existing.isSymLink())
            continue;
        if (!overwrite && NameTaken(target))
            continue;
        const qint64 size = (st.valid & ZIP_STAT_SIZE)
                                ? qint64(std::min<zip_uint64_t>(st.size, zip_uint64_t(1) << 62))
                                : 0;
        const QDateTime modified = (st.valid & ZIP_STAT_MTIME)
                                       ? QDateTime::fromSecsSinceEpoch(qint64(st.mtime))
                                       : QDateTime();
        plan.push_back({index, stored, target, size, modified, kind.mode});
    }
    return plan;
}

// Unpacks one entry into a temporary file beside its target and moves it there when
// complete. Returns false when the job must stop (a failure or the cancel request).
bool ExtractEntry(ZipJob& job, zip_t* za, const PlannedEntry& entry, const QString& dir,
                  bool overwrite, QByteArray& buffer)
{
    const QString shown = QDir::toNativeSeparators(entry.target);
    job.progress(ProgressType::NewFile, QString(entry.storedName).replace(u'/', u'\\'), entry.size);
    if (job.cancelled())
        return false;
    ZipFileHandle zf(zip_fopen_index(za, entry.index, 0));
    if (!zf) {
        job.fail(ZipErrorText(zip_error_code_zip(zip_get_error(za))));
        return false;
    }
    // Created with the entry's permissions, so that the umask limits them as for any new file.
    TemporaryFile output;
    if (!output.create(dir, PermissionsOf(entry.mode))) {
        job.fail(QStringLiteral("Die Datei %1 kann nicht angelegt werden.").arg(shown));
        return false;
    }
    QFile& temp = output.file();
    const QString writeError =
        QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(shown);
    for (;;) {
        const zip_int64_t n = zip_fread(zf.get(), buffer.data(), zip_uint64_t(buffer.size()));
        if (n < 0) {
            job.fail(ZipErrorText(zip_error_code_zip(zip_file_get_error(zf.get()))));
            return false;
        }
        if (n > 0 && temp.write(buffer.constData(), n) != n) {
            job.fail(writeError);
            return false;
        }
        job.bytesDone(n, n == 0);
        if (job.cancelled())
            return false;
        if (n == 0)
            break;
    }
    // On the disk before it takes the target's name, so that a power loss leaves the old
    // file or the new one, never an empty one.
    if (!SyncFile(temp)) {
        job.fail(writeError);
        return false;
    }
    if (entry.modified.isValid())
        temp.setFileTime(entry.modified, QFileDevice::FileModificationTime);
    temp.close();
    if (temp.error() != QFileDevice::NoError) {
        job.fail(writeError);
        return false;
    }
    if (overwrite) {
        // Replaces a file, or a link itself, in one step; never writes through a link.
        if (!output.moveOver(entry.target)) {
            job.fail(writeError);
            return false;
        }
    } else if (!output.moveTo(entry.target)) {
        // Qt renames without replacing: a name taken meanwhile (an earlier entry of the
        // same name) stays as it is.
        if (!NameTaken(entry.target)) {
            job.fail(writeError);
            return false;
        }
    }
    return true;
}

void Unpack(ZipJob& job)
{
    TZipBuilder& zb = job.owner();
    const QString heading = QStringLiteral("Fataler Fehler in UnzDLL.DLL: Abbruch");
    const bool overwrite = zb.ExtrOptions.testFlag(ExtrOption::ExtrOverWrite);
    const QString dir = QFileInfo(zb.ZipFileName()).absolutePath();

    int openError = 0;
    const ZipHandle za(zip_open(NativePath(zb.ZipFileName()).constData(), ZIP_RDONLY, &openError));
    if (!za) {
        job.fail(ZipErrorText(openError));
        return job.report(TZipBuilder::kUnpackFailure, heading);
    }
    const std::vector<PlannedEntry> plan = PlanExtraction(za.get(), zb, dir, overwrite);
    qint64 totalBytes = 0;
    for (const PlannedEntry& entry : plan)
        totalBytes += entry.size;
    job.progress(ProgressType::TotalFiles2Process, QString(), qint64(plan.size()));
    job.progress(ProgressType::TotalSize2Process, QString(), totalBytes);

    QByteArray buffer(kReadChunk, Qt::Uninitialized);
    for (const PlannedEntry& entry : plan) {
        if (!ExtractEntry(job, za.get(), entry, dir, overwrite, buffer))
            break;
    }
    // The new names on the disk too.
    if (!plan.empty())
        SyncDirectory(dir);
    if (job.failed())
        job.report(TZipBuilder::kUnpackFailure, heading);
}

}  // namespace

void TZipBuilder::Message(int code, const QString& text) const
{
    if (OnMessage)
        OnMessage(code, text);
}

void TZipBuilder::Progress(ProgressType kind, const QString& fileName, qint64 size) const
{
    if (OnProgress)
        OnProgress(kind, fileName, size);
}

void TZipBuilder::Add()
{
    if (busy_)
        return;
    if (FSpecArgs.isEmpty())
        return Message(kNothingToPack, QStringLiteral("Fehler - keine Dateien zu packen !"));
    if (zipFileName_.isEmpty())
        return Message(kNoArchive, QStringLiteral("Fehler - keine Archivdatei angegeben !"));
    Cancel = false;
    {
        const BusyGuard guard(busy_);
        ZipJob job(*this);
        Pack(job);
    }
    FSpecArgs.clear();
    Progress(ProgressType::EndOfBatch, QString(), 0);
}

void TZipBuilder::Extract()
{
    if (busy_)
        return;
    if (zipFileName_.isEmpty() || !QFileInfo(zipFileName_).exists())
        return Message(kNoArchive, QStringLiteral("Fehler - keine Archivdatei angegeben !"));
    Cancel = false;
    {
        const BusyGuard guard(busy_);
        ZipJob job(*this);
        Unpack(job);
    }
    Progress(ProgressType::EndOfBatch, QString(), 0);
}
