#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <optional>

// The ".vok" format: records of exactly 400 bytes of Windows-1252 text. Record 0 is the
// header (title 80, author 80, remarks 240 bytes), record i the entry number i (lesson,
// German term, foreign term, synonyms, remark, 80 bytes each). Fields are padded with
// blanks, have no terminator, and read back up to the first NUL with the blanks at both
// ends removed. Entry count = size / 400 - 1.

inline constexpr int kRecordSize = 400;
inline constexpr int kFieldWidth = 80;
inline constexpr int kRemarksWidth = 240;
inline constexpr int kEntryFields = 5;

struct VocabularyHeader {
    QString title;
    QString author;
    QString remarks;
    bool operator==(const VocabularyHeader&) const = default;
};

struct VocabularyEntry {
    QString lesson;
    QString german;
    QString foreign;
    QString synonyms;
    QString remark;

    // Field k from 0 (lesson) to 4 (remark).
    QString& field(int k);
    const QString& field(int k) const;
    bool operator==(const VocabularyEntry&) const = default;
};

enum class FileCheck { Valid, Missing, BadFormat };

struct FileCheckResult {
    FileCheck status = FileCheck::Missing;
    int entryCount = 0;
};

// Checks existence and size; with requireEntry a header-only file (400 bytes) is refused.
FileCheckResult CheckVocabularyFile(const QString& path, bool requireEntry);

// "Datei existiert nicht!" or "Die Datei hat ein ungültiges Format!" (empty when valid).
QString CheckMessage(FileCheck status);

// What a writer says when it finds the file's length changed by another program.
QString ChangedElsewhereMessage();

// Record encoding. Encoding fails (nothing) when a text holds a character that
// Windows-1252 cannot store.
std::optional<QByteArray> EncodeHeader(const VocabularyHeader& header);
std::optional<QByteArray> EncodeEntry(const VocabularyEntry& entry);
VocabularyHeader DecodeHeader(const QByteArray& record);
VocabularyEntry DecodeEntry(const QByteArray& record);

// One open vocabulary file. Every read and write goes to the file at an absolute
// position; nothing is cached.
class VocabularyFile {
public:
    enum class Access { ReadOnly, ReadWrite };

    VocabularyFile() = default;
    VocabularyFile(const VocabularyFile&) = delete;
    VocabularyFile& operator=(const VocabularyFile&) = delete;

    // Creates the file (emptying an existing one) with a header of 400 blanks and keeps
    // it open for reading and writing.
    bool create(const QString& path);
    // Opens without emptying.
    bool open(const QString& path, Access access = Access::ReadWrite);
    void close();
    // Opened for writing (create, or open with ReadWrite), the file is locked for as long
    // as it stays open: a second open for writing, here or in another instance, fails and
    // inUse() tells why. Readers take no lock and are not stopped.
    bool inUse() const { return inUse_; }

    bool isOpen() const { return file_.isOpen(); }
    QString path() const { return file_.fileName(); }
    qint64 size() const { return file_.size(); }
    int entryCount() const { return static_cast<int>(size() / kRecordSize - 1); }

    // Whether another program changed the file's length since it was opened or last
    // written here (or since rememberSize()). Writers check it before they write.
    bool changedElsewhere() const { return isOpen() && size() != knownSize_; }
    void rememberSize() { knownSize_ = size(); }

    std::optional<VocabularyHeader> readHeader();
    bool writeHeader(const VocabularyHeader& header);
    // Entry i, 1 <= i <= entryCount(). Writing entry entryCount() + 1 appends a record.
    std::optional<VocabularyEntry> readEntry(int i);
    bool writeEntry(int i, const VocabularyEntry& entry);
    // The lesson field of entry i up to its first NUL, untrimmed.
    std::optional<QString> readLesson(int i);

    // Raw records (k = 0 is the header).
    std::optional<QByteArray> readRecord(int k);
    bool writeRecord(int k, const QByteArray& record);

    QFile& device() { return file_; }
    // Reads the entries a block of records at a time, for huge files: visit gets each
    // entry's number (1-based) and record, progress is called after each block. Returns
    // how many entries were read: fewer than entryCount() when the file is shorter by now.
    int scanEntries(const std::function<void(int number, QByteArrayView record)>& visit,
                    const std::function<void()>& progress = {});

private:
    std::optional<QByteArray> readAt(qint64 pos, qint64 length);
    bool writeAt(qint64 pos, const QByteArray& bytes);
    bool lockForWriting();

    QFile file_;
    qint64 knownSize_ = 0;
    bool inUse_ = false;
};
