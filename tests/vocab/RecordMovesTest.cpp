#include "support/TestSupport.h"
#include "vocab/RecordMoves.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// The record-by-record moves, done in memory: what the file must look like afterwards.
QByteArray Record(const QByteArray& bytes, int k)
{
    return bytes.mid(qsizetype(k) * kRecordSize, kRecordSize);
}

void Swap(QByteArray& bytes, int i, int j)
{
    const QByteArray a = Record(bytes, i);
    const QByteArray b = Record(bytes, j);
    bytes.replace(qsizetype(i) * kRecordSize, kRecordSize, b);
    bytes.replace(qsizetype(j) * kRecordSize, kRecordSize, a);
}

QByteArray SwappedInsert(QByteArray bytes, int current, int last)
{
    bytes += QByteArray(kRecordSize, ' ');
    for (int i = last + 1; i >= current + 1; --i)
        Swap(bytes, i, i - 1);
    return bytes;
}

QByteArray SwappedToEnd(QByteArray bytes, int current, int last)
{
    for (int i = current; i < last; ++i)
        Swap(bytes, i, i + 1);
    return bytes;
}

QByteArray SwappedDelete(const QByteArray& bytes, int current, int last)
{
    return SwappedToEnd(bytes, current, last).chopped(kRecordSize);
}

// The moves by name, and the bytes each leaves when it completes. Swaps exchange with
// entry 3.
bool Run(const QString& operation, VocabularyFile& file, int current, int last)
{
    if (operation == QLatin1String("insert"))
        return InsertBlankRecord(file, current, last);
    if (operation == QLatin1String("toEnd"))
        return MoveRecordToEnd(file, current, last);
    if (operation == QLatin1String("delete"))
        return DeleteRecord(file, current, last) == DeleteResult::Deleted;
    return SwapRecords(file, current, 3);
}

QByteArray Expected(const QString& operation, QByteArray bytes, int current, int last)
{
    if (operation == QLatin1String("insert"))
        return SwappedInsert(bytes, current, last);
    if (operation == QLatin1String("toEnd"))
        return SwappedToEnd(bytes, current, last);
    if (operation == QLatin1String("delete"))
        return SwappedDelete(bytes, current, last);
    Swap(bytes, current, 3);
    return bytes;
}

// Every entry record of `original` stands somewhere in `now`, and the header is unchanged.
void VerifyEveryEntryPresent(const QByteArray& now, const QByteArray& original)
{
    QCOMPARE(Record(now, 0), Record(original, 0));
    QSet<QByteArray> present;
    for (qsizetype k = 1; (k + 1) * kRecordSize <= now.size(); ++k)
        present.insert(Record(now, int(k)));
    for (int k = 1; k < original.size() / kRecordSize; ++k)
        QVERIFY2(present.contains(Record(original, k)), qPrintable(QStringLiteral(
                     "entry %1 is lost").arg(k)));
}

struct Fixture {
    QString dir = NewTestDirectory();
    QString path;
    QByteArray original;
    VocabularyFile file;

    explicit Fixture(int entries, const QString& name = QStringLiteral("englisch.vok"))
    {
        path = WriteVocabularyFile(dir, name, NumberedEntries(entries),
                                   {QStringLiteral("Titel"), QStringLiteral("Autor"), {}});
        original = ReadBytes(path);
        file.open(path);
    }
    QByteArray bytes() const { return ReadBytes(path); }
    QString tmpPath() const { return TemporaryFilePath(path); }
};

// The file is still open for reading and writing.
void VerifyUsable(VocabularyFile& file)
{
    QVERIFY(file.isOpen());
    const int n = file.entryCount();
    const VocabularyEntry extra{QStringLiteral("X"), QStringLiteral("x"), QStringLiteral("y"),
                                {}, {}};
    QVERIFY(file.writeEntry(n + 1, extra));
    QCOMPARE(file.readEntry(n + 1), std::optional<VocabularyEntry>(extra));
}

}  // namespace

class RecordMovesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { SetRecordMoveFaults({}); }

    void temporaryFilePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("extension") << "/home/a/englisch.vok" << "/home/a/englisch.tmp";
        QTest::newRow("none") << "/home/a/liste" << "/home/a/liste.tmp";
        QTest::newRow("dot in folder") << "/home/a.b/liste" << "/home/a.b/liste.tmp";
        QTest::newRow("two dots") << "/home/a/liste.alt.vok" << "/home/a/liste.alt.tmp";
        QTest::newRow("itself .tmp") << "/home/a/liste.tmp" << "/home/a/liste.tmp.tmp";
        QTest::newRow("itself .TMP") << "/home/a/liste.TMP" << "/home/a/liste.TMP.tmp";
    }
    void temporaryFilePath()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(TemporaryFilePath(path), expected);
    }

    void completes_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("blockRecords");
        QTest::newRow("insert at 1 of 3") << "insert" << 3 << 1 << 0;
        QTest::newRow("insert in the middle") << "insert" << 5 << 3 << 0;
        QTest::newRow("insert at last") << "insert" << 5 << 5 << 0;
        QTest::newRow("insert, only entry") << "insert" << 1 << 1 << 0;
        QTest::newRow("insert, uneven blocks") << "insert" << 10 << 2 << 3;
        QTest::newRow("insert at 1 of 5000") << "insert" << 5000 << 1 << 0;
        QTest::newRow("insert at 4000 of 5000") << "insert" << 5000 << 4000 << 0;
        QTest::newRow("delete 2 of 5") << "delete" << 5 << 2 << 0;
        QTest::newRow("delete 5 of 5") << "delete" << 5 << 5 << 0;
        QTest::newRow("delete 1 of 5000") << "delete" << 5000 << 1 << 0;
        QTest::newRow("delete 3000 of 5000") << "delete" << 5000 << 3000 << 0;
        QTest::newRow("to end, uneven blocks") << "toEnd" << 10 << 2 << 3;
        QTest::newRow("swap") << "swap" << 5 << 5 << 0;
    }
    void completes()
    {
        QFETCH(QString, operation);
        QFETCH(int, entries);
        QFETCH(int, current);
        QFETCH(int, blockRecords);
        SetRecordMoveFaults({.blockRecords = blockRecords});
        Fixture f(entries);
        QVERIFY(Run(operation, f.file, current, entries));
        QCOMPARE(f.bytes(), Expected(operation, f.original, current, entries));
        QVERIFY(!QFile::exists(f.tmpPath()));
        VerifyUsable(f.file);
    }

    // After a failed deletion the editor shows one entry fewer; the record beyond its last
    // entry is overwritten by the next insertion, as the blank record goes there first.
    void insert_overLeftoverRecord()
    {
        Fixture f(5);
        QVERIFY(InsertBlankRecord(f.file, 2, 4));
        QCOMPARE(f.bytes(), SwappedInsert(f.original.chopped(kRecordSize), 2, 4));
    }

    void delete_overwritesExistingTemporaryFile()
    {
        Fixture f(5);
        QCOMPARE(f.tmpPath(), f.dir + QStringLiteral("/englisch.tmp"));
        QVERIFY(WriteBytes(f.tmpPath(), QByteArray(20 * kRecordSize, 'Z')));
        QCOMPARE(DeleteRecord(f.file, 2, 5), DeleteResult::Deleted);
        QCOMPARE(f.bytes(), SwappedDelete(f.original, 2, 5));
        QVERIFY(!QFile::exists(f.tmpPath()));
    }

    void delete_fileNamedTmpKeepsItsData()
    {
        Fixture f(3, QStringLiteral("liste.tmp"));
        QCOMPARE(DeleteRecord(f.file, 1, 3), DeleteResult::Deleted);
        QCOMPARE(f.bytes(), SwappedDelete(f.original, 1, 3));
    }

    // A failed deletion leaves the whole file in the order the editor then shows: the
    // deleted entry last, beyond the editor's last entry.
    void delete_failing_data()
    {
        QTest::addColumn<bool>("directoryInTheWay");
        QTest::addColumn<int>("expected");
        QTest::newRow("move fails") << false << int(DeleteResult::NotReplaced);
        QTest::newRow("temporary file not creatable")
            << true << int(DeleteResult::TempNotCreated);
    }
    void delete_failing()
    {
        QFETCH(bool, directoryInTheWay);
        QFETCH(int, expected);
        Fixture f(5);
        if (directoryInTheWay)
            QVERIFY(QDir().mkdir(f.tmpPath()));
        else
            SetRecordMoveFaults({.failReplace = true});
        const DeleteResult result = DeleteRecord(f.file, 2, 5);
        QCOMPARE(int(result), expected);
        QCOMPARE(f.bytes(), SwappedToEnd(f.original, 2, 5));
        QCOMPARE(QFileInfo(f.tmpPath()).isDir(), directoryInTheWay);
        QVERIFY(directoryInTheWay || !QFile::exists(f.tmpPath()));
        VerifyUsable(f.file);
        QCOMPARE(DeleteMessage(result),
                 directoryInTheWay
                     ? QStringLiteral("Fehler beim Erzeugen einer temporären Datei. Konnte "
                                      "Eintrag nicht löschen!")
                     : QStringLiteral("Eintrag konnte nicht gelöscht werden."));
    }

    void invalidRange_leavesFileUntouched_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("last");
        QTest::newRow("current 0") << 0 << 5;
        QTest::newRow("current beyond last") << 6 << 5;
        QTest::newRow("last beyond file") << 2 << 6;
    }
    void invalidRange_leavesFileUntouched()
    {
        QFETCH(int, current);
        QFETCH(int, last);
        Fixture f(5);
        QVERIFY(!InsertBlankRecord(f.file, current, last));
        QVERIFY(!MoveRecordToEnd(f.file, current, last));
        QCOMPARE(DeleteRecord(f.file, current, last), DeleteResult::NotReplaced);
        QVERIFY(!SwapRecords(f.file, current, last + 1));
        QCOMPARE(f.bytes(), f.original);
        QVERIFY(!QFile::exists(f.tmpPath()));
    }

    // A write that grows the file stops half-way (disk full): the file keeps whole
    // records, so that it still opens, and loses nothing.
    void growingWriteFails_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("room");
        QTest::addColumn<bool>("blankAppended");
        QTest::newRow("insert, no room for the blank") << "insert" << 200 << false;
        QTest::newRow("insert, no room for moving") << "insert" << 600 << true;
        QTest::newRow("move to end") << "toEnd" << 200 << false;
        QTest::newRow("swap") << "swap" << 200 << false;
    }
    void growingWriteFails()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs a file size limit");
#else
        QFETCH(QString, operation);
        QFETCH(int, room);
        QFETCH(bool, blankAppended);
        Fixture f(50);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit unlimited{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
        rlimit limited = unlimited;
        limited.rlim_cur = rlim_t(f.original.size() + room);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const bool done = Run(operation, f.file, 1, 50);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &unlimited), 0);
        QVERIFY(!done);
        QCOMPARE(f.bytes(), f.original + (blankAppended ? QByteArray(kRecordSize, ' ') : ""));
#endif
    }

    // The program killed after k writes, for every k, the k+1st write torn in half: every
    // entry is still in the file.
    void interrupted_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("blockRecords");
        for (const char* operation : {"insert", "toEnd", "delete", "swap"}) {
            for (int current : {1, 4, 7}) {
                for (int block : {1, 2, 3}) {
                    QTest::addRow("%s at %d, blocks of %d", operation, current, block)
                        << QString::fromLatin1(operation) << current << block;
                }
            }
        }
    }
    void interrupted()
    {
        QFETCH(QString, operation);
        QFETCH(int, current);
        QFETCH(int, blockRecords);
        constexpr int last = 7;
        QByteArray finished;
        for (int k = 0; k < 100; ++k) {
            Fixture f(last);
            SetRecordMoveFaults({.writeBudget = k, .blockRecords = blockRecords});
            const bool done = Run(operation, f.file, current, last);
            SetRecordMoveFaults({});
            if (done) {
                finished = f.bytes();
                QVERIFY(!QFile::exists(f.tmpPath()));
                break;
            }
            VerifyEveryEntryPresent(f.bytes(), f.original);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("interrupted after %1 writes").arg(k)));
        }
        QVERIFY2(!finished.isEmpty(), "never completed");
        QCOMPARE(finished, Expected(operation, Fixture(last).original, current, last));
    }
};

LK_TEST_MAIN(RecordMovesTest)
#include "RecordMovesTest.moc"
