#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace {

const QByteArray kFirstStartSettings =
    Lines({"AutoDelete=dword:00000000", "Beschreibung=dword:00000001",
           "Compression=dword:00000005", "Overwrite=dword:00000000", "Synonyme=dword:00000001",
           "Version=hex:00,00,00,00,00,00,f8,3f"});

// The strip with the handed-over name, or the compact window without it.
void VerifyStrip(const TForm1& form, bool shown)
{
    for (QWidget* w : QList<QWidget*>{form.Label1, form.Label2, form.BitBtn5})
        QCOMPARE(w->isVisible(), shown);
    QCOMPARE(form.height(), shown ? TForm1::kClientHeight : TForm1::kCompactClientHeight);
}

void ShowActive(TForm1& form)
{
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
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
        QTest::newRow("first start") << QByteArray() << kFirstStartSettings;
        const QByteArray changed =
            Lines({"AutoDelete=dword:00000001", "Beschreibung=dword:00000000",
                   "Compression=dword:00000000", "Font=sz:Symbol", "Overwrite=dword:00000002",
                   "Shortcut10=sz:zehn", "Synonyme=dword:00000000"});
        QTest::newRow("every default changed, other values beside")
            << changed << changed + "Version=hex:00,00,00,00,00,00,f8,3f\n";
        // An unreadable value reads as its default, so the default replaces it.
        QTest::newRow("wrong types and an old version")
            << Lines({"Compression=sz:7", "Synonyme=hex:00", "Version=sz:1.0"})
            << kFirstStartSettings;
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

    void start_withoutWritableStore_runsOnDefaults()
    {
        // A plain file where the settings folder belongs: the store cannot be created.
        const QString folder = QFileInfo(SettingsFilePath()).path();
        QDir(folder).removeRecursively();
        QVERIFY(WriteBytes(folder, "kein Ordner"));
        FakePlatform platform;
        {
            TForm1 form({QStringLiteral("/x/englisch.vok")});
            form.show();
            QCOMPARE(form.Label3->text(), QStringLiteral("/x/englisch.vok"));
            VerifyStrip(form, true);
        }
        QVERIFY(platform.messages.isEmpty());
        QCOMPARE(ReadBytes(folder), QByteArray("kein Ordner"));
        QCOMPARE(ReadCompression(), 5);
        QVERIFY(QFile::remove(folder));
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
        QFETCH(QString, handedOver);
        TForm1 form(arguments);
        Form1 = &form;
        form.show();
        QTEST(form.Label2->text(), "shownName");
        QCOMPARE(form.Label3->text(), handedOver);
        QCOMPARE(HandedOverFileName(), handedOver);
        QVERIFY(!form.Label3->isVisible());
        VerifyStrip(form, !arguments.isEmpty());
        if (arguments.isEmpty())
            QCOMPARE(form.focusWidget(), form.BitBtn1);
        // The compact window ends above the strip's separator line.
        QVERIFY(TForm1::kCompactClientHeight <= form.Bevel1->y());
    }

    void loeschen_forgetsFileAndCompacts_data()
    {
        QTest::addColumn<bool>("byKeyboard");
        QTest::newRow("mouse") << false;
        QTest::newRow("Alt+Ö") << true;
    }
    void loeschen_forgetsFileAndCompacts()
    {
        QFETCH(bool, byKeyboard);
        TForm1 form({QStringLiteral("/x/Vokabeln/englisch.vok")});
        Form1 = &form;
        ShowActive(form);
        if (byKeyboard)
            QTest::sendKeyEvent(QTest::Click, &form, Qt::Key_Odiaeresis, QStringLiteral("ö"),
                                Qt::AltModifier);
        else
            QTest::mouseClick(form.BitBtn5, Qt::LeftButton);

        QTRY_COMPARE(form.Label3->text(), QString());
        QCOMPARE(form.Label2->text(), QString());
        QCOMPARE(HandedOverFileName(), QString());
        VerifyStrip(form, false);
        QCOMPARE(QApplication::focusWidget(), form.BitBtn1);
        // Showing the window again never brings the strip back.
        form.hide();
        form.show();
        VerifyStrip(form, false);
    }

    void keyboard_reachesEveryButtonInOrder()
    {
        TForm1 form({QStringLiteral("/x/englisch.vok")});
        ShowActive(form);
        form.BitBtn1->setFocus();
        const QList<QPushButton*> order = {form.BitBtn1, form.BitBtn2, form.BitBtn3,
                                           form.BitBtn4, form.BitBtn6, form.BitBtn5};
        const QStringList texts = {
            QStringLiteral("&Vokabel-Editor"), QStringLiteral("&Lernprogramm"),
            QStringLiteral("&Zipper"),         QStringLiteral("&Konverter"),
            QStringLiteral("&Drucker"),        QStringLiteral("L&öschen")};
        for (int i = 0; i < order.size(); ++i) {
            QCOMPARE(QApplication::focusWidget(), order[i]);
            QCOMPARE(order[i]->text(), texts[i]);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), form.BitBtn1);
    }

    void labels_areNotClipped()
    {
        TForm1 form({QStringLiteral("/x/englisch-grundwortschatz.vok")});
        form.show();
        for (QLabel* label : {form.Label1, form.Label2})
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName()));
        QVERIFY(form.Label2->geometry().right() < form.BitBtn5->x());
        QCOMPARE(form.Label1->text(), QStringLiteral("Übergebener Dateiname:"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Lernkompass 1.5"));
    }
};

LK_TEST_MAIN(StartTest)
#include "StartTest.moc"
