#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "tools/Konverter.h"
#include "tools/WinVokLibrary.h"

#include <QAccessible>
#include <QBuffer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

const QString kRefused = QStringLiteral("Konvertierung nicht durchgeführt.");
const QString kDone = QStringLiteral("Konvertierung erfolgreich abgeschlossen.");

// A library of the given lessons of n entries "Haus" = "house" each.
QByteArray SmallLibrary(int lessons = 1, int n = 1)
{
    const QByteArray entry = QByteArray("\x01\x01\0\0\0\0\x04Haus\0\x05house\0", 19);
    const QByteArray lesson = "\x01L" + QByteArray(1, char(n & 0xff)) + char(n >> 8) + entry.repeated(n);
    return "\x12WinVok 2.0 Library\x01" "a\x01" "b" + QByteArray(1, char(lessons)) + '\0' +
           lesson.repeated(lessons);
}

QByteArray Converted(const QByteArray& library)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ConvertLibrary(library, out);
    return out.data();
}

// "Caption buttons icon: text" of every message shown.
QStringList Shown(const FakePlatform& platform)
{
    QStringList shown;
    for (const auto& m : platform.messages)
        shown << QStringLiteral("%1 %2 %3: %4").arg(m.caption).arg(int(m.buttons)).arg(int(m.icon)).arg(m.text);
    return shown;
}
const QString kWarning = QStringLiteral("Fehler 0 1: ");
const QString kQuestion = QStringLiteral("Frage 1 2: ");

}  // namespace

class KonverterTest : public QObject {
    Q_OBJECT
    FakePlatform platform;

private Q_SLOTS:
    void initTestCase() { QVERIFY(WriteVersionCreatingStore()); }
    void init() { platform.clear(); }

    // The start button's checks in their order. %1 is a directory holding liste.bib, a
    // link to it and alt.vok.
    void start_data()
    {
        QTest::addColumn<bool>("chosen");  // input chosen in the dialog, then edited
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<MsgAnswer>("answer");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("written");  // the file that gets the converted library
        const QString names = kWarning + QStringLiteral("Es müssen zwei Dateinamen angegeben werden!");
        const QString same = kWarning + QStringLiteral("Die Konvertierung ergibt keinen Sinn, da beide Dateien identisch sind!");
        const QString overwrite = kQuestion + QStringLiteral("Die Output-Datei existiert bereits. Überschreiben?");
        const MsgAnswer no = MsgAnswer::No;
        QTest::newRow("no names") << true << " \t" << "" << no << QStringList{names} << kRefused << "";
        QTest::newRow("output blank") << true << "%1/liste.bib" << " " << no << QStringList{names} << kRefused << "";
        QTest::newRow("same name") << true << "%1/liste.bib" << "%1/liste.bib" << no << QStringList{same} << kRefused << "";
        QTest::newRow("same file through ./") << true << "%1/liste.bib" << "%1/./liste.bib" << no << QStringList{same} << kRefused << "";
        QTest::newRow("same file through a link") << true << "%1/liste.bib" << "%1/link.bib" << no << QStringList{same} << kRefused << "";
        QTest::newRow("input missing") << true << "%1/fehlt.bib" << "%1/neu.vok" << no
                                       << QStringList{kWarning + QStringLiteral("Die Input-Datei existiert nicht!")} << kRefused << "";
        QTest::newRow("overwrite declined") << true << "%1/liste.bib" << "%1/alt.vok" << no << QStringList{overwrite} << kRefused << "";
        QTest::newRow("overwrite accepted") << true << "%1/liste.bib" << "%1/alt.vok" << MsgAnswer::Yes << QStringList{overwrite} << kDone << "alt.vok";
        QTest::newRow("trimmed names, new output") << true << "\t%1/liste.bib  " << " %1/neu.vok\n" << no << QStringList() << kDone << "neu.vok";
        QTest::newRow("wrong format") << true << "%1/alt.vok" << "%1/neu.vok" << no << QStringList()
                                      << "Falsches Format der Input-Datei." << "";
        QTest::newRow("typed input converts nothing") << false << "%1/liste.bib" << "%1/neu.vok" << no << QStringList() << "Bereit." << "";
        QTest::newRow("typed input, overwrite accepted") << false << "%1/liste.bib" << "%1/alt.vok" << MsgAnswer::Yes << QStringList{overwrite} << "Bereit." << "";
    }
    void start()
    {
        QFETCH(bool, chosen);
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(MsgAnswer, answer);
        QFETCH(QStringList, shown);
        QFETCH(QString, status);
        QFETCH(QString, written);
        const QString dir = NewTestDirectory();
        QVERIFY(WriteBytes(dir + QStringLiteral("/liste.bib"), SmallLibrary()));
        QVERIFY(WriteBytes(dir + QStringLiteral("/alt.vok"), "alt"));
        QFile::link(dir + QStringLiteral("/liste.bib"), dir + QStringLiteral("/link.bib"));
        TForm11 form;
        form.show();
        if (chosen) {
            platform.fileAnswers << dir + QStringLiteral("/liste.bib");
            form.Button1->click();
        }
        input.replace(QStringLiteral("%1"), dir);
        form.Edit1->setText(input);
        form.Edit2->setText(output.replace(QStringLiteral("%1"), dir));
        platform.answers << answer;
        QTest::mouseClick(form.Button3, Qt::LeftButton);
        QCOMPARE(Shown(platform), shown);
        QCOMPARE(form.StatusText(), status);
        QCOMPARE(form.Edit1->text(), input.trimmed());
        QCOMPARE(ReadBytes(dir + QStringLiteral("/alt.vok")),
                 written == QLatin1String("alt.vok") ? Converted(SmallLibrary()) : "alt");
        QCOMPARE(QFile::exists(dir + QStringLiteral("/neu.vok")), written == QLatin1String("neu.vok"));
        if (written == QLatin1String("neu.vok"))
            QCOMPARE(ReadBytes(dir + QStringLiteral("/neu.vok")), Converted(SmallLibrary()));
        QCOMPARE(ReadBytes(dir + QStringLiteral("/liste.bib")), SmallLibrary());
    }

    void dialogs_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("answer");  // empty: cancelled
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("inputFormat");
        QTest::newRow("input") << 1 << "/d/liste.bib" << "/d/liste.bib" << "WinVok II" << 1;
        QTest::newRow("input cancelled") << 1 << "" << "" << "" << -1;
        QTest::newRow("liste.txt") << 2 << "/d/liste.txt" << "/d/liste.vok" << "Lernkompass" << -1;
        QTest::newRow("no extension") << 2 << "/d.x/liste" << "/d.x/liste.vok" << "Lernkompass" << -1;
        QTest::newRow("two dots") << 2 << "/d/liste.tar.gz" << "/d/liste.tar.vok" << "Lernkompass" << -1;
    }
    void dialogs()
    {
        QFETCH(int, button);
        QFETCH(QString, answer);
        QFETCH(QString, field);
        QFETCH(QString, format);
        QFETCH(int, inputFormat);
        WriteCurrentDirectory(QStringLiteral("/start"));
        TForm11 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        platform.fileAnswers << (answer.isEmpty() ? std::nullopt : std::optional(answer));
        QTest::mouseClick(button == 1 ? form.Button1 : form.Button2, Qt::LeftButton);
        QLineEdit* edit = button == 1 ? form.Edit1 : form.Edit2;
        QLabel* label = button == 1 ? form.Label5 : form.Label6;
        QCOMPARE(edit->text(), field);
        QCOMPARE(label->text(), format);
        if (!format.isEmpty())
            QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), format);
        QCOMPARE(form.InputFormat(), inputFormat);
        QCOMPARE(ReadCurrentDirectory(), answer.isEmpty() ? QStringLiteral("/start") : answer.section(u'/', 0, -2));
        const auto& dialog = platform.fileDialogs.value(0);
        QCOMPARE(dialog.title + dialog.filter + dialog.startDirectory,
                 button == 1 ? QStringLiteral("Input-Datei wählenWinVok II (*.bib)/start")
                             : QStringLiteral("Output-Datei wählenLernkompass (*.vok)/start"));
        QCOMPARE(dialog.choice, button == 1 ? FileChoice::Existing : FileChoice::MayBeNew);
        QTest::keyClick(&form, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(edit->text().isEmpty() && label->text().isEmpty() && form.InputFormat() == -1);
    }

    // "&Konverter" shows the window modally; Esc does nothing there, nor do Esc and the
    // close box while it converts; the window repaints meanwhile.
    void startScreen_showsConverter_closedOnlyWhenIdle()
    {
        const QString dir = NewTestDirectory();
        QVERIFY(WriteBytes(dir + QStringLiteral("/gross.bib"), SmallLibrary(3, 1000)));
        Form11 = new TForm11;
        TForm1 start;
        QStringList seen;
        QTimer::singleShot(0, Form11, [&] {
            seen << QString::number(Form11->isModal()) + Form11->StatusText();
            for (QWidget* w : Form11->findChildren<QWidget*>())
                if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPushButton*>(w) || qobject_cast<QLabel*>(w))
                    QVERIFY(!QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty() ||
                            (qobject_cast<QLabel*>(w) && qobject_cast<QLabel*>(w)->text().isEmpty()));
            platform.fileAnswers << dir + QStringLiteral("/gross.bib") << dir + QStringLiteral("/gross.vok");
            Form11->Button1->click();
            Form11->Button2->click();
            QTimer::singleShot(0, Form11, [&] {
                seen << QString::number(Form11->isEnabled()) + Form11->StatusText();
                QTest::keyClick(Form11, Qt::Key_Escape);
                Form11->close();
            });
            QTest::keyClick(Form11->Button3, Qt::Key_Space);
            seen << QString::number(Form11->isVisible()) + Form11->StatusText();
            QTest::keyClick(Form11, Qt::Key_Escape);
            seen << QString::number(Form11->isVisible());
            Form11->close();
        });
        start.BitBtn4->click();
        QCOMPARE(seen, QStringList({QStringLiteral("1Bereit."), QStringLiteral("0Starte Konvertierung ..."), QLatin1Char('1') + kDone, QStringLiteral("1")}));
        QCOMPARE(QFileInfo(dir + QStringLiteral("/gross.vok")).size(), qint64(400) * 3001);
        delete Form11;
        Form11 = nullptr;
    }
};

LK_TEST_MAIN(KonverterTest)
#include "KonverterTest.moc"
