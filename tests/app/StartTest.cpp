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

QByteArray Lines(std::initializer_list<const char*> lines)
{
    QByteArray text;
    for (const char* line : lines)
        text += QByteArray(line) + '\n';
    return text;
}

void PlantSettings(const QByteArray& content)
{
    QDir().mkpath(QFileInfo(SettingsFilePath()).path());
    QVERIFY(WriteBytes(SettingsFilePath(), content));
}

const QByteArray kFirstStartSettings =
    Lines({"AutoDelete=dword:00000000", "Beschreibung=dword:00000001",
           "Compression=dword:00000005", "Overwrite=dword:00000000", "Synonyme=dword:00000001",
           "Version=hex:00,00,00,00,00,00,f8,3f"});

bool StripVisible(const TForm1& form)
{
    return form.Label1->isVisible() && form.Label2->isVisible() && form.BitBtn5->isVisible();
}

bool StripHidden(const TForm1& form)
{
    return !form.Label1->isVisible() && !form.Label2->isVisible() && !form.BitBtn5->isVisible();
}

}  // namespace

class StartTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { RemoveSettingsFile(); }
    void cleanup() { Form1 = nullptr; }

    void firstStart_writesVersionAndDefaultsOnly();
    void start_keepsStoredValues_data();
    void start_keepsStoredValues();
    void start_withoutWritableStore_runsOnDefaults();
    void commandLine_data();
    void commandLine();
    void loeschen_forgetsFileAndCompacts_data();
    void loeschen_forgetsFileAndCompacts();
    void showingAgain_neverBringsTheStripBack();
    void keyboard_reachesEveryButtonInOrder();
    void labels_areNotClipped();
};

void StartTest::firstStart_writesVersionAndDefaultsOnly()
{
    QDir(QFileInfo(SettingsFilePath()).path()).removeRecursively();
    TForm1 form;
    QVERIFY(!QFileInfo::exists(SettingsFilePath()));  // nothing before the window shows
    form.show();
    QCOMPARE(ReadBytes(SettingsFilePath()), kFirstStartSettings);
    QCOMPARE(settings_raw::TypeOf(QStringLiteral("Version")), settings_raw::Type::Binary);
}

void StartTest::start_keepsStoredValues_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Compression 9, Synonyme 0")
        << Lines({"Compression=dword:00000009", "Synonyme=dword:00000000"})
        << Lines({"AutoDelete=dword:00000000", "Beschreibung=dword:00000001",
                  "Compression=dword:00000009", "Overwrite=dword:00000000",
                  "Synonyme=dword:00000000", "Version=hex:00,00,00,00,00,00,f8,3f"});
    QTest::newRow("every default changed, other values beside")
        << Lines({"AutoDelete=dword:00000001", "Beschreibung=dword:00000000",
                  "Compression=dword:00000000", "Font=sz:Symbol", "Overwrite=dword:00000002",
                  "Shortcut10=sz:zehn", "Synonyme=dword:00000000"})
        << Lines({"AutoDelete=dword:00000001", "Beschreibung=dword:00000000",
                  "Compression=dword:00000000", "Font=sz:Symbol", "Overwrite=dword:00000002",
                  "Shortcut10=sz:zehn", "Synonyme=dword:00000000",
                  "Version=hex:00,00,00,00,00,00,f8,3f"});
    // An unreadable value reads as its default, so the default replaces it.
    QTest::newRow("wrong types and an old version")
        << Lines({"Compression=sz:7", "Synonyme=hex:00", "Version=sz:1.0"})
        << kFirstStartSettings;
}

void StartTest::start_keepsStoredValues()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, expected);
    PlantSettings(stored);
    TForm1 form;
    form.show();
    QCOMPARE(ReadBytes(SettingsFilePath()), expected);
}

void StartTest::start_withoutWritableStore_runsOnDefaults()
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
        QVERIFY(StripVisible(form));
    }
    QVERIFY(platform.messages.isEmpty());
    QCOMPARE(ReadBytes(folder), QByteArray("kein Ordner"));
    QCOMPARE(ReadCompression(), 5);
    QVERIFY(QFile::remove(folder));
}

void StartTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("shownName");
    QTest::addColumn<QString>("handedOver");

    const QString longPath = QStringLiteral("/x/") + QString(420, QLatin1Char('v')) +
                             QStringLiteral("/lang.vok");
    QTest::newRow("none") << QStringList() << QString() << QString();
    QTest::newRow("path") << QStringList{QStringLiteral("/x/Vokabeln/englisch.vok")}
                          << QStringLiteral("englisch.vok")
                          << QStringLiteral("/x/Vokabeln/englisch.vok");
    QTest::newRow("bare name") << QStringList{QStringLiteral("englisch.vok")}
                               << QStringLiteral("englisch.vok") << QStringLiteral("englisch.vok");
    QTest::newRow("two arguments, first counts")
        << QStringList{QStringLiteral("/x/erste.vok"), QStringLiteral("/x/zweite.vok")}
        << QStringLiteral("erste.vok") << QStringLiteral("/x/erste.vok");
    QTest::newRow("blanks and umlauts")
        << QStringList{QStringLiteral("/home/jörg/Meine Listen/Französisch 1.vok")}
        << QStringLiteral("Französisch 1.vok")
        << QStringLiteral("/home/jörg/Meine Listen/Französisch 1.vok");
    QTest::newRow("longer than 399 characters")
        << QStringList{longPath} << QStringLiteral("lang.vok") << longPath;
}

void StartTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, shownName);
    QFETCH(QString, handedOver);

    TForm1 form(arguments);
    Form1 = &form;
    form.show();
    QCOMPARE(form.Label2->text(), shownName);
    QCOMPARE(form.Label3->text(), handedOver);
    QCOMPARE(HandedOverFileName(), handedOver);
    QVERIFY(!form.Label3->isVisible());
    if (arguments.isEmpty()) {
        QCOMPARE(form.height(), TForm1::kCompactClientHeight);
        QVERIFY(StripHidden(form));
        QCOMPARE(form.focusWidget(), form.BitBtn1);
    } else {
        QCOMPARE(form.height(), TForm1::kClientHeight);
        QVERIFY(StripVisible(form));
    }
    // The compact window ends above the strip's separator line.
    QVERIFY(TForm1::kCompactClientHeight <= form.Bevel1->y());
}

void StartTest::loeschen_forgetsFileAndCompacts_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mouse") << false;
    QTest::newRow("Alt+Ö") << true;
}

void StartTest::loeschen_forgetsFileAndCompacts()
{
    QFETCH(bool, byKeyboard);
    TForm1 form({QStringLiteral("/x/Vokabeln/englisch.vok")});
    Form1 = &form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.BitBtn5->text(), QStringLiteral("L&öschen"));

    if (byKeyboard)
        QTest::sendKeyEvent(QTest::Click, &form, Qt::Key_Odiaeresis, QStringLiteral("ö"),
                            Qt::AltModifier);
    else
        QTest::mouseClick(form.BitBtn5, Qt::LeftButton);

    QTRY_COMPARE(form.Label3->text(), QString());
    QCOMPARE(form.Label2->text(), QString());
    QCOMPARE(HandedOverFileName(), QString());
    QCOMPARE(form.height(), TForm1::kCompactClientHeight);
    QVERIFY(StripHidden(form));
    QCOMPARE(QApplication::focusWidget(), form.BitBtn1);
}

void StartTest::showingAgain_neverBringsTheStripBack()
{
    TForm1 form({QStringLiteral("/x/englisch.vok")});
    form.show();
    form.BitBtn5Click();
    form.hide();
    form.show();
    QCOMPARE(form.Label3->text(), QString());
    QVERIFY(StripHidden(form));
    QCOMPARE(form.height(), TForm1::kCompactClientHeight);
}

void StartTest::keyboard_reachesEveryButtonInOrder()
{
    TForm1 form({QStringLiteral("/x/englisch.vok")});
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.BitBtn1->setFocus();
    const QList<QPushButton*> order = {form.BitBtn1, form.BitBtn2, form.BitBtn3,
                                       form.BitBtn4, form.BitBtn6, form.BitBtn5, form.BitBtn1};
    for (QPushButton* expected : order) {
        QCOMPARE(QApplication::focusWidget(), expected);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const QStringList texts = {QStringLiteral("&Vokabel-Editor"), QStringLiteral("&Lernprogramm"),
                               QStringLiteral("&Zipper"), QStringLiteral("&Konverter"),
                               QStringLiteral("&Drucker"), QStringLiteral("L&öschen")};
    for (int i = 0; i < texts.size(); ++i)
        QCOMPARE(order[i]->text(), texts[i]);
}

void StartTest::labels_areNotClipped()
{
    TForm1 form({QStringLiteral("/x/englisch-grundwortschatz.vok")});
    form.show();
    for (QLabel* label : {form.Label1, form.Label2}) {
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName()));
        QVERIFY(label->geometry().bottom() < form.height());
    }
    QVERIFY(form.Label1->geometry().right() < form.Label2->x());
    QVERIFY(form.Label2->geometry().right() < form.BitBtn5->x());
    QCOMPARE(form.Label1->text(), QStringLiteral("Übergebener Dateiname:"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Lernkompass 1.5"));
}

LK_TEST_MAIN(StartTest)
#include "StartTest.moc"
