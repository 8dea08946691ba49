#include "app/AnsiText.h"
#include "app/FileNames.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QStringDecoder>

class AnsiTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyByte_roundTrips();
    void byteMeaning_data();
    void byteMeaning();
    void unencodable_isRefused_data();
    void unencodable_isRefused();
    void fitToWidth_data();
    void fitToWidth();
    void trimming_data();
    void trimming();
    void fieldText_endsAtNul_data();
    void fieldText_endsAtNul();
    void ansiUpper_data();
    void ansiUpper();
    void fileNames_data();
    void fileNames();
};

void AnsiTextTest::everyByte_roundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = FromAnsi(all);
    QCOMPARE(text.size(), 256);
    QVERIFY(IsAnsiEncodable(text));
    QCOMPARE(ToAnsi(text), all);
    // Each byte decodes to a character of its own.
    for (int a = 0; a < 256; ++a)
        for (int b = a + 1; b < 256; ++b)
            QVERIFY(text.at(a) != text.at(b));

    // The same table as the system's own converter, where Qt has one.
    QStringDecoder system("windows-1252");
    if (!system.isValid())
        QSKIP("no Windows-1252 converter in this Qt");
    const QString expected = system.decode(all);
    for (int b = 0; b < 256; ++b)
        QVERIFY2(text.at(b) == expected.at(b), qPrintable(QString::number(b, 16)));
}

void AnsiTextTest::byteMeaning_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("umlauts") << QByteArray("\xE4\xF6\xFC\xC4\xD6\xDC\xDF")
                             << QStringLiteral("äöüÄÖÜß");
    QTest::newRow("euro") << QByteArray("\x80") << QStringLiteral("€");
    QTest::newRow("quotes and dash") << QByteArray("\x84\x93\x96") << QStringLiteral("„“–");
    QTest::newRow("S, OE, Z, Y with marks") << QByteArray("\x8A\x8C\x8E\x9F\x9A\x9C\x9E")
                                            << QStringLiteral("ŠŒŽŸšœž");
    QTest::newRow("undefined byte 0x81") << QByteArray("\x81") << QString(QChar(0x81));
    QTest::newRow("NUL and tab") << QByteArray("a\0\tb", 4)
                                 << QStringLiteral("a") + QChar(0) + QStringLiteral("\tb");
    QTest::newRow("empty") << QByteArray() << QString();
}

void AnsiTextTest::byteMeaning()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(FromAnsi(bytes), text);
    QCOMPARE(ToAnsi(text), bytes);
}

void AnsiTextTest::unencodable_isRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("A with macron") << QStringLiteral("Ā");
    QTest::newRow("CJK after ANSI text") << QStringLiteral("Haus 家");
    QTest::newRow("emoji (surrogate pair)") << QStringLiteral("🐈");
    QTest::newRow("U+0080") << QString(QChar(0x80));
    QTest::newRow("replacement character") << QString(QChar(0xFFFD));
    QTest::newRow("Cyrillic") << QStringLiteral("дом");
}

void AnsiTextTest::unencodable_isRefused()
{
    QFETCH(QString, text);
    QCOMPARE(ToAnsi(text), std::nullopt);
    QVERIFY(!IsAnsiEncodable(text));
}

void AnsiTextTest::fitToWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("filled") << QStringLiteral("Haus") << 6 << QStringLiteral("Haus  ");
    QTest::newRow("exact") << QStringLiteral("Haus") << 4 << QStringLiteral("Haus");
    QTest::newRow("cut") << QStringLiteral("Hausaufgabe") << 4 << QStringLiteral("Haus");
    QTest::newRow("empty") << QString() << 3 << QStringLiteral("   ");
    QTest::newRow("leading blanks kept") << QStringLiteral("  a") << 4 << QStringLiteral("  a ");
}

void AnsiTextTest::fitToWidth()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(FitToWidth(text, width), expected);
}

void AnsiTextTest::trimming_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("blanks");
    QTest::addColumn<QString>("controls");
    QTest::newRow("blanks") << QStringLiteral("  Haus  ") << QStringLiteral("Haus")
                            << QStringLiteral("Haus");
    QTest::newRow("inner blanks") << QStringLiteral(" zu Hause ") << QStringLiteral("zu Hause")
                                  << QStringLiteral("zu Hause");
    QTest::newRow("tab and line end") << QStringLiteral(" \tHaus\r\n ")
                                      << QStringLiteral("\tHaus\r\n") << QStringLiteral("Haus");
    QTest::newRow("NUL and control") << QStringLiteral("\x01Tiere") + QChar(0)
                                     << QStringLiteral("\x01Tiere") + QChar(0)
                                     << QStringLiteral("Tiere");
    QTest::newRow("no-break space is no blank")
        << QStringLiteral("\u00A0Haus ") << QStringLiteral("\u00A0Haus")
        << QStringLiteral("\u00A0Haus");
    QTest::newRow("only blanks") << QStringLiteral("    ") << QString() << QString();
}

void AnsiTextTest::trimming()
{
    QFETCH(QString, text);
    QFETCH(QString, blanks);
    QFETCH(QString, controls);
    QCOMPARE(TrimBlanks(text), blanks);
    QCOMPARE(TrimControls(text), controls);
}

void AnsiTextTest::fieldText_endsAtNul_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no NUL") << QByteArray(" Haus ") << QStringLiteral(" Haus ");
    QTest::newRow("NUL inside") << QByteArray("\xC4rger\0Rest", 10) << QStringLiteral("Ärger");
    QTest::newRow("NUL first") << QByteArray("\0abc", 4) << QString();
}

void AnsiTextTest::fieldText_endsAtNul()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, expected);
    QCOMPARE(FieldText(field), expected);
}

void AnsiTextTest::ansiUpper_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ASCII") << QStringLiteral("haus, 12 Mäuse!")
                           << QStringLiteral("HAUS, 12 MÄUSE!");
    QTest::newRow("umlauts") << QStringLiteral("äöü") << QStringLiteral("ÄÖÜ");
    QTest::newRow("sharp s stays") << QStringLiteral("straße") << QStringLiteral("STRAßE");
    QTest::newRow("y with diaeresis") << QStringLiteral("ÿ") << QStringLiteral("Ÿ");
    QTest::newRow("micro sign stays") << QStringLiteral("µ") << QStringLiteral("µ");
    QTest::newRow("division sign stays") << QStringLiteral("÷") << QStringLiteral("÷");
    QTest::newRow("accents and thorn") << QStringLiteral("àéîõøþ") << QStringLiteral("ÀÉÎÕØÞ");
    QTest::newRow("high letters") << QStringLiteral("šœž") << QStringLiteral("ŠŒŽ");
    QTest::newRow("capitals unchanged") << QStringLiteral("ÄŠŸ") << QStringLiteral("ÄŠŸ");
}

void AnsiTextTest::ansiUpper()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(AnsiUpper(text), expected);
    // Upper case never changes the length: answers are compared position by position.
    QCOMPARE(AnsiUpper(text).size(), text.size());
}

void AnsiTextTest::fileNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("html");
    QTest::newRow("path") << QStringLiteral("/x/Vokabeln/englisch.vok")
                          << QStringLiteral("englisch.vok") << QStringLiteral("/x/Vokabeln")
                          << QStringLiteral("/x/Vokabeln/englisch.html");
    QTest::newRow("bare name") << QStringLiteral("englisch.vok") << QStringLiteral("englisch.vok")
                               << QString() << QStringLiteral("englisch.html");
    QTest::newRow("at the root") << QStringLiteral("/englisch.vok")
                                 << QStringLiteral("englisch.vok") << QStringLiteral("/")
                                 << QStringLiteral("/englisch.html");
    QTest::newRow("no extension") << QStringLiteral("/x/liste") << QStringLiteral("liste")
                                  << QStringLiteral("/x") << QStringLiteral("/x/liste.html");
    QTest::newRow("dot only in the folder")
        << QStringLiteral("/x/v1.5/liste") << QStringLiteral("liste") << QStringLiteral("/x/v1.5")
        << QStringLiteral("/x/v1.5/liste.html");
    QTest::newRow("two dots") << QStringLiteral("/x/a.b.vok") << QStringLiteral("a.b.vok")
                              << QStringLiteral("/x") << QStringLiteral("/x/a.b.html");
#ifdef Q_OS_WIN
    QTest::newRow("drive path") << QStringLiteral("C:\\Vokabeln\\englisch.vok")
                                << QStringLiteral("englisch.vok") << QStringLiteral("C:\\Vokabeln")
                                << QStringLiteral("C:\\Vokabeln\\englisch.html");
    QTest::newRow("drive root") << QStringLiteral("C:\\englisch.vok")
                                << QStringLiteral("englisch.vok") << QStringLiteral("C:\\")
                                << QStringLiteral("C:\\englisch.html");
#else
    // Outside Windows a backslash is an ordinary character of a file name.
    QTest::newRow("backslash in a name")
        << QStringLiteral("/x/a\\b.vok") << QStringLiteral("a\\b.vok") << QStringLiteral("/x")
        << QStringLiteral("/x/a\\b.html");
#endif
}

void AnsiTextTest::fileNames()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, directory);
    QFETCH(QString, html);
    QCOMPARE(FileNamePart(path), name);
    QCOMPARE(DirectoryPart(path), directory);
    QCOMPARE(ReplaceExtension(path, QStringLiteral(".html")), html);
}

LK_TEST_MAIN(AnsiTextTest)
#include "AnsiTextTest.moc"
