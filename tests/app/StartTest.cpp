#include "app/Start.h"
#include "support/DataTables.h"
#include "support/TestSupport.h"

using namespace Qt::StringLiterals;

class StartTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { RemoveSettingsFile(); }
    void cleanup() { Form1 = nullptr; }

    // The window writes the version and the five defaults when it shows, and keeps every
    // value already stored.
    void start_writesVersionAndDefaultsOnly()
    {
        QDir(QFileInfo(SettingsFilePath()).path()).removeRecursively();
        {
            TForm1 form;
            QVERIFY(!QFileInfo::exists(SettingsFilePath()));
            form.show();
        }
        QCOMPARE(ReadBytes(SettingsFilePath()),
                 Lines({"AutoDelete=dword:00000000", "Beschreibung=dword:00000001",
                        "Compression=dword:00000005", "Overwrite=dword:00000000",
                        "Synonyme=dword:00000001", "Version=hex:00,00,00,00,00,00,f8,3f"}));
        const QByteArray changed =
            Lines({"AutoDelete=dword:00000001", "Beschreibung=dword:00000000",
                   "Compression=dword:00000000", "Font=sz:Symbol", "Overwrite=dword:00000002",
                   "Shortcut10=sz:zehn", "Synonyme=dword:00000000"});
        QVERIFY(WriteBytes(SettingsFilePath(), changed));
        TForm1 form;
        form.show();
        QCOMPARE(ReadBytes(SettingsFilePath()), changed + "Version=hex:00,00,00,00,00,00,f8,3f\n");
    }

    void commandLine_data()
    {
        DataColumns<QStringList, QString, QString>("arguments", "shownName", "handedOver");
        const QString longPath = u"/x/"_s + QString(420, u'v') + u"/lang.vok"_s;
        QTest::newRow("none") << QStringList() << QString() << QString();
        QTest::newRow("bare name") << QStringList{u"englisch.vok"_s} << "englisch.vok"
                                   << "englisch.vok";
        QTest::newRow("two paths, the first counts")
            << QStringList{u"/x/erste.vok"_s, u"/x/zweite.vok"_s} << "erste.vok"
            << "/x/erste.vok";
        QTest::newRow("over 399 characters") << QStringList{longPath} << "lang.vok" << longPath;
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        TForm1 form(arguments);
        Form1 = &form;
        form.show();
        QTEST(form.Label2->text(), "shownName");
        QTEST(HandedOverFileName(), "handedOver");
        // The strip with the handed-over name, or the compact window without it.
        QCOMPARE(form.BitBtn5->isVisible(), !arguments.isEmpty());
        QCOMPARE(form.height(),
                 arguments.isEmpty() ? TForm1::kCompactClientHeight : TForm1::kClientHeight);
    }
};

LK_TEST_MAIN(StartTest)
#include "StartTest.moc"
