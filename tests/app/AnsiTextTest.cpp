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
        QCOMPARE(ToAnsi(text), all);
        // The same table as the system's own converter, where Qt has one.
        QStringDecoder system("windows-1252");
        if (!system.isValid())
            QSKIP("no Windows-1252 converter in this Qt");
        QCOMPARE(text, QString(system.decode(all)));
    }

    void encoding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");  // null: refused, never written as another text
        QTest::newRow("umlauts, euro, quotes") << QStringLiteral("äÖß€„“")
                                               << QByteArray("\xE4\xD6\xDF\x80\x84\x93");
        QTest::newRow("A with macron") << QStringLiteral("Ā") << QByteArray();
        QTest::newRow("CJK after ANSI text") << QStringLiteral("Haus 家") << QByteArray();
        QTest::newRow("emoji") << QStringLiteral("🐈") << QByteArray();
        QTest::newRow("U+0080, whose byte holds the euro") << QString(QChar(0x80)) << QByteArray();
    }
    void encoding()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(IsAnsiEncodable(text), !bytes.isNull());
        QCOMPARE(ToAnsi(text), bytes.isNull() ? std::nullopt : std::optional(bytes));
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("html");
        QTest::newRow("at the root") << "/e.vok" << "e.vok" << "/" << "/e.html";
        QTest::newRow("dot only in the folder") << "/x/v1.5/liste" << "liste" << "/x/v1.5"
                                                << "/x/v1.5/liste.html";
        QTest::newRow("two dots") << "/x/a.b.vok" << "a.b.vok" << "/x" << "/x/a.b.html";
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
