#include "support/TestSupport.h"
#include "tools/WinVokLibrary.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

// Libraries are built byte by byte here; the expected vocabulary files field by field.
namespace {

QByteArray Text(const QByteArray& s)
{
    return char(s.size()) + s;
}
QByteArray Word(int n)
{
    return QByteArray(1, char(n & 0xff)) + char(n >> 8);
}
// An entry block: words and annotations of the first side, then of the second side.
QByteArray Entry(const QByteArrayList& first, const QByteArrayList& second)
{
    QByteArray bytes = QByteArray(1, char(first.size() / 2)) + char(second.size() / 2) + "\1\2\3\4";
    for (const QByteArray& s : first + second)
        bytes += Text(s);
    return bytes;
}
QByteArray Lesson(const QByteArray& name, const QByteArrayList& entries)
{
    return Text(name) + Word(int(entries.size())) + entries.join();
}
QByteArray Library(const QByteArrayList& lessons, const QByteArray& h1 = "abc",
                   const QByteArray& h2 = "xyz")
{
    return Text(kWinVokSignature) + Text(h1) + Text(h2) + Word(int(lessons.size())) +
           lessons.join();
}
QByteArray Fit(const QByteArray& s, int n = 80)
{
    return s.leftJustified(n, ' ', true);
}
QByteArray Header(const QByteArray& title = "abc - xyz")
{
    return Fit(title) + Fit("") + Fit("Konvertiert von Lernkompass (lernkompass.example.org).", 240);
}
QByteArray Record(const QByteArray& lesson, const QByteArray& german, const QByteArray& foreign,
                  const QByteArray& synonyms = "", const QByteArray& remark = "")
{
    return Fit(lesson) + Fit(german) + Fit(foreign) + Fit(synonyms) + Fit(remark);
}
const QByteArray kOneEntry = Entry({"Haus", "n."}, {"house", "", "home", ""});
const QByteArray kSmallLibrary =
    Library({Lesson("L1", {kOneEntry, Entry({"gehen", ""}, {"go", "v."})}), Lesson("L2", {})});

}  // namespace

class WinVokLibraryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void convert_data()
    {
        QTest::addColumn<QByteArray>("library");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("expected");
        const int ok = int(ConversionResult::Converted);
        const QByteArray house = Record("L", "Haus", "house", "home", "n.");
        QTest::newRow("zero lessons") << Library({}) << ok << Header();
        QTest::newRow("empty lessons are read past")
            << Library({Lesson("leer", {}), Lesson("L", {kOneEntry}), Lesson("auch leer", {})})
            << ok << Header() + house;
        QTest::newRow("first side 0") << Library({Lesson("L", {Entry({}, {"x", "a"})})}) << ok
                                      << Header() + Record("L", "(leer)", "x");
        QTest::newRow("second side 0") << Library({Lesson("L", {Entry({"x", "a"}, {})})}) << ok
                                       << Header() + Record("L", "x", "(leer)", "", "a");
        QTest::newRow("second side 1") << Library({Lesson("L", {Entry({"x", ""}, {"y", "a"})})})
                                       << ok << Header() + Record("L", "x", "y");
        QTest::newRow("more items than used")
            << Library({Lesson("L", {Entry({"Haus", "n.", "Heim", "b"},
                                           {"house", "c", "home", "d", "building", "e"}),
                                     kOneEntry})})
            << ok << Header() + house + house;
        QTest::newRow("blank term stays, empty synonyms of empty word")
            << Library({Lesson("L", {Entry({" ", ""}, {"", "", "", ""})})}) << ok
            << Header() + Record("L", " ", "(leer)");
        const QByteArray longText(100, 'w');
        QTest::newRow("texts over 80 cut, header joined then cut")
            << Library({Lesson(longText, {Entry({longText, longText}, {longText, "", longText, ""})})},
                       QByteArray(78, 'h'), "xyz")
            << ok << Header(QByteArray(78, 'h') + " -") + Record(longText, longText, longText, longText, longText);
        QTest::newRow("NUL stored as blank, Windows-1252 kept, trailing bytes ignored")
            << Library({Lesson(QByteArray("L\0x", 3), {Entry({QByteArray("H\xe4us\0", 5), QByteArray("\0", 1)}, {"\x80", ""})})},
                       QByteArray("a\0c", 3)) + "rest"
            << ok << Header("a c - xyz") + Record("L x", "H\xe4us ", "\x80", "", " ");
        // 129 lessons, 200 first-side items, 300 entries: a signed byte or word would stop.
        QByteArrayList lessons(128, Lesson("L", {Entry(QByteArrayList(400, "z"), {"y", ""})}));
        lessons << Lesson("L", QByteArrayList(300, kOneEntry));
        QTest::newRow("counts 129, 200 and 300 unsigned")
            << Library(lessons) << ok
            << Header() + Record("L", "z", "y", "", "z").repeated(128) + house.repeated(300);
        QTest::newRow("wrong signature") << "\x12WinVok 1.0 Library" + Library({}).mid(19)
                                         << int(ConversionResult::WrongFormat) << QByteArray();
        QTest::newRow("empty file") << QByteArray() << int(ConversionResult::WrongFormat)
                                    << QByteArray();
        QTest::newRow("count past the end")
            << Library({Lesson("L", {kOneEntry})}).replace(Word(1) + kOneEntry, Word(2) + kOneEntry)
            << int(ConversionResult::Failed) << QByteArray();
    }
    void convert()
    {
        QFETCH(QByteArray, library);
        QFETCH(int, result);
        QFETCH(QByteArray, expected);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QCOMPARE(int(ConvertLibrary(library, out)), result);
        if (result == int(ConversionResult::Converted))
            QCOMPARE(out.data(), expected);
    }

    // A library cut at any length fails, leaves an existing output as it was and no new
    // file behind.
    void truncated_failsWithoutTrace()
    {
        const QString dir = NewTestDirectory();
        const QString input = dir + QStringLiteral("/liste.bib");
        const QString existing = dir + QStringLiteral("/alt.vok");
        QVERIFY(WriteBytes(existing, "alt"));
        for (int n = 0; n < kSmallLibrary.size(); ++n) {
            QVERIFY(WriteBytes(input, kSmallLibrary.left(n)));
            const auto expected = n < 19 ? ConversionResult::WrongFormat : ConversionResult::Failed;
            QCOMPARE(ConvertLibraryFile(input, existing), expected);
            QCOMPARE(ConvertLibraryFile(input, dir + QStringLiteral("/neu.vok")), expected);
            QCOMPARE(ReadBytes(existing), QByteArray("alt"));
            QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList({QStringLiteral("alt.vok"), QStringLiteral("liste.bib")}));
        }
        QVERIFY(WriteBytes(input, kSmallLibrary));
        QCOMPARE(ConvertLibraryFile(input, existing), ConversionResult::Converted);
        QCOMPARE(ReadBytes(existing), Header() + Record("L1", "Haus", "house", "home", "n.") +
                                          Record("L1", "gehen", "go"));
        QCOMPARE(ConvertLibraryFile(dir + QStringLiteral("/fehlt.bib"), dir + QStringLiteral("/x.vok")),
                 ConversionResult::InputNotRead);
        QCOMPARE(ConvertLibraryFile(input, dir + QStringLiteral("/fehlt/x.vok")),
                 ConversionResult::OutputNotCreated);
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList({QStringLiteral("alt.vok"), QStringLiteral("liste.bib")}));
    }

    void namesSameFile_data()
    {
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("same");
        QTest::newRow("same name") << "liste.bib" << true;
        QTest::newRow("through ./ and ..") << "./sub/../liste.bib" << true;
        QTest::newRow("symbolic link") << "link.bib" << true;
        QTest::newRow("other case, a file of its own") << "Liste.bib" << false;
        QTest::newRow("other case, missing") << "LISTE.BIB" << false;
        QTest::newRow("missing") << "fehlt.bib" << false;
    }
    void namesSameFile()
    {
        QFETCH(QString, other);
        QFETCH(bool, same);
        const QString dir = NewTestDirectory();
        QVERIFY(QDir(dir).mkdir(QStringLiteral("sub")));
        QVERIFY(WriteBytes(dir + QStringLiteral("/liste.bib"), "x"));
        QVERIFY(WriteBytes(dir + QStringLiteral("/Liste.bib"), "x"));
        QFile::link(dir + QStringLiteral("/liste.bib"), dir + QStringLiteral("/link.bib"));
        // Where the file system ignores case, Liste.bib is liste.bib and the names meet.
        const bool ignoresCase = !QDir(dir).entryList().contains(QStringLiteral("Liste.bib"));
        QCOMPARE(NamesSameFile(dir + QStringLiteral("/liste.bib"), dir + QLatin1Char('/') + other),
                 same || (ignoresCase && other.compare(QStringLiteral("liste.bib"), Qt::CaseInsensitive) == 0));
    }
};

LK_TEST_MAIN(WinVokLibraryTest)
#include "WinVokLibraryTest.moc"
