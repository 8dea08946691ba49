#include "app/AnsiText.h"
#include "learn/StatisticsFile.h"
#include "support/VocabTests.h"

#include <QStandardPaths>

namespace {

const QString kPath = QStringLiteral("/home/anna/Vokabeln/englisch.vok");
const QString kUnit = QStringLiteral("Unit 1");

RunResult Make(const QString& path, const QString& lesson, int seconds = 245)
{
    return {path, lesson, 12, 9, 3, 1, seconds, QDate(2001, 3, 5)};
}

QByteArray Record(const RunResult& run = Make(kPath, kUnit))
{
    return EncodeStatisticsRecord(run).value();
}

}  // namespace

class StatisticsFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordBytes_data()
    {
        DataColumns<RunResult, int, QByteArray>("run", "offset", "expected");
        const auto row = [](const char* name, const RunResult& run, int offset,
                            const QByteArray& expected) {
            QTest::newRow(name) << run << offset << expected;
        };
        row("random run: name, 80 blanks, numbers, date", Make(kPath, QString()), 0,
            "englisch.vok" + QByteArray(148, ' ') + "12   9    3    1    245  05032001");
        row("six digits keep the first five", Make(kPath, kUnit, 123456), 180, "12345");
        row("name cut to 80", Make(QStringLiteral("/v/") + QString(85, u'n'), kUnit), 0,
            QByteArray(80, 'n') + "Unit 1");
        row("lesson cut to 80", Make(kPath, QString(79, u'l') + QStringLiteral("XY")), 80,
            QByteArray(79, 'l') + "X12   ");
        row("Windows-1252 bytes, ? for the rest",
            Make(QStringLiteral("/v/Übung😀.vok"), QStringLiteral("Größen")), 0,
            "\xDC"
            "bung?.vok" +
                QByteArray(70, ' ') +
                "Gr\xF6\xDF"
                "en");
    }
    void recordBytes()
    {
        const auto [run, offset, expected] =
            DataRow<RunResult, int, QByteArray>("run", "offset", "expected");
        const QByteArray bytes = Record(run);
        QCOMPARE(bytes.size(), kStatisticsRecordSize);
        QCOMPARE(bytes.mid(offset, expected.size()), expected);
    }

    // A record is appended on a record boundary: the stray bytes of a torn record are cut.
    void write_appendsOrReportsFailure()
    {
        const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
        const QByteArray old = Record(Make(kPath, kUnit, 7)) + Record(Make(kPath, kUnit, 8));
        QVERIFY(WriteBytes(path, old + Record().left(1)));
        QVERIFY(WriteStatisticsRecord(path, Make(kPath, kUnit)));
        QVERIFY(WriteStatisticsRecord(path, Make(kPath, QString())));
        QCOMPARE(ReadBytes(path), old + Record() + Record(Make(kPath, QString())));
        // A record cut short by a full disk is taken back; the runs before it stay.
        const QByteArray history = ReadBytes(path);
        const auto cut = WithFileSizeLimit(
            history.size() + 100, [&] { return WriteStatisticsRecord(path, Make(kPath, kUnit)); });
        if (cut) {
            QVERIFY(!*cut);
            QCOMPARE(ReadBytes(path), history);
        }
        // A full disk (/dev/full refuses every byte) is reported.
        const QString full = QStringLiteral("/dev/full");
        QVERIFY(!QFile::exists(full) || !WriteStatisticsRecord(full, Make(kPath, kUnit)));
    }

    // The scans read many records per call: they must find what reading one record at a
    // time finds, across block ends, with NULs and blanks, and in a file shortened while
    // it is open.
    void scans_matchRecordByRecordReading_data()
    {
        DataColumns<int>("keep");  // records left of 5000 once the reader is open
        QTest::newRow("whole") << 5000;
        QTest::newRow("shortened meanwhile") << 2100;
    }
    void scans_matchRecordByRecordReading()
    {
        const auto [keep] = DataRow<int>("keep");
        const QStringList names{
            QStringLiteral("/v/englisch.vok"), QStringLiteral("/v/ englisch.vok"),
            QStringLiteral("/v/englisch.vokx"), QStringLiteral("/v/andere.vok")};
        const QStringList lessons{kUnit, QStringLiteral(" Unit 1  "), QStringLiteral("Ünit 2"),
                                  QString()};
        QByteArray bytes;
        for (int i = 0; i < 5000; ++i) {
            bytes += Record(Make(names[i % 4], lessons[i % 7 % 4]));
            // A NUL after "englisch.vok" (the lesson is empty) or inside the lesson.
            if (i % 3 < 2)
                bytes[qsizetype(i) * kStatisticsRecordSize + (i % 3 ? 84 : 12)] = '\0';
        }
        const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
        QVERIFY(WriteBytes(path, bytes));
        StatisticsReader reader;
        QCOMPARE(reader.open(path), StatisticsReader::Status::Ok);
        QFile(path).resize(qint64(keep) * kStatisticsRecordSize);

        const QString name = QStringLiteral("englisch.vok");
        QStringList expectedLessons;
        QList<StatisticsRecord> records;
        QVERIFY(!reader.read(keep));
        for (int i = 0; i < keep; ++i) {
            const StatisticsRecord record = reader.read(i).value();
            records << record;
            if (TrimBlanks(record.fileName) == name && !TrimBlanks(record.lesson).isEmpty() &&
                !expectedLessons.contains(record.lesson))
                expectedLessons << record.lesson;
        }
        QCOMPARE(StatisticsLessons(reader, name), expectedLessons);
        // "Unit 1", " Unit 1  ", "Ünit 2", and the three cut short by a NUL
        QCOMPARE(expectedLessons.size(), 6);
        for (const QString& lesson : expectedLessons + QStringList{QString()}) {
            QList<StatisticsRecord> expected;
            for (const StatisticsRecord& record : records)
                if (TrimBlanks(record.lesson) == TrimBlanks(lesson) &&
                    TrimBlanks(record.fileName) == name)
                    expected << record;
            QCOMPARE(MatchingStatisticsRecords(reader, name, TrimBlanks(lesson)), expected);
        }
    }

    // Beside the program when its directory is writable, else in the user's data directory;
    // reading finds the file where writing put it.
    void path_besideWritableProgramElseDataDirectory()
    {
        const QString dir = NewTestDirectory();
        QCOMPARE(StatisticsFilePath(dir), dir + QStringLiteral("/Lernkompass.dat"));
        // The writability probe leaves nothing behind.
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());

        const QString missingDir = dir + QStringLiteral("/nicht-da");
        const QString path = StatisticsFilePath(missingDir);
        QCOMPARE(path, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                           QStringLiteral("/Lernkompass.dat"));
        QVERIFY(WriteStatisticsRecord(path, Make(kPath, kUnit)));
        StatisticsReader reader;
        QCOMPARE(reader.open(StatisticsFilePath(missingDir)), StatisticsReader::Status::Ok);
    }
};

LK_TEST_MAIN(StatisticsFileTest)
#include "StatisticsFileTest.moc"
