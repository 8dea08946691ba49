#include "WinVokBytes.h"
#include "support/DataTables.h"
#include "support/TestSupport.h"

#include <QBuffer>

using namespace Qt::StringLiterals;

class WinVokLibraryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void convert_data()
    {
        QTest::addColumn<QByteArray>("library");
        QTest::addColumn<QByteArray>("expected");  // empty: wrong format
        QTest::newRow("zero lessons") << Library({}) << Header();
        QTest::newRow("sides 0 and 1, more items than used, blank term, empty lessons")
            << Library({Lesson("leer", {}),
                        Lesson("L", {Entry({}, {"x", "a"}), Entry({"x", "a"}, {}),
                                     Entry({" ", ""}, {"y", "a"}),
                                     Entry({"Haus", "n.", "Heim", "b"},
                                           {"house", "c", "home", "d", "Bau", "e"})}),
                        Lesson("auch leer", {})})
            << Header() + Record({"L", "(leer)", "x"}) + Record({"L", "x", "(leer)", "", "a"}) +
                   Record({"L", " ", "y"}) + kHouseRecord;
        const QByteArray w(100, 'w');
        QTest::newRow("over 80 cut, title cut after joining")
            << Library({Lesson(w, {Entry({w, w}, {w, "", w, ""})})}, QByteArray(78, 'h'))
            << Header(QByteArray(78, 'h') + " -") + Record({w, w, w, w, w});
        QTest::newRow("NUL as blank, Windows-1252 kept, trailing bytes ignored")
            << Library(
                   {Lesson(QByteArray("L\0x", 3),
                           {Entry({QByteArray("H\xe4us\0", 5), QByteArray(1, 0)}, {"\x80", ""})})},
                   QByteArray("a\0c", 3)) +
                   "rest"
            << Header("a c - xyz") + Record({"L x", "H\xe4us ", "\x80", "", " "});
        // 128 lessons, 200 first-side items, 300 entries: a signed byte or word would stop.
        QByteArrayList lessons(127, Lesson("L", {Entry(QByteArrayList(400, "z"), {"y", ""})}));
        QTest::newRow("counts 128, 200 and 300 unsigned")
            << Library(lessons << Lesson("L", QByteArrayList(300, kHouse)))
            << Header() + Record({"L", "z", "y", "", "z"}).repeated(127) +
                   kHouseRecord.repeated(300);
        QTest::newRow("wrong signature")
            << "\x12WinVok 1.0 Library" + Library({}).mid(19) << QByteArray();
    }
    void convert()
    {
        const auto [library, expected] = DataRow<QByteArray, QByteArray>("library", "expected");
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QCOMPARE(ConvertLibrary(library, out),
                 expected.isEmpty() ? ConversionResult::WrongFormat : ConversionResult::Converted);
        QCOMPARE(out.data(), expected);
    }

    // A library cut at any length fails, leaves an existing output as it was and no new
    // file behind; so do a missing input and an output that cannot be created.
    void failures_leaveNoTrace()
    {
        const QString dir = NewTestDirectory() + u'/', input = dir + u"liste.bib"_s,
                      existing = dir + u"alt.vok"_s;
        const QByteArray library = Library({Lesson("L", {kHouse, kHouse}), Lesson("L2", {})});
        QVERIFY(WriteBytes(existing, "alt"));
        for (int n = 0; n < library.size(); ++n) {
            QVERIFY(WriteBytes(input, library.left(n)));
            const auto expected = n < 19 ? ConversionResult::WrongFormat : ConversionResult::Failed;
            QCOMPARE(ConvertLibraryFile(input, existing), expected);
            QCOMPARE(ConvertLibraryFile(input, dir + u"neu.vok"_s), expected);
        }
        QCOMPARE(ConvertLibraryFile(dir + u"x.bib"_s, dir + u"x.vok"_s),
                 ConversionResult::InputNotRead);
        QCOMPARE(ConvertLibraryFile(existing, dir + u"x/x.vok"_s),
                 ConversionResult::OutputNotCreated);
        QCOMPARE(ReadBytes(existing), QByteArray("alt"));
        QCOMPARE(QDir(dir).entryList(QDir::Files).join(u' '), u"alt.vok liste.bib"_s);
    }

    // Names in other letter case are one file only where the file system ignores case
    // ("./" and links: see the converter window's test).
    void namesSameFile_letterCase()
    {
        const QString dir = NewTestDirectory() + u'/';
        QVERIFY(WriteBytes(dir + u"liste.bib"_s, "x") && WriteBytes(dir + u"Liste.bib"_s, "y"));
        const bool ignoresCase = ReadBytes(dir + u"liste.bib"_s) == "y";
        for (const char* other : {"Liste.bib", "LISTE.BIB"})
            QCOMPARE(NamesSameFile(dir + u"liste.bib"_s, dir + QLatin1String(other)), ignoresCase);
    }
};

LK_TEST_MAIN(WinVokLibraryTest)
#include "WinVokLibraryTest.moc"
