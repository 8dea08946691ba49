#include <QApplication>
#include <QFileInfo>

#include "app/AnsiText.h"
#include "support/TestSupport.h"
#include "vocab/VocabularyFile.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

// A raw 400-byte record whose field k holds exactly these bytes (blank-padded).
QByteArray RecordWithField(int k, const QByteArray& field)
{
    QByteArray record(kRecordSize, ' ');
    record.replace(k * kFieldWidth, field.size(), field);
    return record;
}

const VocabularyEntry kEntry{QStringLiteral("Neu"), QStringLiteral("Baum"), QStringLiteral("tree"),
                             QStringLiteral("wood"), QStringLiteral("auch: Holz")};

}  // namespace

class VocabularyFileTest : public QObject {
    Q_OBJECT

    QString path;
    QByteArray before;
    VocabularyFile file;

    void openNumbered(int n, VocabularyFile::Access access = VocabularyFile::Access::ReadWrite,
                      const VocabularyHeader& header = {})
    {
        path = WriteVocabularyFile(NewTestDirectory(), QStringLiteral("liste.vok"),
                                   NumberedEntries(n), header);
        before = ReadBytes(path);
        QVERIFY(file.open(path, access));
    }
    void openBytes(const QByteArray& bytes)
    {
        path = NewTestDirectory() + QStringLiteral("/fremd.vok");
        QVERIFY(WriteBytes(path, bytes));
        QVERIFY(file.open(path, VocabularyFile::Access::ReadOnly));
    }

private Q_SLOTS:
    void cleanup() { file.close(); }

    void check_data()
    {
        QTest::addColumn<int>("size");  // -1: no file
        QTest::addColumn<bool>("requireEntry");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("entries");
        const int valid = int(FileCheck::Valid);
        const int bad = int(FileCheck::BadFormat);
        QTest::newRow("missing") << -1 << false << int(FileCheck::Missing) << 0;
        QTest::newRow("0") << 0 << false << bad << 0;
        QTest::newRow("399") << 399 << false << bad << 0;
        QTest::newRow("400, editor") << 400 << true << bad << 0;
        QTest::newRow("400, learning") << 400 << false << valid << 0;
        QTest::newRow("800") << 800 << true << valid << 1;
        QTest::newRow("801") << 801 << false << bad << 0;
        QTest::newRow("1200") << 1200 << true << valid << 2;
    }
    void check()
    {
        QFETCH(int, size);
        QFETCH(bool, requireEntry);
        QFETCH(int, status);
        QFETCH(int, entries);
        path = NewTestDirectory() + QStringLiteral("/liste.vok");
        const QByteArray bytes(qMax(size, 0), 'x');
        if (size >= 0)
            QVERIFY(WriteBytes(path, bytes));

        const FileCheckResult result = CheckVocabularyFile(path, requireEntry);
        QCOMPARE(int(result.status), status);
        QCOMPARE(result.entryCount, entries);
        QCOMPARE(CheckMessage(result.status),
                 result.status == FileCheck::Valid ? QString()
                 : result.status == FileCheck::Missing
                     ? QStringLiteral("Datei existiert nicht!")
                     : QStringLiteral("Die Datei hat ein ungültiges Format!"));
        // A check never changes nor creates the file.
        QCOMPARE(QFileInfo::exists(path), size >= 0);
        QCOMPARE(ReadBytes(path), size >= 0 ? bytes : QByteArray());
    }

    void create_emptiesExistingFile_openNeverCreates()
    {
        openNumbered(3);
        file.close();
        QVERIFY(file.create(path));
        QCOMPARE(ReadBytes(path), QByteArray(kRecordSize, ' '));
        QCOMPARE(file.entryCount(), 0);
        QVERIFY(file.writeEntry(1, kEntry));  // still open for writing
        QCOMPARE(QFileInfo(path).size(), 800);
        file.close();

        const QString missing = NewTestDirectory() + QStringLiteral("/fehlt.vok");
        QVERIFY(!file.open(missing));
        QVERIFY(!file.open(missing, VocabularyFile::Access::ReadOnly));
        QVERIFY(!QFileInfo::exists(missing));
    }

    // The exact bytes of an entry: 80 per field, blank-padded, cut after 80 characters,
    // no terminator, one byte per character.
    void entryBytes_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArrayList>("stored");
        const QString eighty = QStringLiteral("Lektion-") + QString(72, QLatin1Char('x'));
        const QByteArray eightyBytes = eighty.toLatin1();
        QTest::newRow("80 characters")
            << QStringList{eighty, QStringLiteral("Haus"), QStringLiteral("house"), {}, {}}
            << QByteArrayList{eightyBytes, "Haus", "house", "", ""};
        QTest::newRow("81 characters")
            << QStringList{eighty + QLatin1Char('y'), QStringLiteral("Haus"), {}, {}, {}}
            << QByteArrayList{eightyBytes, "Haus", "", "", ""};
        QTest::newRow("Windows-1252")
            << QStringList{QStringLiteral("Übung"), QStringLiteral("Äpfel €"),
                           QStringLiteral("apples"), QStringLiteral("œuvre"),
                           QStringLiteral("ß µ ÿ")}
            << QByteArrayList{QByteArray("\xDC") + "bung", "\xC4pfel \x80", "apples", "\x9Cuvre",
                              "\xDF \xB5 \xFF"};
    }
    void entryBytes()
    {
        QFETCH(QStringList, fields);
        QFETCH(QByteArrayList, stored);
        path = NewTestDirectory() + QStringLiteral("/breite.vok");
        QVERIFY(file.create(path));
        VocabularyEntry entry;
        for (int k = 0; k < kEntryFields; ++k) entry.field(k) = fields[k];
        QVERIFY(file.writeEntry(1, entry));

        QByteArray record;
        for (const QByteArray& field : stored) record += field.leftJustified(kFieldWidth, ' ');
        QCOMPARE(ReadBytes(path), QByteArray(kRecordSize, ' ') + record);
        const VocabularyEntry read = file.readEntry(1).value();
        for (int k = 0; k < kEntryFields; ++k) QCOMPARE(read.field(k), FromAnsi(stored[k]));
    }

    // Title and author 80 bytes, remarks 240; the entries stay as they were.
    void headerBytes()
    {
        openNumbered(2);
        const QString remarks = QString(240, QLatin1Char('b'));
        QVERIFY(file.writeHeader({QString(90, QLatin1Char('t')), QStringLiteral("Jörg"),
                                  remarks + QStringLiteral("zu viel")}));
        const QByteArray bytes = ReadBytes(path);
        QCOMPARE(bytes.left(kRecordSize), QByteArray(80, 't') +
                                              QByteArray("J\xF6rg").leftJustified(80, ' ') +
                                              QByteArray(240, 'b'));
        QCOMPARE(bytes.mid(kRecordSize), before.mid(kRecordSize));
        QCOMPARE(file.readHeader(), (VocabularyHeader{QString(80, QLatin1Char('t')),
                                                      QStringLiteral("Jörg"), remarks}));
    }

    void readField_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("NUL as eleventh byte")
            << 1 << QByteArray("0123456789\0Rest", 15) << QStringLiteral("0123456789");
        QTest::newRow("NUL first") << 2 << QByteArray("\0Haus", 5) << QString();
        QTest::newRow("blanks around a word")
            << 0 << QByteArray("  Wort   ") << QStringLiteral("Wort");
        QTest::newRow("blanks, word, NUL, junk")
            << 3 << QByteArray("  Wort \0 x", 10) << QStringLiteral("Wort");
        QTest::newRow("inner blanks kept")
            << 4 << QByteArray(" zu  Hause ") << QStringLiteral("zu  Hause");
        QTest::newRow("tab stays") << 1 << QByteArray("\tHaus\t") << QStringLiteral("\tHaus\t");
        QTest::newRow("full field") << 4 << QByteArray(80, 'z') << QString(80, QLatin1Char('z'));
    }
    void readField()
    {
        QFETCH(int, field);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        openBytes(QByteArray(kRecordSize, ' ') + RecordWithField(field, bytes));
        const VocabularyEntry entry = file.readEntry(1).value();
        for (int k = 0; k < kEntryFields; ++k)
            QCOMPARE(entry.field(k), k == field ? expected : QString());
    }

    // The lesson lists trim by their own rules.
    void readLesson_isUntrimmed()
    {
        openBytes(QByteArray(kRecordSize, ' ') +
                  RecordWithField(0, QByteArray(" Tiere \t\0xy", 11)) +
                  RecordWithField(0, "Farben"));
        QCOMPARE(file.readLesson(1), QStringLiteral(" Tiere \t"));
        QCOMPARE(file.readLesson(2), QStringLiteral("Farben") + QString(74, QLatin1Char(' ')));
        QCOMPARE(file.readLesson(3), std::nullopt);
    }

    void writeEntry_changesOnlyItsRecord_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("written");
        QTest::newRow("entry 1 of 3") << 1 << true;
        QTest::newRow("entry 3 of 3") << 3 << true;
        QTest::newRow("entry n + 1") << 4 << true;
        QTest::newRow("entry n + 2 (gap)") << 5 << false;
        QTest::newRow("entry 0 (header)") << 0 << false;
        QTest::newRow("negative") << -1 << false;
    }
    void writeEntry_changesOnlyItsRecord()
    {
        QFETCH(int, number);
        QFETCH(bool, written);
        const VocabularyHeader header{QStringLiteral("Titel"), QStringLiteral("Autor"), {}};
        openNumbered(3, VocabularyFile::Access::ReadWrite, header);
        QCOMPARE(file.writeEntry(number, kEntry), written);
        const QByteArray after = ReadBytes(path);
        if (!written) {
            QCOMPARE(after, before);
            return;
        }
        const qsizetype at = qsizetype(number) * kRecordSize;
        QCOMPARE(after.size(), qMax(before.size(), at + kRecordSize));
        QCOMPARE(after.left(at), before.left(at));
        QCOMPARE(after.mid(at + kRecordSize), before.mid(at + kRecordSize));
        QCOMPARE(file.readEntry(number), kEntry);
        QCOMPARE(file.readHeader(), header);
    }

    // Whatever field holds it, text the file cannot hold is refused, never written as
    // something else.
    void unencodableText_writesNothing()
    {
        openNumbered(3);
        const QString bad = QStringLiteral("Haus 家");
        for (int k = 0; k < kEntryFields; ++k) {
            VocabularyEntry entry = kEntry;
            entry.field(k) = bad;
            QCOMPARE(EncodeEntry(entry), std::nullopt);
            QVERIFY(!file.writeEntry(2, entry));
            QVERIFY(!file.writeEntry(4, entry));
        }
        QCOMPARE(EncodeHeader({{}, {}, bad}), std::nullopt);
        QVERIFY(!file.writeHeader({bad, {}, {}}));
        QVERIFY(!file.writeHeader({{}, bad, {}}));
        QVERIFY(!file.writeHeader({{}, {}, bad}));
        QCOMPARE(ReadBytes(path), before);
    }

    void readOnlyOrClosed_refusesOutsideAndWrites()
    {
        openNumbered(2, VocabularyFile::Access::ReadOnly);
        for (int i : {0, 3, -1}) QCOMPARE(file.readEntry(i), std::nullopt);
        QCOMPARE(file.readEntry(2)->german, QStringLiteral("deutsch2"));
        QVERIFY(!file.writeEntry(1, kEntry));
        QVERIFY(!file.writeEntry(3, kEntry));
        QVERIFY(!file.writeHeader({QStringLiteral("Titel"), {}, {}}));
        file.close();
        QCOMPARE(file.readEntry(1), std::nullopt);
        QVERIFY(!file.writeEntry(1, kEntry));
        QCOMPARE(ReadBytes(path), before);
    }

    void shortenedByAnotherProgram_readFails()
    {
        openNumbered(3);
        QVERIFY(QFile::resize(path, 1000));  // entry 2 is cut in half
        QCOMPARE(file.readEntry(2), std::nullopt);
        QCOMPARE(file.readEntry(1)->german, QStringLiteral("deutsch1"));
        // Writing entry 3 would leave a gap in the file: refused.
        QVERIFY(!file.writeEntry(3, kEntry));
        QCOMPARE(QFileInfo(path).size(), 1000);
    }

    void appendOnFullDisk_leavesFileAsItWas()
    {
#ifdef Q_OS_UNIX
        openNumbered(1);
        // A file size limit of 1000 bytes lets half of the new record through, as a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit small = old;
        small.rlim_cur = 1000;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = file.writeEntry(2, kEntry);
        setrlimit(RLIMIT_FSIZE, &old);

        QVERIFY(!written);
        QCOMPARE(ReadBytes(path), before);
        QCOMPARE(CheckVocabularyFile(path, true).status, FileCheck::Valid);
#else
        QSKIP("needs a file size limit");
#endif
    }
};

LK_TEST_MAIN(VocabularyFileTest)
#include "VocabularyFileTest.moc"
