#include "VocabularyFile.h"

#include "app/AnsiText.h"
#include "app/FileSync.h"

#include <algorithm>

namespace {

constexpr qint64 RecordPos(int k)
{
    return qint64(k) * kRecordSize;
}

// Appends the fitted field to the record; fails when the text cannot be stored.
bool AppendField(QByteArray& record, const QString& text, int width)
{
    const auto bytes = ToAnsi(FitToWidth(text, width));
    if (!bytes)
        return false;
    record += *bytes;
    return true;
}

QString ReadField(const QByteArray& record, int offset, int width)
{
    return TrimBlanks(FieldText(record.mid(offset, width)));
}

}  // namespace

QString& VocabularyEntry::field(int k)
{
    switch (k) {
    case 0: return lesson;
    case 1: return german;
    case 2: return foreign;
    case 3: return synonyms;
    default: return remark;
    }
}

const QString& VocabularyEntry::field(int k) const
{
    return const_cast<VocabularyEntry*>(this)->field(k);
}

FileCheckResult CheckVocabularyFile(const QString& path, bool requireEntry)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {FileCheck::Missing, 0};
    const qint64 size = file.size();
    file.close();
    if (size == 0 || size % kRecordSize != 0 || (requireEntry && size == kRecordSize))
        return {FileCheck::BadFormat, 0};
    return {FileCheck::Valid, static_cast<int>(size / kRecordSize - 1)};
}

QString CheckMessage(FileCheck status)
{
    switch (status) {
    case FileCheck::Missing: return QStringLiteral("Datei existiert nicht!");
    case FileCheck::BadFormat: return QStringLiteral("Die Datei hat ein ungültiges Format!");
    case FileCheck::Valid: break;
    }
    return QString();
}

QString ChangedElsewhereMessage()
{
    return QStringLiteral(
        "Die Datei wurde inzwischen von einem anderen Programm geändert! "
        "Es wurde nichts geschrieben.");
}

std::optional<QByteArray> EncodeHeader(const VocabularyHeader& header)
{
    QByteArray record;
    record.reserve(kRecordSize);
    if (!AppendField(record, header.title, kFieldWidth) ||
        !AppendField(record, header.author, kFieldWidth) ||
        !AppendField(record, header.remarks, kRemarksWidth))
        return std::nullopt;
    return record;
}

std::optional<QByteArray> EncodeEntry(const VocabularyEntry& entry)
{
    QByteArray record;
    record.reserve(kRecordSize);
    for (int k = 0; k < kEntryFields; ++k)
        if (!AppendField(record, entry.field(k), kFieldWidth))
            return std::nullopt;
    return record;
}

VocabularyHeader DecodeHeader(const QByteArray& record)
{
    return {ReadField(record, 0, kFieldWidth), ReadField(record, kFieldWidth, kFieldWidth),
            ReadField(record, 2 * kFieldWidth, kRemarksWidth)};
}

VocabularyEntry DecodeEntry(const QByteArray& record)
{
    VocabularyEntry entry;
    for (int k = 0; k < kEntryFields; ++k)
        entry.field(k) = ReadField(record, k * kFieldWidth, kFieldWidth);
    return entry;
}

bool VocabularyFile::create(const QString& path)
{
    close();
    file_.setFileName(path);
    // Emptied only once locked: a file another window edits keeps its entries.
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    if (!lockForWriting())
        return false;
    knownSize_ = 0;
    if (!file_.resize(0) || !writeAt(0, QByteArray(kRecordSize, ' '))) {
        file_.close();
        return false;
    }
    return true;
}

bool VocabularyFile::open(const QString& path, Access access)
{
    close();
    file_.setFileName(path);
    // A file that does not exist is not created here, also when its name vanishes
    // between a check and this open.
    const QIODevice::OpenMode mode =
        access == Access::ReadWrite ? QIODevice::ReadWrite | QIODevice::ExistingOnly
                                    : QIODevice::ReadOnly;
    if (!file_.open(mode | QIODevice::Unbuffered))
        return false;
    if (access == Access::ReadWrite && !lockForWriting())
        return false;
    rememberSize();
    return true;
}

bool VocabularyFile::lockForWriting()
{
    // Where the file system keeps no locks, the length check before each write is what
    // is left.
    inUse_ = LockOpenFile(file_) == FileLock::Busy;
    if (inUse_)
        file_.close();
    return !inUse_;
}

void VocabularyFile::close()
{
    inUse_ = false;
    if (file_.isOpen())
        file_.close();
}

std::optional<QByteArray> VocabularyFile::readAt(qint64 pos, qint64 length)
{
    if (!file_.isOpen() || pos < 0 || !file_.seek(pos))
        return std::nullopt;
    QByteArray bytes = file_.read(length);
    if (bytes.size() != length)
        return std::nullopt;
    return bytes;
}

bool VocabularyFile::writeAt(qint64 pos, const QByteArray& bytes)
{
    if (!file_.isOpen() || !file_.isWritable() || pos < 0)
        return false;
    const qint64 oldSize = file_.size();
    if (pos > oldSize || !file_.seek(pos))
        return false;
    if (file_.write(bytes) == bytes.size()) {
        knownSize_ = std::max(knownSize_, pos + bytes.size());
        return true;
    }
    // A record appended only in part (disk full) would leave a size that is no multiple
    // of 400, and the whole file would no longer open: cut it back.
    if (file_.size() > oldSize)
        file_.resize(oldSize);
    return false;
}

std::optional<VocabularyHeader> VocabularyFile::readHeader()
{
    const auto record = readRecord(0);
    if (!record)
        return std::nullopt;
    return DecodeHeader(*record);
}

bool VocabularyFile::writeHeader(const VocabularyHeader& header)
{
    const auto record = EncodeHeader(header);
    return record && writeRecord(0, *record);
}

std::optional<VocabularyEntry> VocabularyFile::readEntry(int i)
{
    if (i < 1)
        return std::nullopt;
    const auto record = readRecord(i);
    if (!record)
        return std::nullopt;
    return DecodeEntry(*record);
}

bool VocabularyFile::writeEntry(int i, const VocabularyEntry& entry)
{
    if (i < 1)
        return false;
    const auto record = EncodeEntry(entry);
    return record && writeRecord(i, *record);
}

std::optional<QString> VocabularyFile::readLesson(int i)
{
    if (i < 1)
        return std::nullopt;
    const auto field = readAt(RecordPos(i), kFieldWidth);
    if (!field)
        return std::nullopt;
    return FieldText(*field);
}

std::optional<QByteArray> VocabularyFile::readRecord(int k)
{
    if (k < 0)
        return std::nullopt;
    return readAt(RecordPos(k), kRecordSize);
}

bool VocabularyFile::writeRecord(int k, const QByteArray& record)
{
    // Records are written only whole, and at most one past the end: no gaps.
    if (k < 0 || record.size() != kRecordSize)
        return false;
    return writeAt(RecordPos(k), record);
}

int VocabularyFile::scanEntries(const std::function<void(int, QByteArrayView)>& visit,
                                const std::function<void()>& progress)
{
    const int n = entryCount();
    constexpr int kBlock = 2048;  // records per read
    for (int first = 1; first <= n; first += kBlock) {
        const int count = std::min(kBlock, n - first + 1);
        if (!file_.seek(qint64(first) * kRecordSize))
            return first - 1;
        const QByteArray block = file_.read(qint64(count) * kRecordSize);
        const int whole = static_cast<int>(block.size() / kRecordSize);
        for (int r = 0; r < whole; ++r)
            visit(first + r, QByteArrayView(block).sliced(qsizetype(r) * kRecordSize, kRecordSize));
        if (whole < count)
            return first - 1 + whole;
        if (progress)
            progress();
    }
    return n;
}
