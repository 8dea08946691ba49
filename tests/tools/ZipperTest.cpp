#include "ZipTestSupport.h"
#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "tools/Zipper.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

class ZipperTest : public QObject {
    Q_OBJECT

    // The window's state as one text: enabled buttons and track bar, bar range and status.
    static QString State(const TForm10& w)
    {
        return QStringLiteral("%1%2%3%4 %5..%6@%7 %8")
            .arg(int(w.Button1->isEnabled()))
            .arg(int(w.Button2->isEnabled()))
            .arg(int(w.TrackBar1->isEnabled()))
            .arg(int(w.Button3->isEnabled()))
            .arg(w.ProgressBar1->minimum())
            .arg(w.ProgressBar1->maximum())
            .arg(w.ProgressBar1->value())
            .arg(w.StatusText());
    }
    // The directory's files, archives as "name:entry/method,..." (raw when unreadable).
    static QStringList Listing(const QString& dir)
    {
        QStringList listing;
        for (const QString& entry : Tree(dir)) {
            const QString name = entry.chopped(4);
            const auto stored = ReadArchive(dir + u'/' + name);
            if (!entry.endsWith(QStringLiteral("=zip")) || stored.isEmpty()) {
                listing << (stored.isEmpty() && entry.endsWith(QStringLiteral("=zip"))
                                ? name + u'=' + QString::fromUtf8(ReadBytes(dir + u'/' + name))
                                : entry);
                continue;
            }
            QStringList entries;
            for (auto it = stored.begin(); it != stored.end(); ++it)
                entries << it.key() + u'/' + QString::number(it->method);
            listing << name + u':' + entries.join(u',');
        }
        listing.sort();
        return listing;
    }
    QStringList Messages() const
    {
        QStringList shown;
        for (const FakePlatform::Message& m : platform_.messages)
            shown << m.caption + QStringLiteral(": ") + m.text;
        return shown;
    }

private Q_SLOTS:
    void init()
    {
        RemoveSettingsFile();
        WriteVersionCreatingStore();
        platform_.clear();
    }

    // Pack and unpack through the window: every check and message in its order, the
    // archive or files written, the window idle afterwards.
    void jobs_data()
    {
        QTest::addColumn<bool>("pack");
        QTest::addColumn<QString>("chosen");  // empty: the dialog is cancelled
        QTest::addColumn<QStringList>(
            "before");  // "name=content"; x.zip/Liste.zip hold "alt.txt=alt"
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<int>("answer");            // to the question, if one comes
        QTest::addColumn<QStringList>("messages");  // "caption: text"; %1: the directory
        QTest::addColumn<QStringList>("after");     // the directory; archives as "name:entries"
        QTest::addColumn<QString>("status");
        const QString vok = QStringLiteral("Liste.vok=Haus");
        QTest::newRow("pack Liste.vok stored")
            << true << "Liste.vok" << QStringList{vok} << 0 << false << 0 << QStringList()
            << L("Liste.vok=Haus|Liste.zip:Liste.vok/0") << "Beendet.";
        QTest::newRow("pack Liste without extension at 9")
            << true << "Liste" << L("Liste=Haus") << 9 << false << 0 << QStringList()
            << L("Liste=Haus|Liste.zip:Liste/8") << "Beendet.";
        QTest::newRow("old archive replaced on Yes")
            << true << "Liste.vok" << L("Liste.vok=Haus|Liste.zip=") << 5 << false
            << int(MsgAnswer::Yes) << L("Frage: %1/Liste.zip existiert bereits.\nÜberschreiben?")
            << L("Liste.vok=Haus|Liste.zip:Liste.vok/8") << "Beendet.";
        QTest::newRow("old archive kept on No")
            << true << "Liste.vok" << L("Liste.vok=Haus|Liste.zip=") << 5 << false
            << int(MsgAnswer::No) << L("Frage: %1/Liste.zip existiert bereits.\nÜberschreiben?")
            << L("Liste.vok=Haus|Liste.zip:alt.txt/8") << "Bereit.";
        for (const char* name : {"x.zip", "x.ZIP"})
            QTest::addRow("pack %s", name) << true << name << L("x.zip=|x.ZIP=") << 5 << false << 0
                                           << L("Meldung: Datei ist bereits komprimiert!")
                                           << L("x.ZIP:alt.txt/8|x.zip:alt.txt/8") << "Bereit.";
        QTest::newRow("pack missing file")
            << true << "fehlt.vok" << QStringList() << 5 << false << 0
            << L("Fehler: Datei existiert nicht!") << QStringList() << "Bereit.";
        QTest::newRow("pack dialog cancelled") << true << "" << QStringList{vok} << 5 << false << 0
                                               << QStringList() << QStringList{vok} << "Bereit.";
        QTest::newRow("unpack x.ZIP")
            << false << "x.ZIP" << L("x.ZIP=") << 5 << false << 0
            << L("Fehler: Falsche Dateiendung!") << L("x.ZIP:alt.txt/8") << "Bereit.";
        QTest::newRow("unpack missing x.zip")
            << false << "x.zip" << QStringList() << 5 << false << 0
            << L("Fehler: Datei existiert nicht!") << QStringList() << "Bereit.";
        QTest::newRow("unpack keeps without overwrite")
            << false << "x.zip" << L("x.zip=|alt.txt=mein") << 5 << false << 0 << QStringList()
            << L("alt.txt=mein|x.zip:alt.txt/8") << "Beendet.";
        QTest::newRow("unpack replaces with overwrite")
            << false << "x.zip" << L("x.zip=|alt.txt=mein") << 5 << true << 0 << QStringList()
            << L("alt.txt=alt|x.zip:alt.txt/8") << "Beendet.";
        QTest::newRow("unpack a damaged archive")
            << false << "y.zip" << L("y.zip=kaputt") << 5 << false << 0
            << L("Lernkompass: Fataler Fehler in UnzDLL.DLL: Abbruch\nDie Datei ist kein "
                 "ZIP-Archiv.")
            << L("y.zip=kaputt") << "Beendet.";
    }
    void jobs()
    {
        QFETCH(bool, pack);
        QFETCH(QString, chosen);
        QFETCH(QStringList, before);
        QFETCH(int, level);
        QFETCH(bool, overwrite);
        QFETCH(int, answer);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, after);
        const QString dir = NewTestDirectory();
        for (const QString& file : before) {
            const QStringList parts = file.split(u'=');
            QVERIFY(parts[0].endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive) &&
                            parts[1].isEmpty()
                        ? WriteArchive(dir + u'/' + parts[0], Entries(L("alt.txt=alt")))
                        : WriteBytes(dir + u'/' + parts[0], parts[1].toUtf8()));
        }
        TForm10 w;
        w.show();
        w.TrackBar1->setValue(level);
        if (w.CheckBox1->isChecked() != overwrite)
            QTest::mouseClick(w.CheckBox1, Qt::LeftButton);
        platform_.answers << MsgAnswer(answer);
        platform_.fileAnswers << (chosen.isEmpty() ? std::nullopt
                                                   : std::optional(dir + u'/' + chosen));
        QTest::mouseClick(pack ? w.Button1 : w.Button2, Qt::LeftButton);

        for (QString& m : messages)
            m.replace(QStringLiteral("%1"), dir);
        QCOMPARE(Messages(), messages);
        QCOMPARE(platform_.fileDialogs.size(), 1);
        QCOMPARE(platform_.fileDialogs[0].title,
                 pack ? QStringLiteral("Komprimieren") : QStringLiteral("Dekomprimieren"));
        QCOMPARE(ReadCurrentDirectory(), chosen.isEmpty() ? QString() : dir);
        after.sort();
        QCOMPARE(Listing(dir), after);
        QFETCH(QString, status);
        QCOMPARE(State(w), QStringLiteral("1110 0..100@0 ") + status);
    }

    // What happens while a job runs, from inside its first progress step: "&Abbrechen" (or
    // Esc) stops it and leaves nothing behind; the close box does not; a component that
    // ends without its end-of-batch event still leaves the window idle.
    void running_data()
    {
        QTest::addColumn<bool>("pack");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("status");
        for (bool pack : {true, false}) {
            const char* job = pack ? "pack" : "unpack";
            QTest::addRow("%s cancelled", job)
                << pack << "click" << L("Liste.vok=Haus|Liste.zip:alt.txt/8") << "Abgebrochen.";
            QTest::addRow("%s cancelled by Esc", job)
                << pack << "Esc" << L("Liste.vok=Haus|Liste.zip:alt.txt/8") << "Abgebrochen.";
        }
        QTest::newRow("close box ignored")
            << true << "close" << L("Liste.vok=Haus|Liste.zip:Liste.vok/8") << "Beendet.";
        QTest::newRow("no end of batch")
            << false << "drop end" << L("Liste.vok=Haus|Liste.zip:alt.txt/8|alt.txt=alt")
            << "Beendet.";
    }
    void running()
    {
        QFETCH(bool, pack);
        QFETCH(QString, action);
        const QString dir = NewTestDirectory();
        QVERIFY(WriteBytes(dir + QStringLiteral("/Liste.vok"), "Haus"));
        QVERIFY(WriteArchive(dir + QStringLiteral("/Liste.zip"), Entries(L("alt.txt=alt"))));
        platform_.answers << MsgAnswer::Yes;
        TForm10 w;
        w.show();
        QStringList seen;  // the window's state at each step
        const TZipBuilder::ProgressEvent forward = w.ZipBuilder1.OnProgress;
        w.ZipBuilder1.OnProgress = [&](ProgressType kind, const QString& name, qint64 size) {
            if (kind == ProgressType::EndOfBatch && action == QStringLiteral("drop end"))
                return;
            forward(kind, name, size);
            if (kind != ProgressType::ProgressUpdate || !seen.isEmpty())
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
        platform_.fileAnswers << dir + (pack ? QStringLiteral("/Liste.vok")
                                             : QStringLiteral("/Liste.zip"));
        (pack ? w.Button1 : w.Button2)->click();
        const QString running = QStringLiteral("0001 0..%1@%1 ").arg(pack ? 4 : 3) +
                                (pack ? QStringLiteral("Kompression läuft ...")
                                      : QStringLiteral("Dekompression läuft ..."));
        QCOMPARE(seen.value(0), running);
        QFETCH(QString, status);
        QCOMPARE(seen.value(1), status == QStringLiteral("Abgebrochen.")
                                    ? QStringLiteral("1110 0..100@0 Abgebrochen.")
                                    : running);
        QVERIFY(w.isVisible());
        QCOMPARE(State(w), QStringLiteral("1110 0..100@0 ") + status);
        QTEST(Listing(dir), "after");
        QCOMPARE(platform_.messages.size(), pack ? 1 : 0);  // the question to replace
    }

    // Level and overwrite option, changed with the keyboard, are stored at once and shown
    // again by a new window (as after a restart); Esc on the idle window does nothing.
    void settings_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("check");
        QTest::addColumn<int>("level");
        QTest::newRow("Home, ticked") << int(Qt::Key_Home) << true << 0;
        QTest::newRow("End") << int(Qt::Key_End) << false << 9;
        QTest::newRow("Left twice, ticked") << int(Qt::Key_Left) << true << 3;
    }
    void settings()
    {
        QFETCH(int, key);
        QFETCH(bool, check);
        QFETCH(int, level);
        {
            TForm10 w;
            w.show();
            QCOMPARE(w.Label9->text(), QStringLiteral("5"));
            w.TrackBar1->setFocus();
            for (int i = 0; i < (key == Qt::Key_Left ? 2 : 1); ++i)
                QTest::keyClick(w.TrackBar1, Qt::Key(key));
            if (check)
                QTest::keyClick(w.CheckBox1, Qt::Key_Space);
            QCOMPARE(ReadCompression(), level);
            QCOMPARE(ReadOverwrite(), check);
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(w.isVisible());
        }
        TForm10 w;
        w.show();
        QCOMPARE(w.TrackBar1->value(), level);
        QCOMPARE(w.Label9->text(), QString::number(level));
        QCOMPARE(w.CheckBox1->isChecked(), check);
        QCOMPARE(w.ZipBuilder1.ExtrOptions.testFlag(ExtrOption::ExtrOverWrite), check);
        QCOMPARE(w.StatusText(), QStringLiteral("Bereit."));
    }

    // "&Zipper" on the start screen shows the window modally; every control has a name a
    // screen reader can say, and the value labels say their values.
    void startAndNames()
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
        for (QWidget* w : Form10->findChildren<QWidget*>()) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            if (auto* label = qobject_cast<QLabel*>(w))
                QCOMPARE(a->text(QAccessible::Name), label->text());
            else if (w->focusPolicy() != Qt::NoFocus || qobject_cast<QProgressBar*>(w))
                QVERIFY2(!a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
        }
        delete std::exchange(Form10, nullptr);
        delete std::exchange(Form1, nullptr);
    }

private:
    FakePlatform platform_;
};

LK_TEST_MAIN(ZipperTest)
#include "ZipperTest.moc"
