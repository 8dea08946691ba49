#include "app/AnsiText.h"
#include "app/FileNames.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QStringDecoder>

class AnsiTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyByte_roundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        const QString text = FromAnsi(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(ToAnsi(text), all);
        // The same table as the system's own converter, where Qt has one.
        QStringDecoder system("windows-1252");
        if (!system.isValid())
            QSKIP("no Windows-1252 converter in this Qt");
        const QString expected = system.decode(all);
        for (int b = 0; b < 256; ++b)
            QVERIFY2(text.at(b) == expected.at(b), qPrintable(QString::number(b, 16)));
    }

    void encoding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");  // null: refused, never written as another text
        QTest::newRow("umlauts") << QStringLiteral("äöüÄÖÜß")
                                 << QByteArray("\xE4\xF6\xFC\xC4\xD6\xDC\xDF");
        QTest::newRow("euro, quotes, dash")
            << QStringLiteral("€„“–") << QByteArray("\x80\x84\x93\x96");
        QTest::newRow("undefined byte 0x81") << QString(QChar(0x81)) << QByteArray("\x81");
        QTest::newRow("NUL and tab") << QStringLiteral("a") + QChar(0) + QStringLiteral("\tb")
                                     << QByteArray("a\0\tb", 4);
        QTest::newRow("A with macron") << QStringLiteral("Ā") << QByteArray();
        QTest::newRow("CJK after ANSI text") << QStringLiteral("Haus 家") << QByteArray();
        QTest::newRow("emoji") << QStringLiteral("🐈") << QByteArray();
        QTest::newRow("U+0080") << QString(QChar(0x80)) << QByteArray();
    }
    void encoding()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(IsAnsiEncodable(text), !bytes.isNull());
        QCOMPARE(ToAnsi(text), bytes.isNull() ? std::nullopt : std::optional(bytes));
        if (!bytes.isNull())
            QCOMPARE(FromAnsi(bytes), text);
    }

    void fitAndTrim_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fitTo4");
        QTest::addColumn<QString>("blanks");
        QTest::addColumn<QString>("controls");
        const auto row = [](const char* name, const QString& text, const char* fit,
                            const QString& blanks, const char* controls) {
            QTest::newRow(name) << text << fit << blanks << controls;
        };
        row("filled", QStringLiteral("Tag"), "Tag ", QStringLiteral("Tag"), "Tag");
        row("cut", QStringLiteral("Hausaufgabe"), "Haus", QStringLiteral("Hausaufgabe"),
            "Hausaufgabe");
        row("empty", QString(), "    ", QString(), "");
        row("blanks around, inner kept", QStringLiteral(" zu Hause "), " zu ",
            QStringLiteral("zu Hause"), "zu Hause");
        row("tab and line end", QStringLiteral(" \ta\r\n "), " \ta\r", QStringLiteral("\ta\r\n"),
            "a");
        row("NUL and control", QStringLiteral("\x01Tier") + QChar(0), "\x01Tie",
            QStringLiteral("\x01Tier") + QChar(0), "Tier");
        row("no-break space is no blank", QStringLiteral("\u00A0Ei "), "\u00A0Ei ",
            QStringLiteral("\u00A0Ei"), "\u00A0Ei");
    }
    void fitAndTrim()
    {
        QFETCH(QString, text);
        QTEST(FitToWidth(text, 4), "fitTo4");
        QTEST(TrimBlanks(text), "blanks");
        QTEST(TrimControls(text), "controls");
    }

    void fieldText_endsAtNul()
    {
        QCOMPARE(FieldText(" Haus "), QStringLiteral(" Haus "));
        QCOMPARE(FieldText(QByteArray("\xC4rger\0Rest", 10)), QStringLiteral("Ärger"));
        QCOMPARE(FieldText(QByteArray("\0abc", 4)), QString());
    }

    void ansiUpper_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ASCII, umlauts") << QStringLiteral("haus, 12 äöü!")
                                        << QStringLiteral("HAUS, 12 ÄÖÜ!");
        QTest::newRow("ß, µ, ÷ stay") << QStringLiteral("straße µ÷") << QStringLiteral("STRAßE µ÷");
        QTest::newRow("accents and thorn") << QStringLiteral("àéîõøþ") << QStringLiteral("ÀÉÎÕØÞ");
        QTest::newRow("high letters") << QStringLiteral("šœžÿ") << QStringLiteral("ŠŒŽŸ");
        QTest::newRow("capitals unchanged") << QStringLiteral("ÄŠŸ") << QStringLiteral("ÄŠŸ");
    }
    void ansiUpper()
    {
        QFETCH(QString, text);
        QTEST(AnsiUpper(text), "expected");
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("html");
        QTest::newRow("path") << "/x/Vokabeln/englisch.vok" << "englisch.vok" << "/x/Vokabeln"
                              << "/x/Vokabeln/englisch.html";
        QTest::newRow("bare name") << "englisch.vok" << "englisch.vok" << "" << "englisch.html";
        QTest::newRow("at the root") << "/e.vok" << "e.vok" << "/" << "/e.html";
        QTest::newRow("dot only in the folder") << "/x/v1.5/liste" << "liste" << "/x/v1.5"
                                                << "/x/v1.5/liste.html";
        QTest::newRow("two dots") << "/x/a.b.vok" << "a.b.vok" << "/x" << "/x/a.b.html";
#ifndef Q_OS_WIN
        // Outside Windows a backslash is an ordinary character of a file name.
        QTest::newRow("backslash in a name") << "/x/a\\b.vok" << "a\\b.vok" << "/x"
                                             << "/x/a\\b.html";
#endif
    }
    void fileNames()
    {
        QFETCH(QString, path);
        QTEST(FileNamePart(path), "name");
        QTEST(DirectoryPart(path), "directory");
        QTEST(ReplaceExtension(path, QStringLiteral(".html")), "html");
    }
};

LK_TEST_MAIN(AnsiTextTest)
#include "AnsiTextTest.moc"
