#include "app/AnsiText.h"
#include "support/TestSupport.h"
#include "vocab/VocabularyFile.h"

#include <QApplication>
#include <QFileInfo>

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

VocabularyEntry Entry(const QString& lesson, const QString& german, const QString& foreign,
                      const QString& synonyms = {}, const QString& remark = {})
{
    return {lesson, german, foreign, synonyms, remark};
}

// Where the two byte arrays differ: [first, last] byte, or {-1, -1}.
QPair<qsizetype, qsizetype> ChangedRange(const QByteArray& before, const QByteArray& after)
{
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < std::max(before.size(), after.size()); ++i) {
        if (i >= before.size() || i >= after.size() || before[i] != after[i]) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    return {first, last};
}

}  // namespace

class VocabularyFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void check_bySize_data();
    void check_bySize();
    void check_missingFile();
    void create_writesBlankHeader_overExistingFile();
    void open_neverCreatesAFile();
    void fieldWidth_data();
    void fieldWidth();
    void headerWidths();
    void readField_data();
    void readField();
    void readLesson_isUntrimmed();
    void ansiText_isStoredAsSingleBytes();
    void writeEntry_growsOrChangesOnlyItsRecord_data();
    void writeEntry_growsOrChangesOnlyItsRecord();
    void writeHeader_changesOnlyRecordZero();
    void unencodableText_writesNothing_data();
    void unencodableText_writesNothing();
    void reads_outsideTheFile_fail();
    void shortenedByAnotherProgram_readFails();
    void readOnly_refusesWrites();
    void appendOnFullDisk_leavesFileAsItWas();
};

void VocabularyFileTest::check_bySize_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("requireEntry");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("entries");
    const int valid = int(FileCheck::Valid);
    const int bad = int(FileCheck::BadFormat);
    QTest::newRow("0, editor") << 0 << true << bad << 0;
    QTest::newRow("0, learning") << 0 << false << bad << 0;
    QTest::newRow("399") << 399 << false << bad << 0;
    QTest::newRow("400, editor") << 400 << true << bad << 0;
    QTest::newRow("400, learning") << 400 << false << valid << 0;
    QTest::newRow("800, editor") << 800 << true << valid << 1;
    QTest::newRow("800, learning") << 800 << false << valid << 1;
    QTest::newRow("801") << 801 << false << bad << 0;
    QTest::newRow("1199") << 1199 << true << bad << 0;
    QTest::newRow("1200") << 1200 << true << valid << 2;
    QTest::newRow("40000") << 40000 << true << valid << 99;
}

void VocabularyFileTest::check_bySize()
{
    QFETCH(int, size);
    QFETCH(bool, requireEntry);
    QFETCH(int, status);
    QFETCH(int, entries);
    const QString path = NewTestDirectory() + QStringLiteral("/liste.vok");
    const QByteArray bytes(size, 'x');
    QVERIFY(WriteBytes(path, bytes));

    const FileCheckResult result = CheckVocabularyFile(path, requireEntry);
    QCOMPARE(int(result.status), status);
    QCOMPARE(result.entryCount, entries);
    QCOMPARE(CheckMessage(result.status),
             result.status == FileCheck::Valid
                 ? QString()
                 : QStringLiteral("Die Datei hat ein ungültiges Format!"));
    QCOMPARE(ReadBytes(path), bytes);  // a check never changes the file
}

void VocabularyFileTest::check_missingFile()
{
    const QString path = NewTestDirectory() + QStringLiteral("/fehlt.vok");
    const FileCheckResult result = CheckVocabularyFile(path, false);
    QCOMPARE(result.status, FileCheck::Missing);
    QCOMPARE(CheckMessage(result.status), QStringLiteral("Datei existiert nicht!"));
    QVERIFY(!QFileInfo::exists(path));
}

void VocabularyFileTest::create_writesBlankHeader_overExistingFile()
{
    const QString path =
        WriteVocabularyFile(NewTestDirectory(), QStringLiteral("alt.vok"), NumberedEntries(3));
    VocabularyFile file;
    QVERIFY(file.create(path));
    QVERIFY(file.isOpen());
    QCOMPARE(file.entryCount(), 0);
    QCOMPARE(ReadBytes(path), QByteArray(kRecordSize, ' '));
    QCOMPARE(file.readHeader(), VocabularyHeader{});
    // The file stays open for writing: the first entry becomes record 1.
    QVERIFY(file.writeEntry(1, Entry(QStringLiteral("1"), QStringLiteral("Haus"),
                                     QStringLiteral("house"))));
    QCOMPARE(QFileInfo(path).size(), 800);
}

void VocabularyFileTest::open_neverCreatesAFile()
{
    const QString path = NewTestDirectory() + QStringLiteral("/fehlt.vok");
    VocabularyFile file;
    QVERIFY(!file.open(path));
    QVERIFY(!file.open(path, VocabularyFile::Access::ReadOnly));
    QVERIFY(!file.isOpen());
    QVERIFY(!QFileInfo::exists(path));
}

void VocabularyFileTest::fieldWidth_data()
{
    QTest::addColumn<QString>("lesson");
    QTest::addColumn<QByteArray>("stored");
    const QString eighty = QStringLiteral("Lektion-") + QString(72, QLatin1Char('x'));
    QTest::newRow("80 characters") << eighty << eighty.toLatin1();
    QTest::newRow("81 characters") << eighty + QLatin1Char('y') << eighty.toLatin1();
    QTest::newRow("200 characters") << eighty + QString(120, QLatin1Char('y')) << eighty.toLatin1();
    QTest::newRow("short") << QStringLiteral("Tiere") << QByteArray("Tiere") + QByteArray(75, ' ');
    QTest::newRow("empty") << QString() << QByteArray(80, ' ');
}

void VocabularyFileTest::fieldWidth()
{
    QFETCH(QString, lesson);
    QFETCH(QByteArray, stored);
    const QString path = NewTestDirectory() + QStringLiteral("/breite.vok");
    VocabularyFile file;
    QVERIFY(file.create(path));
    QVERIFY(file.writeEntry(1, Entry(lesson, QStringLiteral("Haus"), QStringLiteral("house"))));

    const QByteArray bytes = ReadBytes(path);
    QCOMPARE(bytes.size(), 2 * kRecordSize);
    QCOMPARE(bytes.mid(400, 80), stored);
    // The German term follows in the very next byte, without terminator.
    QCOMPARE(bytes.mid(480, 4), QByteArray("Haus"));
    QCOMPARE(bytes.mid(484, 76), QByteArray(76, ' '));
    QCOMPARE(file.readEntry(1)->lesson, QString::fromLatin1(stored).trimmed());
}

void VocabularyFileTest::headerWidths()
{
    const QString path = NewTestDirectory() + QStringLiteral("/kopf.vok");
    VocabularyFile file;
    QVERIFY(file.create(path));
    const QString remarks = QString(240, QLatin1Char('b'));
    QVERIFY(file.writeHeader({QString(90, QLatin1Char('t')), QStringLiteral("Anna"),
                              remarks + QStringLiteral("zu viel")}));
    const QByteArray bytes = ReadBytes(path);
    QCOMPARE(bytes.size(), kRecordSize);
    QCOMPARE(bytes.left(80), QByteArray(80, 't'));
    QCOMPARE(bytes.mid(80, 80), QByteArray("Anna") + QByteArray(76, ' '));
    QCOMPARE(bytes.mid(160), QByteArray(240, 'b'));
    const VocabularyHeader header = file.readHeader().value();
    QCOMPARE(header.title, QString(80, QLatin1Char('t')));
    QCOMPARE(header.author, QStringLiteral("Anna"));
    QCOMPARE(header.remarks, remarks);
}

void VocabularyFileTest::readField_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("NUL as eleventh byte") << 1 << QByteArray("0123456789\0Rest", 15)
                                          << QStringLiteral("0123456789");
    QTest::newRow("NUL first") << 2 << QByteArray("\0Haus", 5) << QString();
    QTest::newRow("blanks around a word") << 0 << QByteArray("  Wort   ") << QStringLiteral("Wort");
    QTest::newRow("blanks, word, NUL, junk") << 3 << QByteArray("  Wort \0 x", 10)
                                             << QStringLiteral("Wort");
    QTest::newRow("inner blanks kept") << 4 << QByteArray(" zu  Hause ")
                                       << QStringLiteral("zu  Hause");
    QTest::newRow("tab stays") << 1 << QByteArray("\tHaus\t") << QStringLiteral("\tHaus\t");
    QTest::newRow("only blanks") << 2 << QByteArray(80, ' ') << QString();
    QTest::newRow("full field") << 4 << QByteArray(80, 'z') << QString(80, QLatin1Char('z'));
    QTest::newRow("Windows-1252") << 1 << QByteArray("\xC4rger \x80 \x9F")
                                  << QStringLiteral("Ärger € Ÿ");
    QTest::newRow("placeholder of other tools") << 3 << QByteArray("(leer)")
                                                << QStringLiteral("(leer)");
}

void VocabularyFileTest::readField()
{
    QFETCH(int, field);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString path = NewTestDirectory() + QStringLiteral("/fremd.vok");
    QVERIFY(WriteBytes(path, QByteArray(kRecordSize, ' ') + RecordWithField(field, bytes)));

    VocabularyFile file;
    QVERIFY(file.open(path, VocabularyFile::Access::ReadOnly));
    const VocabularyEntry entry = file.readEntry(1).value();
    for (int k = 0; k < kEntryFields; ++k)
        QCOMPARE(entry.field(k), k == field ? expected : QString());
}

void VocabularyFileTest::readLesson_isUntrimmed()
{
    const QString path = NewTestDirectory() + QStringLiteral("/lektion.vok");
    QVERIFY(WriteBytes(path, QByteArray(kRecordSize, ' ') +
                                 RecordWithField(0, QByteArray(" Tiere \t\0xy", 11)) +
                                 RecordWithField(0, "Farben")));
    VocabularyFile file;
    QVERIFY(file.open(path, VocabularyFile::Access::ReadOnly));
    QCOMPARE(file.readLesson(1), QStringLiteral(" Tiere \t"));
    QCOMPARE(file.readLesson(2), QStringLiteral("Farben") + QString(74, QLatin1Char(' ')));
    QCOMPARE(file.readLesson(3), std::nullopt);
}

void VocabularyFileTest::ansiText_isStoredAsSingleBytes()
{
    const QString path = NewTestDirectory() + QStringLiteral("/umlaut.vok");
    VocabularyFile file;
    QVERIFY(file.create(path));
    const VocabularyEntry entry = Entry(QStringLiteral("Übung"), QStringLiteral("Äpfel €"),
                                        QStringLiteral("apples"), QStringLiteral("œuvre"),
                                        QStringLiteral("ß µ ÿ"));
    QVERIFY(file.writeEntry(1, entry));
    const QByteArray bytes = ReadBytes(path);
    QCOMPARE(bytes.size(), 800);
    QCOMPARE(bytes.mid(400, 5), QByteArray("\xDC" "bung"));
    QCOMPARE(bytes.mid(480, 7), QByteArray("\xC4pfel \x80"));
    QCOMPARE(bytes.mid(640, 5), QByteArray("\x9Cuvre"));
    QCOMPARE(bytes.mid(720, 5), QByteArray("\xDF \xB5 \xFF"));
    QCOMPARE(file.readEntry(1), entry);
}

void VocabularyFileTest::writeEntry_growsOrChangesOnlyItsRecord_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("sizeAfter");
    QTest::newRow("entry 1 of 3") << 1 << true << 1600;
    QTest::newRow("entry 2 of 3") << 2 << true << 1600;
    QTest::newRow("entry 3 of 3") << 3 << true << 1600;
    QTest::newRow("entry n + 1") << 4 << true << 2000;
    QTest::newRow("entry n + 2 (gap)") << 5 << false << 1600;
    QTest::newRow("entry 0 (header)") << 0 << false << 1600;
    QTest::newRow("negative") << -1 << false << 1600;
}

void VocabularyFileTest::writeEntry_growsOrChangesOnlyItsRecord()
{
    QFETCH(int, number);
    QFETCH(bool, written);
    QFETCH(int, sizeAfter);
    const VocabularyHeader header{QStringLiteral("Titel"), QStringLiteral("Autor"), QString()};
    const QString path = WriteVocabularyFile(NewTestDirectory(), QStringLiteral("drei.vok"),
                                             NumberedEntries(3), header);
    const QByteArray before = ReadBytes(path);

    VocabularyFile file;
    QVERIFY(file.open(path));
    const VocabularyEntry entry = Entry(QStringLiteral("Neu"), QStringLiteral("Baum"),
                                        QStringLiteral("tree"), QStringLiteral("wood"),
                                        QStringLiteral("auch: Holz"));
    QCOMPARE(file.writeEntry(number, entry), written);
    QCOMPARE(file.entryCount(), sizeAfter / kRecordSize - 1);

    const QByteArray after = ReadBytes(path);
    QCOMPARE(after.size(), sizeAfter);
    const auto [first, last] = ChangedRange(before, after);
    if (!written) {
        QCOMPARE(first, -1);
        return;
    }
    QVERIFY(first >= qsizetype(number) * kRecordSize);
    QVERIFY(last < qsizetype(number + 1) * kRecordSize);
    QCOMPARE(file.readEntry(number), entry);
    QCOMPARE(file.readHeader(), header);
}

void VocabularyFileTest::writeHeader_changesOnlyRecordZero()
{
    const QString path =
        WriteVocabularyFile(NewTestDirectory(), QStringLiteral("kopf.vok"), NumberedEntries(2));
    const QByteArray before = ReadBytes(path);
    VocabularyFile file;
    QVERIFY(file.open(path));
    const VocabularyHeader header{QStringLiteral("Englisch"), QStringLiteral("Jörg"),
                                  QStringLiteral("für die 5. Klasse")};
    QVERIFY(file.writeHeader(header));
    const QByteArray after = ReadBytes(path);
    QCOMPARE(after.mid(kRecordSize), before.mid(kRecordSize));
    QCOMPARE(file.readHeader(), header);
}

void VocabularyFileTest::unencodableText_writesNothing_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("A with macron, existing entry") << 2 << 4 << QStringLiteral("Ā");
    QTest::newRow("CJK, new entry") << 4 << 1 << QStringLiteral("Haus 家");
    QTest::newRow("emoji, lesson") << 1 << 0 << QStringLiteral("Tiere 🐈");
    QTest::newRow("U+0080 has no byte") << 3 << 2 << QString(QChar(0x80));
}

void VocabularyFileTest::unencodableText_writesNothing()
{
    QFETCH(int, number);
    QFETCH(int, field);
    QFETCH(QString, text);
    const QString path =
        WriteVocabularyFile(NewTestDirectory(), QStringLiteral("drei.vok"), NumberedEntries(3));
    const QByteArray before = ReadBytes(path);

    VocabularyEntry entry = Entry(QStringLiteral("1"), QStringLiteral("Haus"),
                                  QStringLiteral("house"));
    entry.field(field) = text;
    QCOMPARE(EncodeEntry(entry), std::nullopt);
    QCOMPARE(EncodeHeader({text, QString(), QString()}), std::nullopt);

    VocabularyFile file;
    QVERIFY(file.open(path));
    QVERIFY(!file.writeEntry(number, entry));
    QVERIFY(!file.writeHeader({QStringLiteral("Titel"), QString(), text}));
    QCOMPARE(ReadBytes(path), before);
}

void VocabularyFileTest::reads_outsideTheFile_fail()
{
    const QString path =
        WriteVocabularyFile(NewTestDirectory(), QStringLiteral("zwei.vok"), NumberedEntries(2));
    VocabularyFile file;
    QVERIFY(file.open(path, VocabularyFile::Access::ReadOnly));
    QCOMPARE(file.readEntry(0), std::nullopt);
    QCOMPARE(file.readEntry(3), std::nullopt);
    QCOMPARE(file.readEntry(-1), std::nullopt);
    QCOMPARE(file.readEntry(2)->german, QStringLiteral("deutsch2"));
    file.close();
    QCOMPARE(file.readEntry(1), std::nullopt);
    QVERIFY(!file.writeEntry(1, NumberedEntries(1).first()));
}

void VocabularyFileTest::shortenedByAnotherProgram_readFails()
{
    const QString path =
        WriteVocabularyFile(NewTestDirectory(), QStringLiteral("kurz.vok"), NumberedEntries(3));
    VocabularyFile file;
    QVERIFY(file.open(path));
    QVERIFY(QFile::resize(path, 1000));  // entry 2 is cut in half
    QCOMPARE(file.readEntry(2), std::nullopt);
    QCOMPARE(file.readEntry(1)->german, QStringLiteral("deutsch1"));
    // Writing entry 3 would leave a gap in the file: refused.
    QVERIFY(!file.writeEntry(3, NumberedEntries(1).first()));
    QCOMPARE(QFileInfo(path).size(), 1000);
}

void VocabularyFileTest::readOnly_refusesWrites()
{
    const QString path =
        WriteVocabularyFile(NewTestDirectory(), QStringLiteral("lesen.vok"), NumberedEntries(2));
    const QByteArray before = ReadBytes(path);
    VocabularyFile file;
    QVERIFY(file.open(path, VocabularyFile::Access::ReadOnly));
    QVERIFY(!file.writeEntry(1, NumberedEntries(1, QStringLiteral("X")).first()));
    QVERIFY(!file.writeEntry(3, NumberedEntries(1, QStringLiteral("X")).first()));
    QVERIFY(!file.writeHeader({QStringLiteral("Titel"), QString(), QString()}));
    QCOMPARE(ReadBytes(path), before);
}

void VocabularyFileTest::appendOnFullDisk_leavesFileAsItWas()
{
#ifdef Q_OS_UNIX
    const QString path =
        WriteVocabularyFile(NewTestDirectory(), QStringLiteral("voll.vok"), NumberedEntries(1));
    const QByteArray before = ReadBytes(path);
    VocabularyFile file;
    QVERIFY(file.open(path));

    // A file size limit of 1000 bytes lets half of the new record through, as a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 1000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = file.writeEntry(2, NumberedEntries(2).last());
    setrlimit(RLIMIT_FSIZE, &old);

    QVERIFY(!written);
    QCOMPARE(ReadBytes(path), before);
    QCOMPARE(CheckVocabularyFile(path, true).status, FileCheck::Valid);
#else
    QSKIP("needs a file size limit");
#endif
}

LK_TEST_MAIN(VocabularyFileTest)
#include "VocabularyFileTest.moc"
