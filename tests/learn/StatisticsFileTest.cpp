#include "learn/StatisticsFile.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

RunResult LessonRun()
{
    return {QStringLiteral("/home/anna/Vokabeln/englisch.vok"), QStringLiteral("Unit 1"), 12, 9,
            3, 1, 245, QDate(2001, 3, 5)};
}

QByteArray Blanks(int n)
{
    return QByteArray(n, ' ');
}

}  // namespace

class StatisticsFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordBytes_data();
    void recordBytes();
    void decode_roundTripsUntrimmedFields();
    void decode_nulEndsTheRecordText();

    void firstRun_createsOneRecord_secondAppends();
    void appendToOddSizedFile_keepsItsBytes();
    void failedWrite_reportedAndFileUnchanged_data();
    void failedWrite_reportedAndFileUnchanged();

    void reader_status_data();
    void reader_status();
    void reader_readsOnlyWithinTheFile();

    void path_besideWritableProgram();
    void path_unwritableProgramDirectory_usesDataDirectory();
};

void StatisticsFileTest::recordBytes_data()
{
    QTest::addColumn<RunResult>("run");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("expected");

    RunResult random{QStringLiteral("/tmp/vokabeln.vok"), QString(), 30, 30, 0, 0, 60,
                     QDate(2001, 3, 5)};
    QTest::newRow("random run: name then 80 blanks")
        << random << 0 << QByteArray("vokabeln.vok") + Blanks(68) + Blanks(80);
    QTest::newRow("five number fields")
        << LessonRun() << 160 << QByteArray("12   9    3    1    245  ");
    QTest::newRow("date as ddmmyyyy") << LessonRun() << 185 << QByteArray("05032001");

    RunResult longTime = LessonRun();
    longTime.seconds = 123456;
    QTest::newRow("six digits keep the first five") << longTime << 180 << QByteArray("12345");
    RunResult negative = LessonRun();
    negative.deleted = -4;
    QTest::newRow("no sign") << negative << 175 << QByteArray("0    ");

    RunResult longName = LessonRun();
    longName.vocabularyPath = QStringLiteral("/v/") + QString(85, QLatin1Char('n'));
    QTest::newRow("name cut to 80") << longName << 0 << QByteArray(80, 'n') + "Unit 1";
    RunResult longLesson = LessonRun();
    longLesson.lesson = QString(79, QLatin1Char('l')) + QStringLiteral("XY");
    QTest::newRow("lesson cut to 80")
        << longLesson << 80 << QByteArray(79, 'l') + "X12   ";

    RunResult umlauts = LessonRun();
    umlauts.vocabularyPath = QStringLiteral("/v/Übung.vok");
    umlauts.lesson = QStringLiteral("Größen");
    QTest::newRow("Windows-1252 bytes")
        << umlauts << 0 << QByteArray("\xDC" "bung.vok") + Blanks(71) + "Gr\xF6\xDF" "en";
    RunResult foreignName = LessonRun();
    foreignName.vocabularyPath = QStringLiteral("/v/Слова😀.vok");
    QTest::newRow("unstorable name characters become ?")
        << foreignName << 0 << QByteArray("??????.vok") + Blanks(70) + "Unit 1";
}

void StatisticsFileTest::recordBytes()
{
    QFETCH(RunResult, run);
    QFETCH(int, offset);
    QFETCH(QByteArray, expected);
    const auto bytes = EncodeStatisticsRecord(run);
    QVERIFY(bytes);
    QCOMPARE(bytes->size(), kStatisticsRecordSize);
    QCOMPARE(bytes->mid(offset, expected.size()), expected);
}

void StatisticsFileTest::decode_roundTripsUntrimmedFields()
{
    const auto blanks = [](int n) { return QString(n, QLatin1Char(' ')); };
    const StatisticsRecord expected{
        QStringLiteral("englisch.vok") + blanks(68), QStringLiteral("Unit 1") + blanks(74),
        QStringLiteral("12   "), QStringLiteral("9    "), QStringLiteral("3    "),
        QStringLiteral("1    "), QStringLiteral("245  "), QStringLiteral("05032001")};
    QCOMPARE(DecodeStatisticsRecord(*EncodeStatisticsRecord(LessonRun())), expected);
}

void StatisticsFileTest::decode_nulEndsTheRecordText()
{
    QByteArray bytes = *EncodeStatisticsRecord(LessonRun());
    bytes[82] = '\0';  // inside the lesson
    const StatisticsRecord record = DecodeStatisticsRecord(bytes);
    QCOMPARE(record.fileName.size(), 80);
    QCOMPARE(record.lesson, QStringLiteral("Un"));
    QVERIFY(record.total.isEmpty());
    QVERIFY(record.date.isEmpty());
}

void StatisticsFileTest::firstRun_createsOneRecord_secondAppends()
{
    const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
    QVERIFY(WriteStatisticsRecord(path, LessonRun()));
    const QByteArray first = ReadBytes(path);
    QCOMPARE(first, *EncodeStatisticsRecord(LessonRun()));

    RunResult second = LessonRun();
    second.lesson.clear();
    QVERIFY(WriteStatisticsRecord(path, second));
    const QByteArray both = ReadBytes(path);
    QCOMPARE(both.size(), 386);
    QCOMPARE(both.left(193), first);
    QCOMPARE(both.mid(193), *EncodeStatisticsRecord(second));
}

void StatisticsFileTest::appendToOddSizedFile_keepsItsBytes()
{
    const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
    QByteArray old(200, '\0');
    for (int i = 0; i < old.size(); ++i)
        old[i] = char(i);
    QVERIFY(WriteBytes(path, old));
    QVERIFY(WriteStatisticsRecord(path, LessonRun()));
    QCOMPARE(ReadBytes(path), old + *EncodeStatisticsRecord(LessonRun()));
}

void StatisticsFileTest::failedWrite_reportedAndFileUnchanged_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("directory missing")
        << NewTestDirectory() + QStringLiteral("/nicht-da/Lernkompass.dat");
    QTest::newRow("path is a directory") << NewTestDirectory();
    // A device that accepts the open and refuses every byte: a full disk.
    if (QFile::exists(QStringLiteral("/dev/full")))
        QTest::newRow("disk full") << QStringLiteral("/dev/full");
}

void StatisticsFileTest::failedWrite_reportedAndFileUnchanged()
{
    QFETCH(QString, path);
    const bool existed = QFileInfo::exists(path);
    QVERIFY(!WriteStatisticsRecord(path, LessonRun()));
    QCOMPARE(QFileInfo::exists(path), existed);
    if (QFileInfo(path).isFile())
        QCOMPARE(QFileInfo(path).size(), 0);
}

void StatisticsFileTest::reader_status_data()
{
    QTest::addColumn<QByteArray>("content");  // "-" for no file at all
    QTest::addColumn<StatisticsReader::Status>("status");
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("message");

    const QString missing = QStringLiteral("Statistikdatei nicht vorhanden!");
    const QString damaged = QStringLiteral("Statistikdatei fehlerhaft oder leer!");
    const QByteArray record = *EncodeStatisticsRecord(LessonRun());
    QTest::newRow("no file") << QByteArray("-") << StatisticsReader::Status::Missing << 0
                             << missing;
    QTest::newRow("empty") << QByteArray() << StatisticsReader::Status::Damaged << 0 << damaged;
    QTest::newRow("200 bytes") << QByteArray(200, 'x') << StatisticsReader::Status::Damaged << 0
                               << damaged;
    QTest::newRow("one record short") << record + record.left(192)
                                      << StatisticsReader::Status::Damaged << 0 << damaged;
    QTest::newRow("two records") << record + record << StatisticsReader::Status::Ok << 2
                                 << QString();
}

void StatisticsFileTest::reader_status()
{
    QFETCH(QByteArray, content);
    QFETCH(StatisticsReader::Status, status);
    QFETCH(int, records);
    QFETCH(QString, message);
    const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
    if (content != "-")
        QVERIFY(WriteBytes(path, content));
    StatisticsReader reader;
    QCOMPARE(reader.open(path), status);
    QCOMPARE(reader.recordCount(), records);
    QCOMPARE(StatisticsReader::message(status), message);
}

void StatisticsFileTest::reader_readsOnlyWithinTheFile()
{
    const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
    RunResult second = LessonRun();
    second.total = 7;
    QVERIFY(WriteStatisticsRecord(path, LessonRun()));
    QVERIFY(WriteStatisticsRecord(path, second));

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

void StatisticsFileTest::path_besideWritableProgram()
{
    const QString dir = NewTestDirectory();
    QCOMPARE(StatisticsFilePath(dir), dir + QStringLiteral("/Lernkompass.dat"));
    // The writability probe leaves nothing behind.
    QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

void StatisticsFileTest::path_unwritableProgramDirectory_usesDataDirectory()
{
    // A directory nobody can create files in (tests run as any user, root included).
    const QString programDir = NewTestDirectory() + QStringLiteral("/nicht-da");
    const QString path = StatisticsFilePath(programDir);
    QCOMPARE(path, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                       QStringLiteral("/Lernkompass.dat"));
    QVERIFY(path.startsWith(TestRoot()));
    // The same place for writing and reading.
    QVERIFY(WriteStatisticsRecord(path, LessonRun()));
    StatisticsReader reader;
    QCOMPARE(reader.open(StatisticsFilePath(programDir)), StatisticsReader::Status::Ok);
    QCOMPARE(reader.recordCount(), 1);
}

LK_TEST_MAIN(StatisticsFileTest)
#include "StatisticsFileTest.moc"
