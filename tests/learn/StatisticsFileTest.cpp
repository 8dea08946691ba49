#include "learn/StatisticsFile.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

const QString kPath = QStringLiteral("/home/anna/Vokabeln/englisch.vok");
const QString kUnit = QStringLiteral("Unit 1");

RunResult Make(const QString& path, const QString& lesson, int deleted = 1, int seconds = 245)
{
    return {path, lesson, 12, 9, 3, deleted, seconds, QDate(2001, 3, 5)};
}

RunResult LessonRun()
{
    return Make(kPath, kUnit);
}

QByteArray Record(const RunResult& run = LessonRun())
{
    return EncodeStatisticsRecord(run).value();
}

QString NewStatisticsPath()
{
    return NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
}

}  // namespace

class StatisticsFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordBytes_data()
    {
        QTest::addColumn<RunResult>("run");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char* name, const RunResult& run, int offset,
                            const QByteArray& expected) {
            QTest::newRow(name) << run << offset << expected;
        };
        row("random run: name then 80 blanks", Make(kPath, QString()), 0,
            QByteArray("englisch.vok") + QByteArray(148, ' ') + "12   ");
        row("five number fields", LessonRun(), 160, "12   9    3    1    245  ");
        row("date as ddmmyyyy", LessonRun(), 185, "05032001");
        row("six digits keep the first five", Make(kPath, kUnit, 1, 123456), 180, "12345");
        row("no sign", Make(kPath, kUnit, -4), 175, "0    ");
        row("name cut to 80", Make(QStringLiteral("/v/") + QString(85, u'n'), kUnit), 0,
            QByteArray(80, 'n') + "Unit 1");
        row("lesson cut to 80", Make(kPath, QString(79, u'l') + QStringLiteral("XY")), 80,
            QByteArray(79, 'l') + "X12   ");
        row("Windows-1252 bytes", Make(QStringLiteral("/v/Übung.vok"), QStringLiteral("Größen")),
            0, QByteArray("\xDC" "bung.vok") + QByteArray(71, ' ') + "Gr\xF6\xDF" "en");
        row("unstorable characters become ?", Make(QStringLiteral("/v/Слова😀.vok"), kUnit), 0,
            QByteArray("??????.vok") + QByteArray(70, ' ') + "Unit 1");
    }
    void recordBytes()
    {
        QFETCH(RunResult, run);
        QFETCH(int, offset);
        QFETCH(QByteArray, expected);
        const QByteArray bytes = Record(run);
        QCOMPARE(bytes.size(), kStatisticsRecordSize);
        QCOMPARE(bytes.mid(offset, expected.size()), expected);
    }

    // Fields are kept as stored, untrimmed; a NUL ends the record's text.
    void decode_stopsAtNul()
    {
        QByteArray bytes = Record();
        bytes[82] = '\0';  // inside the lesson
        const StatisticsRecord cut = DecodeStatisticsRecord(bytes);
        QCOMPARE(cut.fileName, QStringLiteral("englisch.vok") + QString(68, u' '));
        QCOMPARE(cut.lesson, QStringLiteral("Un"));
        QVERIFY(cut.total.isEmpty() && cut.date.isEmpty());
        QCOMPARE(DecodeStatisticsRecord(Record()).time, QStringLiteral("245  "));
    }

    // A record is appended as it stands, also to a file whose size is not a multiple of 193.
    void write_appendsAndNeverChangesOldBytes()
    {
        const QString path = NewStatisticsPath();
        const RunResult random = Make(kPath, QString());
        QVERIFY(WriteStatisticsRecord(path, LessonRun()));
        QVERIFY(WriteStatisticsRecord(path, random));
        QCOMPARE(ReadBytes(path), Record() + Record(random));

        QByteArray old(200, '\0');
        for (int i = 0; i < old.size(); ++i) old[i] = char(i);
        QVERIFY(WriteBytes(path, old));
        QVERIFY(WriteStatisticsRecord(path, LessonRun()));
        QCOMPARE(ReadBytes(path), old + Record());
    }

    void failedWrite_reportedAndFileUnchanged_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("directory missing")
            << NewTestDirectory() + QStringLiteral("/nicht-da/Lernkompass.dat");
        QTest::newRow("path is a directory") << NewTestDirectory();
        // A device that accepts the open and refuses every byte: a full disk.
        if (QFile::exists(QStringLiteral("/dev/full")))
            QTest::newRow("disk full") << QStringLiteral("/dev/full");
    }
    void failedWrite_reportedAndFileUnchanged()
    {
        QFETCH(QString, path);
        const bool existed = QFileInfo::exists(path);
        QVERIFY(!WriteStatisticsRecord(path, LessonRun()));
        QCOMPARE(QFileInfo::exists(path), existed);
        if (QFileInfo(path).isFile())
            QCOMPARE(QFileInfo(path).size(), 0);
    }

    void reader_status_data()
    {
        QTest::addColumn<QByteArray>("content");  // null: no file at all
        QTest::addColumn<StatisticsReader::Status>("status");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("message");
        using S = StatisticsReader::Status;
        const QString damaged = QStringLiteral("Statistikdatei fehlerhaft oder leer!");
        QTest::newRow("no file") << QByteArray() << S::Missing << 0
                                 << QStringLiteral("Statistikdatei nicht vorhanden!");
        QTest::newRow("empty") << QByteArray("") << S::Damaged << 0 << damaged;
        QTest::newRow("200 bytes") << QByteArray(200, 'x') << S::Damaged << 0 << damaged;
        QTest::newRow("one record short") << Record() + Record().left(192) << S::Damaged << 0
                                          << damaged;
        QTest::newRow("two records") << Record() + Record() << S::Ok << 2 << QString();
    }
    void reader_status()
    {
        QFETCH(QByteArray, content);
        QFETCH(StatisticsReader::Status, status);
        const QString path = NewStatisticsPath();
        if (!content.isNull())
            QVERIFY(WriteBytes(path, content));
        StatisticsReader reader;
        QCOMPARE(reader.open(path), status);
        QTEST(reader.recordCount(), "records");
        QTEST(StatisticsReader::message(status), "message");
    }

    void reader_readsOnlyWithinTheFile()
    {
        const QString path = NewStatisticsPath();
        RunResult second = LessonRun();
        second.total = 7;
        QVERIFY(WriteBytes(path, Record() + Record(second)));

        StatisticsReader reader;
        QCOMPARE(reader.open(path), StatisticsReader::Status::Ok);
        QCOMPARE(reader.read(1)->total, QStringLiteral("7    "));
        QVERIFY(!reader.read(2));
        QVERIFY(!reader.read(-1));

        // Shortened by someone else while open: the lost record is not invented.
        QVERIFY(QFile::resize(path, 193 + 100));
        QCOMPARE(reader.read(0)->total, QStringLiteral("12   "));
        QVERIFY(!reader.read(1));
    }

    void path_besideWritableProgramElseDataDirectory()
    {
        const QString dir = NewTestDirectory();
        QCOMPARE(StatisticsFilePath(dir), dir + QStringLiteral("/Lernkompass.dat"));
        // The writability probe leaves nothing behind.
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());

        // A directory nobody can create files in (tests run as any user, root included).
        const QString missingDir = dir + QStringLiteral("/nicht-da");
        const QString path = StatisticsFilePath(missingDir);
        QCOMPARE(path, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                           QStringLiteral("/Lernkompass.dat"));
        QVERIFY(path.startsWith(TestRoot()));
        QVERIFY(WriteStatisticsRecord(path, LessonRun()));
        StatisticsReader reader;
        QCOMPARE(reader.open(StatisticsFilePath(missingDir)), StatisticsReader::Status::Ok);
    }
};

LK_TEST_MAIN(StatisticsFileTest)
#include "StatisticsFileTest.moc"
