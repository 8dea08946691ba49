// A vocabulary file from elsewhere: the check, the header, every entry, the lesson
// overview (which is also the lesson dialog's list) and the runs over it; then the same
// once more after another program has cut the open file short.

#include "FuzzSupport.h"
#include "learn/LearningRun.h"
#include "vocab/LessonOverview.h"
#include "vocab/VocabularyFile.h"

#include <QSet>

namespace {

// Reads everything a window reads, up to entry n as counted when the file was opened;
// `whole` says that the file still has that size, so every read within it must succeed.
void ReadAll(VocabularyFile& file, int n, bool whole, std::uint64_t seed)
{
    const qint64 size = file.size();
    const auto header = file.readHeader();
    FUZZ_CHECK(!whole || header.has_value() == (size >= kRecordSize));
    if (header)
        FUZZ_CHECK(EncodeHeader(*header).has_value());

    for (int i = 1; i <= n; ++i) {
        const auto entry = file.readEntry(i);
        FUZZ_CHECK(!whole || entry);
        if (!entry)
            continue;
        // What was read can be stored again unchanged.
        const auto record = EncodeEntry(*entry);
        FUZZ_CHECK(record && record->size() == kRecordSize);
        FUZZ_CHECK(DecodeEntry(*record) == *entry);
        FUZZ_CHECK(file.readLesson(i).has_value() || !whole);
    }
    FUZZ_CHECK(!file.readEntry(n + 1) && !file.readEntry(0) && !file.readEntry(-1));

    const QList<LessonCount> lessons = CountLessons(file);
    QSet<QString> distinct;
    int counted = 0;
    for (const LessonCount& lesson : lessons) {
        FUZZ_CHECK(lesson.entries > 0);
        distinct.insert(lesson.lesson);
        counted += lesson.entries;
    }
    FUZZ_CHECK(distinct.size() == lessons.size());
    FUZZ_CHECK(!whole || counted == std::max(n, 0));
    FUZZ_CHECK(whole || counted <= std::max(n, 0));

    LearningRun run;
    for (const LessonCount& lesson : lessons.mid(0, 3)) {
        const auto start = run.startLessonRun(file, lesson.lesson, seed);
        if (start == LearningRun::Start::Started) {
            FUZZ_CHECK(run.counters().total > 0 && run.counters().total <= n);
            for (int k = 0; run.isRunning() && k < 3 * n; ++k)
                if (run.keepQuestion() == LearningRun::Step::Ended)
                    break;
        }
    }
    const auto start = run.startRandomRun(file, seed);
    FUZZ_CHECK(start != LearningRun::Start::Started ||
               run.counters().total == LearningRun::kRandomRunSize);
    FUZZ_CHECK(start != LearningRun::Start::TooFewEntries ||
               file.entryCount() < LearningRun::kRandomRunSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const QString path = FuzzFilePath(QStringLiteral("fuzz.vok"));
    if (!WriteFuzzFile(path, bytes))
        return 0;

    const qint64 length = bytes.size();
    for (bool requireEntry : {false, true}) {
        const FileCheckResult check = CheckVocabularyFile(path, requireEntry);
        const bool valid = length > 0 && length % kRecordSize == 0 &&
                           !(requireEntry && length == kRecordSize);
        FUZZ_CHECK((check.status == FileCheck::Valid) == valid);
        FUZZ_CHECK(check.status != FileCheck::Missing);
        FUZZ_CHECK(!valid || check.entryCount == length / kRecordSize - 1);
    }

    // Raw records of any length decode without reading past them.
    DecodeHeader(bytes);
    DecodeEntry(bytes.left(size > 0 ? data[0] * 2 : 0));

    const std::uint64_t seed = size > 0 ? data[size - 1] : 0;
    VocabularyFile file;
    if (!file.open(path, VocabularyFile::Access::ReadOnly))
        return 0;
    const int n = file.entryCount();
    ReadAll(file, n, true, seed);

    // Cut short by another program while open: reads past the new end fail, none crash.
    if (size > 0) {
        QFile::resize(path, length * data[0] / 256);
        ReadAll(file, n, false, seed);
    }
    return 0;
}
