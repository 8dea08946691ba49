#include "ZipTestSupport.h"
#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "support/FakePlatform.h"
#include "tools/Zipper.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

class ZipperTest : public QObject {
    Q_OBJECT

    // The window's state: buttons and track bar enabled, bar range and position, status.
    static QString State(const TForm10& w)
    {
        return QString::asprintf("%d%d%d%d %d..%d@%d ", w.Button1->isEnabled(),
                                 w.Button2->isEnabled(), w.TrackBar1->isEnabled(),
                                 w.Button3->isEnabled(), w.ProgressBar1->minimum(),
                                 w.ProgressBar1->maximum(), w.ProgressBar1->value()) +
               w.StatusText();
    }

private Q_SLOTS:
    void init()
    {
        RemoveSettingsFile();
        WriteVersionCreatingStore();
        platform_.clear();
    }

    // Pack and unpack through the window: every check and message in its order, what is
    // written, the window idle afterwards. With an action, taken at the job's first
    // progress step: "&Abbrechen" or Esc stops the job and leaves nothing behind, the close
    // box does not, and a job ending without its end-of-batch event still leaves the window
    // idle.
    void jobs_data()
    {
        QTest::addColumn<bool>("pack");
        QTest::addColumn<QString>("chosen");      // empty: the dialog is cancelled
        QTest::addColumn<QStringList>("before");  // "name=content"; "a.zip=": holds alt.txt
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("answer");  // to the question, if one comes
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("messages");  // "caption: text"; %1: the directory
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("status");
        const QStringList vok = L("Liste.vok=Haus"), old = L("Liste.vok=Haus|Liste.zip=");
        const QStringList ask = L("Frage: %1/Liste.zip existiert bereits.\nÜberschreiben?");
        const QStringList kept = L("Liste.vok=Haus|Liste.zip:alt.txt/8");
        const int yes = int(MsgAnswer::Yes);
        QTest::newRow("pack Liste.vok stored")
            << true << "Liste.vok" << vok << 0 << 0 << "" << QStringList()
            << L("Liste.vok=Haus|Liste.zip:Liste.vok/0") << "Beendet.";
        QTest::newRow("pack Liste without extension at 9")
            << true << "Liste" << L("Liste=Haus") << 9 << 0 << "" << QStringList()
            << L("Liste=Haus|Liste.zip:Liste/8") << "Beendet.";
        QTest::newRow("old archive replaced on Yes")
            << true << "Liste.vok" << old << 5 << yes << "" << ask
            << L("Liste.vok=Haus|Liste.zip:Liste.vok/8") << "Beendet.";
        QTest::newRow("old archive kept on No")
            << true << "Liste.vok" << old << 5 << int(MsgAnswer::No) << "" << ask << kept
            << "Bereit.";
        for (const char* name : {"x.zip", "x.ZIP"})
            QTest::addRow("pack %s", name) << true << name << L("x.zip=|x.ZIP=") << 5 << 0 << ""
                                           << L("Meldung: Datei ist bereits komprimiert!")
                                           << L("x.ZIP:alt.txt/8|x.zip:alt.txt/8") << "Bereit.";
        QTest::newRow("pack missing file")
            << true << "fehlt.vok" << QStringList() << 5 << 0 << ""
            << L("Fehler: Datei existiert nicht!") << QStringList() << "Bereit.";
        QTest::newRow("unpack x.ZIP")
            << false << "x.ZIP" << L("x.ZIP=") << 5 << 0 << "" << L("Fehler: Falsche Dateiendung!")
            << L("x.ZIP:alt.txt/8") << "Bereit.";
        QTest::newRow("unpack missing x.zip")
            << false << "x.zip" << QStringList() << 5 << 0 << ""
            << L("Fehler: Datei existiert nicht!") << QStringList() << "Bereit.";
        QTest::newRow("unpack a damaged archive")
            << false << "y.zip" << L("y.zip=kaputt") << 5 << 0 << ""
            << L("Lernkompass: Fataler Fehler in UnzDLL.DLL: Abbruch\nDie Datei ist kein "
                 "ZIP-Archiv.")
            << L("y.zip=kaputt") << "Beendet.";
        for (bool pack : {true, false}) {
            for (const char* action : {"click", "Esc"})
                QTest::addRow("%s cancelled by %s", pack ? "pack" : "unpack", action)
                    << pack << (pack ? "Liste.vok" : "Liste.zip") << old << 5 << yes << action
                    << (pack ? ask : QStringList()) << kept << "Abgebrochen.";
        }
        QTest::newRow("close box ignored")
            << true << "Liste.vok" << old << 5 << yes << "close" << ask
            << L("Liste.vok=Haus|Liste.zip:Liste.vok/8") << "Beendet.";
        QTest::newRow("no end of batch")
            << false << "Liste.zip" << old << 5 << yes << "drop end" << QStringList()
            << L("Liste.vok=Haus|Liste.zip:alt.txt/8|alt.txt=alt") << "Beendet.";
    }
    void jobs()
    {
        QFETCH(bool, pack);
        QFETCH(QString, chosen);
        QFETCH(QStringList, before);
        QFETCH(int, level);
        QFETCH(QString, action);
        QFETCH(QStringList, messages);
        QFETCH(QString, status);
        const QString dir = NewTestDirectory();
        for (const QString& file : before) {
            const QString name = dir + u'/' + file.section(u'=', 0, 0);
            const QString content = file.section(u'=', 1);
            QVERIFY(content.isEmpty() ? WriteArchive(name, L("alt.txt=alt"))
                                      : WriteBytes(name, content.toUtf8()));
        }
        TForm10 w;
        w.show();
        w.TrackBar1->setValue(level);
        QStringList seen;  // the window's state at the first step, and after the action
        const TZipBuilder::ProgressEvent forward = w.ZipBuilder1.OnProgress;
        w.ZipBuilder1.OnProgress = [&](ProgressType kind, const QString& name, qint64 size) {
            if (kind == ProgressType::EndOfBatch && action == QStringLiteral("drop end"))
                return;
            forward(kind, name, size);
            if (kind != ProgressType::ProgressUpdate || !seen.isEmpty() || action.isEmpty())
                return;
            seen << State(w);
            if (action == QStringLiteral("click"))
                QTest::mouseClick(w.Button3, Qt::LeftButton);
            else if (action == QStringLiteral("Esc"))
                QTest::keyClick(&w, Qt::Key_Escape);
            else if (action == QStringLiteral("close"))
                w.close();
            seen << State(w);
        };
        QFETCH(int, answer);
        platform_.answers << MsgAnswer(answer);
        platform_.fileAnswers << (chosen.isEmpty() ? std::nullopt
                                                   : std::optional(dir + u'/' + chosen));
        QTest::mouseClick(pack ? w.Button1 : w.Button2, Qt::LeftButton);

        QStringList shown;
        for (const FakePlatform::Message& m : platform_.messages)
            shown << m.caption + QStringLiteral(": ") + m.text;
        QCOMPARE(shown, messages.replaceInStrings(QStringLiteral("%1"), dir));
        QCOMPARE(platform_.fileDialogs.value(0).title,
                 pack ? QStringLiteral("Komprimieren") : QStringLiteral("Dekomprimieren"));
        QCOMPARE(ReadCurrentDirectory(), chosen.isEmpty() ? QString() : dir);
        QFETCH(QStringList, after);
        after.sort();
        QCOMPARE(Tree(dir), after);
        QVERIFY(w.isVisible());
        QCOMPARE(State(w), QStringLiteral("1110 0..100@0 ") + status);
        if (action.isEmpty())
            return;
        const QString running = QStringLiteral("0001 0..%1@%1 ").arg(pack ? 4 : 3) +
                                (pack ? QStringLiteral("Kompression läuft ...")
                                      : QStringLiteral("Dekompression läuft ..."));
        QCOMPARE(seen, QStringList({running, status == QStringLiteral("Abgebrochen.")
                                                 ? QStringLiteral("1110 0..100@0 Abgebrochen.")
                                                 : running}));
    }

    // Level and overwrite option, changed with the keyboard, are stored at once and shown
    // again by a new window (as after a restart); Esc on the idle window does nothing.
    void settings()
    {
        {
            TForm10 w;
            w.show();
            QCOMPARE(w.Label9->text(), QStringLiteral("5"));
            QTest::keyClick(w.TrackBar1, Qt::Key_Home);
            QTest::keyClick(w.CheckBox1, Qt::Key_Space);
            QCOMPARE(ReadCompression(), 0);
            QCOMPARE(ReadOverwrite(), true);
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(w.isVisible());
        }
        TForm10 w;
        w.show();
        QCOMPARE(w.TrackBar1->value(), 0);
        QCOMPARE(w.Label9->text(), QStringLiteral("0"));
        QVERIFY(w.CheckBox1->isChecked());
        QVERIFY(w.ZipBuilder1.ExtrOptions.testFlag(ExtrOption::ExtrOverWrite));
        QCOMPARE(State(w), QStringLiteral("1110 0..100@0 Bereit."));
    }

    // "&Zipper" on the start screen shows the window modally.
    void start()
    {
        Form1 = new TForm1();
        Form10 = new TForm10();
        bool modal = false;
        QTimer::singleShot(0, Form10, [&] {
            modal = QApplication::activeModalWidget() == Form10;
            Form10->close();
        });
        Form1->BitBtn3->click();
        QVERIFY(modal);
        delete std::exchange(Form10, nullptr);
        delete std::exchange(Form1, nullptr);
    }

private:
    FakePlatform platform_;
};

LK_TEST_MAIN(ZipperTest)
#include "ZipperTest.moc"
