#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace {

// The strip with the handed-over name, or the compact window without it.
void VerifyStrip(const TForm1& form, bool shown)
{
    for (QWidget* w : QList<QWidget*>{form.Label1, form.Label2, form.BitBtn5})
        QCOMPARE(w->isVisible(), shown);
    QCOMPARE(form.height(), shown ? TForm1::kClientHeight : TForm1::kCompactClientHeight);
}

}  // namespace

class StartTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { RemoveSettingsFile(); }
    void cleanup() { Form1 = nullptr; }

    void start_writesVersionAndDefaultsOnly_data()
    {
        QTest::addColumn<QByteArray>("stored");  // null: no settings folder yet
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("first start")
            << QByteArray()
            << Lines({"AutoDelete=dword:00000000", "Beschreibung=dword:00000001",
                      "Compression=dword:00000005", "Overwrite=dword:00000000",
                      "Synonyme=dword:00000001", "Version=hex:00,00,00,00,00,00,f8,3f"});
        const QByteArray changed =
            Lines({"AutoDelete=dword:00000001", "Beschreibung=dword:00000000",
                   "Compression=dword:00000000", "Font=sz:Symbol", "Overwrite=dword:00000002",
                   "Shortcut10=sz:zehn", "Synonyme=dword:00000000"});
        QTest::newRow("every default changed, other values beside")
            << changed << changed + "Version=hex:00,00,00,00,00,00,f8,3f\n";
    }
    void start_writesVersionAndDefaultsOnly()
    {
        QFETCH(QByteArray, stored);
        const QString folder = QFileInfo(SettingsFilePath()).path();
        QDir(folder).removeRecursively();
        if (!stored.isNull()) {
            QDir().mkpath(folder);
            QVERIFY(WriteBytes(SettingsFilePath(), stored));
        }
        TForm1 form;
        QCOMPARE(ReadBytes(SettingsFilePath()), stored);  // nothing before the window shows
        form.show();
        QTEST(ReadBytes(SettingsFilePath()), "expected");
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("shownName");
        QTest::addColumn<QString>("handedOver");
        const QString longPath =
            QStringLiteral("/x/") + QString(420, u'v') + QStringLiteral("/lang.vok");
        QTest::newRow("none") << QStringList() << QString() << QString();
        QTest::newRow("path") << QStringList{QStringLiteral("/x/Vokabeln/englisch.vok")}
                              << "englisch.vok" << "/x/Vokabeln/englisch.vok";
        QTest::newRow("bare name") << QStringList{QStringLiteral("englisch.vok")}
                                   << "englisch.vok" << "englisch.vok";
        QTest::newRow("two arguments, first counts")
            << QStringList{QStringLiteral("/x/erste.vok"), QStringLiteral("/x/zweite.vok")}
            << "erste.vok" << "/x/erste.vok";
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
        VerifyStrip(form, !arguments.isEmpty());
    }

    // Alt+Ö forgets the handed-over file for good: showing the window again keeps it compact.
    void loeschen_forgetsFileAndCompacts()
    {
        TForm1 form({QStringLiteral("/x/Vokabeln/englisch.vok")});
        Form1 = &form;
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::sendKeyEvent(QTest::Click, &form, Qt::Key_Odiaeresis, QStringLiteral("ö"),
                            Qt::AltModifier);
        QTRY_COMPARE(HandedOverFileName(), QString());
        QCOMPARE(form.Label2->text(), QString());
        QCOMPARE(QApplication::focusWidget(), form.BitBtn1);
        form.hide();
        form.show();
        VerifyStrip(form, false);
    }
};

LK_TEST_MAIN(StartTest)
#include "StartTest.moc"
