#include "ZipTestSupport.h"
#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "support/DataTables.h"
#include "support/FakePlatform.h"
#include "tools/Zipper.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QSlider>

using namespace Qt::StringLiterals;

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
    // progress step: "&Abbrechen" stops the job and leaves nothing behind, the close
    // box does not, and a job ending without its end-of-batch event still leaves the window
    // idle.
    void jobs_data()
    {
        // job: pack or unpack, the name chosen, level, answer, action
        // before: "name=content"; "a.zip=": holds alt.txt
        // messages: "caption: text"; %1: the directory
        DataColumns<QString, QStringList, QStringList, QStringList, QString>(
            "job", "before", "messages", "after", "status");
        const auto row = [](const QByteArray& name, const char* job, const QStringList& before,
                            const QStringList& messages, const char* after, const char* status) {
            QTest::newRow(name.constData())
                << job << before << messages << (*after ? L(after) : QStringList()) << status;
        };
        const QStringList old = L("Liste.vok=Haus|Liste.zip="), none = L("Liste.vok=Haus");
        const QStringList ask = L("Frage: %1/Liste.zip existiert bereits.\nÜberschreiben?");
        const QStringList missing = L("Fehler: Datei existiert nicht!");
        const char* kept = "Liste.vok=Haus|Liste.zip:alt.txt/8";
        const char* replaced = "Liste.vok=Haus|Liste.zip:Liste.vok/8";
        row("pack Liste.vok stored", "pack Liste.vok 0 no", none, {},
            "Liste.vok=Haus|Liste.zip:Liste.vok/0", "Beendet.");
        row("pack Liste without extension at 9", "pack Liste 9 no", L("Liste=Haus"), {},
            "Liste=Haus|Liste.zip:Liste/8", "Beendet.");
        row("old archive replaced on Yes", "pack Liste.vok 5 yes", old, ask, replaced, "Beendet.");
        row("old archive kept on No", "pack Liste.vok 5 no", old, ask, kept, "Bereit.");
        for (const QByteArray name : {"x.zip", "x.ZIP"})
            row("pack " + name, "pack " + name + " 5 no", L("x.zip=|x.ZIP="),
                L("Meldung: Datei ist bereits komprimiert!"), "x.ZIP:alt.txt/8|x.zip:alt.txt/8",
                "Bereit.");
        row("pack missing file", "pack fehlt.vok 5 no", {}, missing, "", "Bereit.");
        row("unpack x.ZIP", "unpack x.ZIP 5 no", L("x.ZIP="), L("Fehler: Falsche Dateiendung!"),
            "x.ZIP:alt.txt/8", "Bereit.");
        row("unpack missing x.zip", "unpack x.zip 5 no", {}, missing, "", "Bereit.");
        row("unpack a damaged archive", "unpack y.zip 5 no", L("y.zip=kaputt"),
            L("Lernkompass: Fataler Fehler in UnzDLL.DLL: Abbruch\nDie Datei ist kein ZIP-Archiv."),
            "y.zip=kaputt", "Beendet.");
        row("pack cancelled", "pack Liste.vok 5 yes click", old, ask, kept, "Abgebrochen.");
        row("unpack cancelled", "unpack Liste.zip 5 yes click", old, {}, kept, "Abgebrochen.");
        row("close box ignored", "pack Liste.vok 5 yes close", old, ask, replaced, "Beendet.");
        row("no end of batch", "unpack Liste.zip 5 yes drop-end", old, {},
            "Liste.vok=Haus|Liste.zip:alt.txt/8|alt.txt=alt", "Beendet.");
    }
    void jobs()
    {
        auto [job, before, messages, after, status] =
            DataRow<QString, QStringList, QStringList, QStringList, QString>(
                "job", "before", "messages", "after", "status");
        const QStringList args = job.split(u' ');
        const bool pack = args[0] == QLatin1String("pack");
        const QString action = args.value(4);
        const QString dir = NewTestDirectory() + u'/';
        for (const QString& file : before)
            QVERIFY(file.endsWith(u'=') ? WriteArchive(dir + file.chopped(1), L("alt.txt=alt"))
                                        : WriteBytes(dir + file.section(u'=', 0, 0),
                                                     file.section(u'=', 1).toUtf8()));
        TForm10 w;
        w.show();
        w.TrackBar1->setValue(args[2].toInt());
        QStringList seen;  // the window's state at the first step, and after the action
        const TZipBuilder::ProgressEvent forward = w.ZipBuilder1.OnProgress;
        w.ZipBuilder1.OnProgress = [&](ProgressType kind, const QString& name, qint64 size) {
            if (kind == ProgressType::EndOfBatch && action == QStringLiteral("drop-end"))
                return;
            forward(kind, name, size);
            if (kind != ProgressType::ProgressUpdate || !seen.isEmpty() || action.isEmpty())
                return;
            seen << State(w);
            if (action == QStringLiteral("click"))
                QTest::mouseClick(w.Button3, Qt::LeftButton);
            else if (action == QStringLiteral("close"))
                w.close();
            seen << State(w);
        };
        platform_.answers << (args[3] == QLatin1String("yes") ? MsgAnswer::Yes : MsgAnswer::No);
        platform_.fileAnswers << dir + args[1];
        QTest::mouseClick(pack ? w.Button1 : w.Button2, Qt::LeftButton);

        QCOMPARE(platform_.messageLines(false), messages.replaceInStrings(u"%1/"_s, dir));
        QCOMPARE(platform_.fileDialogs.value(0).title,
                 pack ? u"Komprimieren"_s : u"Dekomprimieren"_s);
        QCOMPARE(ReadCurrentDirectory() + u'/', dir);
        after.sort();
        QCOMPARE(Tree(dir), after);
        QVERIFY(w.isVisible());
        QCOMPARE(State(w), u"1110 0..100@0 "_s + status);
        const QString running = pack ? u"0001 0..4@4 Kompression läuft ..."_s
                                     : u"0001 0..3@3 Dekompression läuft ..."_s;
        if (!action.isEmpty())
            QCOMPARE(seen,
                     QStringList({running, status == u"Abgebrochen."_s ? State(w) : running}));
    }

    // Level and overwrite option, changed with the keyboard, are stored at once and shown
    // again by a new window (as after a restart).
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
        }
        TForm10 w;
        w.show();
        QCOMPARE(w.TrackBar1->value() + w.Label9->text().toInt(), 0);
        QVERIFY(w.CheckBox1->isChecked() &&
                w.ZipBuilder1.ExtrOptions.testFlag(ExtrOption::ExtrOverWrite));
        QCOMPARE(State(w), u"1110 0..100@0 Bereit."_s);
    }

    // "&Zipper" on the start screen shows the window modally.
    void start()
    {
        TForm1 start;
        Form10 = new TForm10();
        bool modal = false;
        QTimer::singleShot(0, Form10, [&] {
            modal = QApplication::activeModalWidget() == Form10;
            Form10->close();
        });
        start.BitBtn3->click();
        QVERIFY(modal);
        delete std::exchange(Form10, nullptr);
    }

private:
    FakePlatform platform_;
};

LK_TEST_MAIN(ZipperTest)
#include "ZipperTest.moc"
