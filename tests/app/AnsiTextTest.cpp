#include "app/AnsiText.h"
#include "app/FileNames.h"
#include "support/DataTables.h"
#include "support/TestSupport.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

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
        QTest::newRow("umlauts, euro, quotes")
            << u"äÖß€„“"_s << QByteArray("\xE4\xD6\xDF\x80\x84\x93");
        QTest::newRow("A with macron") << u"Ā"_s << QByteArray();
        QTest::newRow("emoji") << u"🐈"_s << QByteArray();
        QTest::newRow("U+0080, whose byte holds the euro") << QString(QChar(0x80)) << QByteArray();
    }
    void encoding()
    {
        const auto [text, bytes] = DataRow<QString, QByteArray>("text", "bytes");
        QCOMPARE(IsAnsiEncodable(text), !bytes.isNull());
        QCOMPARE(ToAnsi(text), bytes.isNull() ? std::nullopt : std::optional(bytes));
    }

    // A dot in a folder's name is no extension.
    void replaceExtension_onlyInTheName()
    {
        QCOMPARE(ReplaceExtension(u"/x/v1.5/liste"_s, u".vok"_s), u"/x/v1.5/liste.vok"_s);
        QCOMPARE(ReplaceExtension(u"/x/a.b.vok"_s, u".tmp"_s), u"/x/a.b.tmp"_s);
    }
};

LK_TEST_MAIN(AnsiTextTest)
#include "AnsiTextTest.moc"
