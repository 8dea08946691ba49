#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "support/TestSupport.h"
#include "vocab/RecordMoves.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

QByteArrayList Records(const QByteArray& bytes)
{
    QByteArrayList records;
    for (qsizetype k = 0; (k + 1) * kRecordSize <= bytes.size(); ++k)
        records << bytes.mid(k * kRecordSize, kRecordSize);
    return records;
}

// The moves by name. Swaps exchange with entry 3.
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

// The bytes a completed move leaves, from the header and the first `last` entries.
QByteArray Expected(const QString& operation, const QByteArray& bytes, int current, int last)
{
    QByteArrayList records = Records(bytes).mid(0, last + 1);
    if (operation == QLatin1String("insert"))
        records.insert(current, QByteArray(kRecordSize, ' '));
    else if (operation == QLatin1String("toEnd"))
        records.move(current, last);
    else if (operation == QLatin1String("delete"))
        records.removeAt(current);
    else
        records.swapItemsAt(current, 3);
    return records.join();
}

// Every entry record of `original` stands somewhere in `now`, and the header is unchanged.
void VerifyEveryEntryPresent(const QByteArray& now, const QByteArray& original)
{
    const QByteArrayList before = Records(original);
    const QByteArrayList after = Records(now);
    QCOMPARE(after.value(0), before[0]);
    const QSet<QByteArray> present(after.begin() + 1, after.end());
    for (int k = 1; k < before.size(); ++k)
        QVERIFY2(present.contains(before[k]), qPrintable(QStringLiteral("entry %1 lost").arg(k)));
}

struct Fixture {
    QString dir = NewTestDirectory();
    QString path;
    QByteArray original;
    VocabularyFile file;

    explicit Fixture(int entries, const QString& name = QStringLiteral("englisch.vok"))
    {
        QDir(dir).mkpath(QFileInfo(name).path());
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
    const VocabularyEntry extra{
        QStringLiteral("X"), QStringLiteral("x"), QStringLiteral("y"), {}, {}};
    QVERIFY(file.writeEntry(n + 1, extra));
    QCOMPARE(file.readEntry(n + 1), std::optional<VocabularyEntry>(extra));
}

}  // namespace

class RecordMovesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { SetRecordMoveFaults({}); }

    void completes_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("blockRecords");
        QTest::newRow("insert at last") << "insert" << 5 << 5 << 5 << 0;
        QTest::newRow("insert, only entry") << "insert" << 1 << 1 << 1 << 0;
        QTest::newRow("insert, uneven blocks") << "insert" << 10 << 2 << 10 << 3;
        QTest::newRow("insert at 1 of 5000") << "insert" << 5000 << 1 << 5000 << 0;
        QTest::newRow("insert at 4000 of 5000") << "insert" << 5000 << 4000 << 5000 << 0;
        // A failed deletion left a record beyond the last entry: the insertion overwrites it.
        QTest::newRow("insert over leftover") << "insert" << 5 << 2 << 4 << 0;
        QTest::newRow("delete 5 of 5") << "delete" << 5 << 5 << 5 << 0;
        QTest::newRow("delete 1 of 5000") << "delete" << 5000 << 1 << 5000 << 0;
        QTest::newRow("delete 3000 of 5000") << "delete" << 5000 << 3000 << 5000 << 0;
        QTest::newRow("to end, uneven blocks") << "toEnd" << 10 << 2 << 10 << 3;
        QTest::newRow("swap") << "swap" << 5 << 5 << 5 << 0;
    }
    void completes()
    {
        QFETCH(QString, operation);
        QFETCH(int, entries);
        QFETCH(int, current);
        QFETCH(int, last);
        QFETCH(int, blockRecords);
        SetRecordMoveFaults({.blockRecords = blockRecords});
        Fixture f(entries);
        QVERIFY(Run(operation, f.file, current, last));
        QCOMPARE(f.bytes(), Expected(operation, f.original, current, last));
        QVERIFY(!QFile::exists(f.tmpPath()));
        VerifyUsable(f.file);
    }

    // The ".tmp" file beside the vocabulary file replaces the extension; a stale one is
    // overwritten. A failed deletion leaves the whole file in the order the editor then
    // shows (the deleted entry last, beyond the editor's last entry) and no ".tmp" file.
    void deleteRecord_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tmpName");
        QTest::addColumn<int>("fault");  // 1: a directory in the way, 2: the move fails
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("stale .tmp file") << "englisch.vok" << "englisch.tmp" << 0
            << int(DeleteResult::Deleted) << QString();
        QTest::newRow("file named .tmp") << "liste.tmp" << "liste.tmp.tmp" << 0
            << int(DeleteResult::Deleted) << QString();
        QTest::newRow("named .TMP") << "liste.TMP" << "liste.TMP.tmp" << 0
            << int(DeleteResult::Deleted) << QString();
        QTest::newRow("two dots") << "liste.alt.vok" << "liste.alt.tmp" << 0
            << int(DeleteResult::Deleted) << QString();
        QTest::newRow("dot in folder, no extension") << "a.b/liste" << "a.b/liste.tmp" << 0
            << int(DeleteResult::Deleted) << QString();
        QTest::newRow("move fails") << "englisch.vok" << "englisch.tmp" << 2
            << int(DeleteResult::NotReplaced)
            << QStringLiteral("Eintrag konnte nicht gelöscht werden.");
        QTest::newRow("temporary file not creatable") << "englisch.vok" << "englisch.tmp" << 1
            << int(DeleteResult::TempNotCreated)
            << QStringLiteral("Fehler beim Erzeugen einer temporären Datei. "
                              "Konnte Eintrag nicht löschen!");
        // clang-format on
    }
    void deleteRecord()
    {
        QFETCH(QString, name);
        QFETCH(QString, tmpName);
        QFETCH(int, fault);
        QFETCH(int, result);
        QFETCH(QString, message);
        Fixture f(5, name);
        QCOMPARE(f.tmpPath(), f.dir + QLatin1Char('/') + tmpName);
        if (fault == 1)
            QVERIFY(QDir().mkdir(f.tmpPath()));
        else
            QVERIFY(WriteBytes(f.tmpPath(), QByteArray(20 * kRecordSize, 'Z')));
        SetRecordMoveFaults({.failReplace = fault == 2});
        const DeleteResult done = DeleteRecord(f.file, 2, 5);
        QCOMPARE(int(done), result);
        QCOMPARE(DeleteMessage(done), message);
        QCOMPARE(f.bytes(), Expected(done == DeleteResult::Deleted ? QStringLiteral("delete")
                                                                   : QStringLiteral("toEnd"),
                                     f.original, 2, 5));
        QCOMPARE(QFileInfo::exists(f.tmpPath()), fault == 1);
        VerifyUsable(f.file);
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
        for (const char* operation : {"insert", "toEnd", "delete", "swap"})
            for (int current : {1, 4, 7})
                for (int block : {1, 2, 3})
                    QTest::addRow("%s at %d, blocks of %d", operation, current, block)
                        << QString::fromLatin1(operation) << current << block;
    }
    void interrupted()
    {
        QFETCH(QString, operation);
        QFETCH(int, current);
        QFETCH(int, blockRecords);
        constexpr int last = 7;
        for (int k = 0; k < 100; ++k) {
            Fixture f(last);
            SetRecordMoveFaults({.writeBudget = k, .blockRecords = blockRecords});
            const bool done = Run(operation, f.file, current, last);
            SetRecordMoveFaults({});
            if (done) {
                QCOMPARE(f.bytes(), Expected(operation, f.original, current, last));
                QVERIFY(!QFile::exists(f.tmpPath()));
                return;
            }
            VerifyEveryEntryPresent(f.bytes(), f.original);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("interrupted after %1 writes").arg(k)));
        }
        QFAIL("never completed");
    }
};

LK_TEST_MAIN(RecordMovesTest)
#include "RecordMovesTest.moc"
