#include "support/VocabTests.h"
#include "vocab/VocabularyFile.h"

namespace {

const VocabularyEntry kEntry{QStringLiteral("Neu"), QStringLiteral("Baum"), QStringLiteral("tree"),
                             QStringLiteral("wood"), QStringLiteral("auch: Holz")};

}  // namespace

class VocabularyFileTest : public QObject {
    Q_OBJECT

    QString path;
    VocabularyFile file;

private Q_SLOTS:
    void cleanup() { file.close(); }

    void check_data()
    {
        DataColumns<int, bool, QString, int>("size", "requireEntry", "message",
                                             "entries");  // size -1: no file
        const QString bad = QStringLiteral("Die Datei hat ein ungültiges Format!");
        QTest::newRow("missing") << -1 << false << QStringLiteral("Datei existiert nicht!") << 0;
        QTest::newRow("0") << 0 << false << bad << 0;
        QTest::newRow("400, editor") << 400 << true << bad << 0;
        QTest::newRow("400, learning") << 400 << false << QString() << 0;
        QTest::newRow("800") << 800 << true << QString() << 1;
        QTest::newRow("801") << 801 << false << bad << 0;
    }
    void check()
    {
        const auto [size, requireEntry] = DataRow<int, bool>("size", "requireEntry");
        path = NewTestDirectory() + QStringLiteral("/liste.vok");
        if (size >= 0)
            QVERIFY(WriteBytes(path, QByteArray(size, 'x')));
        const FileCheckResult result = CheckVocabularyFile(path, requireEntry);
        QTEST(CheckMessage(result.status), "message");
        QTEST(result.entryCount, "entries");
    }

    // 80 bytes per field, blank-padded, cut after 80 characters.
    void entryBytes_data()
    {
        DataColumns<QStringList, QByteArrayList>("fields", "stored");
        const QString eighty = QStringLiteral("Lektion-") + QString(72, QLatin1Char('x'));
        const QByteArray eightyBytes = eighty.toLatin1();
        QTest::newRow("80 characters")
            << QStringList{eighty, QStringLiteral("Haus"), QStringLiteral("house"), {}, {}}
            << QByteArrayList{eightyBytes, "Haus", "house", "", ""};
        QTest::newRow("81 characters")
            << QStringList{eighty + QLatin1Char('y'), QStringLiteral("Haus"), {}, {}, {}}
            << QByteArrayList{eightyBytes, "Haus", "", "", ""};
    }
    void entryBytes()
    {
        const auto [fields, stored] = DataRow<QStringList, QByteArrayList>("fields", "stored");
        path = NewTestDirectory() + QStringLiteral("/breite.vok");
        QVERIFY(file.create(path));
        VocabularyEntry entry;
        for (int k = 0; k < kEntryFields; ++k)
            entry.field(k) = fields[k];
        QVERIFY(file.writeEntry(1, entry));

        QByteArray record;
        for (const QByteArray& field : stored)
            record += field.leftJustified(kFieldWidth, ' ');
        QCOMPARE(ReadBytes(path), QByteArray(kRecordSize, ' ') + record);
    }

    void readField_data()
    {
        DataColumns<QByteArray, QString>("bytes", "expected");
        QTest::newRow("NUL inside")
            << QByteArray("0123456789\0Rest", 15) << QStringLiteral("0123456789");
        QTest::newRow("blanks around a word") << QByteArray("  Wort   ") << QStringLiteral("Wort");
    }
    void readField()
    {
        const auto [bytes, expected] = DataRow<QByteArray, QString>("bytes", "expected");
        QByteArray record(kRecordSize, ' ');
        record.replace(kFieldWidth, bytes.size(), bytes);  // the German term
        path = NewTestDirectory() + QStringLiteral("/fremd.vok");
        QVERIFY(WriteBytes(path, QByteArray(kRecordSize, ' ') + record));
        QVERIFY(file.open(path, VocabularyFile::Access::ReadOnly));
        QCOMPARE(file.readEntry(1), (VocabularyEntry{{}, expected, {}, {}, {}}));
    }

    // Only the entry's own record changes; text the file cannot hold is refused, never
    // written as something else.
    void writeEntry_data()
    {
        DataColumns<int, QString, bool>("number", "german", "written");
        QTest::newRow("entry 2 of 3") << 2 << QStringLiteral("Baum") << true;
        QTest::newRow("entry n + 1") << 4 << QStringLiteral("Baum") << true;
        QTest::newRow("entry n + 2 (gap)") << 5 << QStringLiteral("Baum") << false;
        QTest::newRow("entry 0 (header)") << 0 << QStringLiteral("Baum") << false;
        QTest::newRow("not Windows-1252") << 4 << QStringLiteral("Haus 家") << false;
    }
    void writeEntry()
    {
        const auto [number, german, written] =
            DataRow<int, QString, bool>("number", "german", "written");
        QList<VocabularyEntry> entries = NumberedEntries(3);
        path = WriteVocabularyFile(NewTestDirectory(), QStringLiteral("liste.vok"), entries);
        QVERIFY(file.open(path));
        VocabularyEntry entry = kEntry;
        entry.german = german;
        QCOMPARE(file.writeEntry(number, entry), written);
        // Reading back: the header (entry 0) and records past the end are no entries.
        QCOMPARE(file.readEntry(number), written ? std::optional(entry) : std::nullopt);
        if (written) {
            entries.resize(qMax(entries.size(), qsizetype(number)));
            entries[number - 1] = entry;
        }
        QCOMPARE(ReadBytes(path), VocabularyBytes(entries));
    }

    // Title and author hold 80 characters, the remarks 240; more is cut.
    void header()
    {
        for (int remarks : {240, 241}) {
            const QString typed = QString(remarks - 4, u'b') + QStringLiteral("Ende");
            const VocabularyHeader header{QString(81, u't'), QStringLiteral("Autor"), typed};
            path = NewTestDirectory() + QStringLiteral("/kopf.vok");
            QVERIFY(file.create(path));
            QVERIFY(file.writeHeader(header));
            const VocabularyHeader stored{QString(80, u't'), header.author, typed.left(240)};
            QCOMPARE(file.readHeader(), stored);
            QCOMPARE(ReadBytes(path), QByteArray(80, 't') + QByteArray("Autor").leftJustified(80) +
                                          typed.left(240).toLatin1());
            file.close();
        }
    }

    // A full disk lets half of the new record through: it is taken back, so the file keeps
    // whole records and still opens.
    void appendOnFullDisk_leavesFileAsItWas()
    {
        const QString path =
            WriteVocabularyFile(NewTestDirectory(), QStringLiteral("a.vok"), NumberedEntries(1));
        const QByteArray before = ReadBytes(path);
        VocabularyFile file;
        QVERIFY(file.open(path));
        const auto written = WithFileSizeLimit(1000, [&] { return file.writeEntry(2, kEntry); });
        if (!written)
            QSKIP("needs a file size limit");
        QVERIFY(!*written);
        QCOMPARE(ReadBytes(path), before);
    }
};

LK_TEST_MAIN(VocabularyFileTest)
#include "VocabularyFileTest.moc"
