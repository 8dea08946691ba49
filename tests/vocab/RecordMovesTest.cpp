#include "support/VocabTests.h"
#include "vocab/RecordMoves.h"

namespace {

QByteArrayList Records(const QByteArray& bytes)
{
    QByteArrayList records;
    for (qsizetype k = 0; (k + 1) * kRecordSize <= bytes.size(); ++k)
        records << bytes.mid(k * kRecordSize, kRecordSize);
    return records;
}

// A file of numbered entries below a titled header, open for reading and writing.
struct Fixture {
    QString path;
    QByteArray original;
    VocabularyFile file;

    explicit Fixture(int entries, const QString& name = QStringLiteral("englisch.vok"))
    {
        path = WriteVocabularyFile(NewTestDirectory(), name, NumberedEntries(entries),
                                   {QStringLiteral("Titel"), QStringLiteral("Autor"), {}});
        original = ReadBytes(path);
        file.open(path);
    }
    // The original records after `change`.
    QByteArray changed(const std::function<void(QByteArrayList&)>& change) const
    {
        QByteArrayList records = Records(original);
        change(records);
        return records.join();
    }
};

}  // namespace

class RecordMovesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { SetRecordMoveFaults({}); }

    // The ".tmp" file beside the vocabulary file replaces the extension. Whatever has that
    // name already is left alone.
    void deleteRecord_data()
    {
        // mode: the file's permissions before; kept: those of the shortened file (-1: not
        // checked)
        DataColumns<QString, QString, bool, int, int>("name", "tmpName", "directoryInTheWay",
                                                      "mode", "kept");
        const int ownerRw = QFile::ReadOwner | QFile::WriteOwner;
        const int groupR = ownerRw | QFile::ReadGroup;
        // clang-format off
        QTest::newRow("file named .tmp") << "liste.tmp" << "liste.tmp.tmp" << false << groupR
            << groupR;
        QTest::newRow("file named .TMP, no permissions") << "Liste.TMP" << "Liste.TMP.tmp"
            << false << 0 << ownerRw;
        QTest::newRow("a directory named like the temporary file") << "englisch.vok"
            << "englisch.tmp" << true << -1 << -1;
        // clang-format on
    }
    void deleteRecord()
    {
        const auto [name, tmpName, directoryInTheWay, mode, kept] =
            DataRow<QString, QString, bool, int, int>("name", "tmpName", "directoryInTheWay",
                                                      "mode", "kept");
        Fixture f(5, name);
        if (mode >= 0)
            QVERIFY(QFile::setPermissions(f.path, QFile::Permissions(mode)));
        const QString tmpPath = TemporaryFilePath(f.path);
        QCOMPARE(QFileInfo(tmpPath).fileName(), tmpName);
        if (directoryInTheWay)
            QVERIFY(QDir().mkdir(tmpPath));
        else
            QVERIFY(WriteBytes(tmpPath, QByteArray(20 * kRecordSize, 'Z')));
        QCOMPARE(DeleteRecord(f.file, 2, 5), DeleteResult::Deleted);
        QStringList expectedLeft{tmpName, name};
        expectedLeft.sort();
        QCOMPARE(QFileInfo(f.path).dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 expectedLeft);
        QVERIFY(directoryInTheWay || ReadBytes(tmpPath) == QByteArray(20 * kRecordSize, 'Z'));
        if (kept >= 0)
            QCOMPARE(int(QFile::permissions(f.path) & 0x7077), kept);
        QCOMPARE(ReadBytes(f.path),
                 f.changed([](QByteArrayList& records) { records.removeAt(2); }));
        QVERIFY(f.file.readEntry(4).has_value());  // still open
    }

    // The program killed after k writes, for every k, the k+1st write torn in half: every
    // entry is still in the file.
    void interrupted_data()
    {
        DataColumns<QString, int, int>("operation", "current", "blockRecords");
        for (const char* operation : {"insert", "delete"})
            for (int current : {1, 4, 7})
                for (int block : {0, 2, 3})
                    QTest::addRow("%s at %d, blocks of %d", operation, current, block)
                        << QString::fromLatin1(operation) << current << block;
    }
    void interrupted()
    {
        const auto [operation, current, blockRecords] =
            DataRow<QString, int, int>("operation", "current", "blockRecords");
        constexpr int last = 7;
        for (int k = 0; k < 100; ++k) {
            Fixture f(last);
            SetRecordMoveFaults({.writeBudget = k, .blockRecords = blockRecords});
            bool done = false;
            QByteArray expected;
            if (operation == QLatin1String("insert")) {
                done = InsertBlankRecord(f.file, current, last);
                expected = f.changed([&](auto& r) { r.insert(current, QByteArray(400, ' ')); });
            } else {
                done = DeleteRecord(f.file, current, last) == DeleteResult::Deleted;
                expected = f.changed([&](auto& r) { r.removeAt(current); });
            }
            SetRecordMoveFaults({});
            const QByteArray now = ReadBytes(f.path);
            if (done) {
                QCOMPARE(now, expected);
                QVERIFY(!QFile::exists(TemporaryFilePath(f.path)));
                return;
            }
            const QByteArrayList before = Records(f.original);
            const QByteArrayList after = Records(now);
            const QSet<QByteArray> present(after.begin(), after.end());
            QCOMPARE(after.value(0), before[0]);
            for (int e = 1; e <= last; ++e)
                QVERIFY2(present.contains(before[e]),
                         qPrintable(QStringLiteral("entry %1 lost after %2 writes").arg(e).arg(k)));
        }
        QFAIL("never completed");
    }

    // A move that grows the file stops half-way (disk full): the file is left as it was.
    void growingWriteFails_data()
    {
        QTest::addColumn<bool>("insert");
        QTest::newRow("insert") << true;
        QTest::newRow("swap") << false;
    }
    void growingWriteFails()
    {
        QFETCH(bool, insert);
        Fixture f(50);
        const auto done = WithFileSizeLimit(f.original.size() + 200, [&] {
            return insert ? InsertBlankRecord(f.file, 1, 50) : SwapRecords(f.file, 1, 50);
        });
        if (!done)
            QSKIP("needs a file size limit");
        QVERIFY(!*done);
        QCOMPARE(ReadBytes(f.path), f.original);
    }
};

LK_TEST_MAIN(RecordMovesTest)
#include "RecordMovesTest.moc"
