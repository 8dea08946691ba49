// Faults from outside while the program writes: a full disk, a read-only file or folder,
// a file removed or cut short by another program. Each row drives a window the way a user
// does and checks what the user is told and that every file there before is still there,
// byte for byte, with nothing left beside it. (Faults other tests show already are not
// repeated here.)

#include <QCheckBox>
#include <QDirIterator>
#include <QProcess>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStandardPaths>

#include "app/Start.h"
#include "learn/StatisticsFile.h"
#include "support/TestSupport.h"
#include "tools/Drucker.h"
#include "tools/Konverter.h"
#include "tools/WinVokBytes.h"
#include "tools/ZipTestSupport.h"
#include "tools/Zipper.h"
#include "vocab/Dateiinfo.h"
#include "vocab/Editor.h"
#include "vocab/RecordMoves.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

bool RunningAsRoot()
{
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

// name -> bytes of every file below dir.
QMap<QString, QByteArray> Contents(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path.mid(dir.size() + 1), ReadBytes(path));
    }
    return files;
}

}  // namespace

class FaultsTest : public QObject {
    Q_OBJECT

    FakePlatform platform;
    QString dir;
    QStringList locked;  // made unwritable by the row; unlocked in cleanup()

    // Makes a file or folder unwritable: by its permissions, or, for root, whom permissions
    // do not stop, by the immutable attribute (which also stops writes through a file that
    // is open already). False when neither stops a write here.
    bool lock(const QString& path)
    {
        locked << path;
        if (RunningAsRoot())
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path});
        else
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(path).isDir()) {
            QFile probe(path + QStringLiteral("/probe"));
            const bool created = probe.open(QIODevice::WriteOnly);
            probe.remove();
            return !created;
        }
        QFile probe(path);
        return !probe.open(QIODevice::ReadWrite);
    }
    QString at(const QString& name) const { return dir + u'/' + name; }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(WriteVersionCreatingStore());
        Form1 = new TForm1;
        Form12 = new TForm12;
    }
    void init()
    {
        platform.clear();
        dir = NewTestDirectory();
    }
    void cleanup()
    {
        for (const QString& path : std::as_const(locked)) {
            if (RunningAsRoot())
                QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        locked.clear();
    }

    // "full" lets files grow to `limit` bytes only, "fsfull" fills the folder's file system;
    // "rofile" and "rodir" lock the named file or the folder (after the editor opened the
    // file); "cut" cuts the named file to `limit` bytes while the job reads it; "rename"
    // fails the move of the shortened file; "tmplink", "tmpfile" and "voklink" put a link
    // or a file of the user's where the program works. Messages are "caption/icon: text" (%1: the
    // folder); the status is the tool window's status line (empty: not checked).
    void faults_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("target");  // the file the fault hits
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("status");  // for a deletion, "deleted": entry 1 is gone
        const QStringList writeFailed{QStringLiteral("Fehler/0: Fehler beim Schreiben der Datei!")};
        const QStringList notDeleted{
            QStringLiteral("Frage/0: Der aktuelle Eintrag wird gelöscht.\nSicher?"),
            QStringLiteral("Fehler/0: Fehler beim Erzeugen einer temporären Datei. Konnte "
                           "Eintrag nicht löschen!")};
        const QStringList changed{QStringLiteral(
            "Fehler/0: Die Datei wurde inzwischen von einem anderen Programm geändert! Es wurde "
            "nichts geschrieben.")};
        const QStringList notReplaced{
            notDeleted[0], QStringLiteral("Fehler/0: Eintrag konnte nicht gelöscht werden.")};
        const QStringList convertAsk{
            QStringLiteral("Frage/2: Die Output-Datei existiert bereits. Überschreiben?")};
        const QString notCreated = QStringLiteral("Konnte Output-Datei nicht erzeugen.");
        const QString htmlAsk =
            QStringLiteral("Frage/2: Ausgabedatei liste.html existiert bereits. Überschreiben?");
        const QString htmlFailed =
            QStringLiteral("Fehler/1: Die HTML-Datei konnte nicht geschrieben werden!");
        const QString zipAsk =
            QStringLiteral("Frage/0: %1/liste.zip existiert bereits.\nÜberschreiben?");
        const QString packFailed =
            QStringLiteral("Lernkompass/0: Fataler Fehler in ZipDLL.DLL: Abbruch\n");
        const QString unpackFailed =
            QStringLiteral("Lernkompass/0: Fataler Fehler in UnzDLL.DLL: Abbruch\n");
        const QString notWritten =
            unpackFailed + QStringLiteral("Die Datei %1/liste.vok kann nicht geschrieben werden.");
        // clang-format off
        QTest::newRow("store, disk full") << "store" << "full" << "liste.vok" << 16400LL
            << writeFailed << "";
        QTest::newRow("store, file locked while open") << "store" << "rofile" << "liste.vok"
            << 0LL << writeFailed << "";
        QTest::newRow("delete, disk full") << "delete" << "full" << "liste.vok" << 400LL
            << notDeleted << "";
        // A disk that is really full: the list itself could still grow into its last block.
        QTest::newRow("delete, file system full") << "delete" << "fsfull" << "" << 0LL
            << notDeleted << "";
        QTest::newRow("delete, folder locked") << "delete" << "rodir" << "" << 0LL
            << notDeleted << "";
        QTest::newRow("delete, file locked while open") << "delete" << "rofile" << "liste.vok"
            << 0LL << notReplaced << "";
        QTest::newRow("delete, rename fails") << "delete" << "rename" << "" << 0LL
            << notReplaced << "";
        QTest::newRow("delete, file cut while open") << "delete" << "cut" << "liste.vok"
            << 4400LL << changed << "";
        // A .tmp file of the user's, or a link by that name, is left alone; a list that is
        // a link stays one, and the file it names loses the entry.
        QTest::newRow("delete, liste.tmp a link") << "delete" << "tmplink" << "" << 0LL
            << QStringList{notDeleted[0]} << "deleted";
        QTest::newRow("delete, liste.tmp a file") << "delete" << "tmpfile" << "" << 0LL
            << QStringList{notDeleted[0]} << "deleted";
        QTest::newRow("delete, list a link") << "delete" << "voklink" << "" << 0LL
            << QStringList{notDeleted[0]} << "deleted";
        QTest::newRow("header, file cut while open") << "header" << "cut" << "liste.vok"
            << 200LL << changed << "";
        QTest::newRow("header, file locked while open") << "header" << "rofile" << "liste.vok"
            << 0LL << QStringList{QStringLiteral("Fehler/0: Fehler beim Schreiben der Datei!")}
            << "";
        QTest::newRow("statistics, file locked") << "statistics" << "rofile"
            << "Lernkompass.dat" << 0LL << QStringList() << "";
        // The converted file fits in the write buffer: only the final flush fails.
        QTest::newRow("convert, disk full") << "convert" << "full" << "" << 100LL
            << convertAsk << "Bei der Konvertierung ist ein Fehler aufgetreten.";
        QTest::newRow("convert, folder locked") << "convert" << "rodir" << "" << 0LL
            << convertAsk << notCreated;
        QTest::newRow("convert, output locked") << "convert" << "rofile" << "liste.vok" << 0LL
            << convertAsk << notCreated;
        QTest::newRow("html, folder locked") << "html" << "rodir" << "" << 0LL
            << QStringList{htmlAsk, htmlFailed} << "Bereit.";
        QTest::newRow("html, page locked") << "html" << "rofile" << "liste.html" << 0LL
            << QStringList{htmlAsk, htmlFailed} << "Bereit.";
        QTest::newRow("pack, disk full") << "pack" << "full" << "" << 100LL
            << QStringList{zipAsk, packFailed + QStringLiteral("Schreibfehler.")} << "Beendet.";
        QTest::newRow("pack, folder locked") << "pack" << "rodir" << "" << 0LL
            << QStringList{zipAsk, packFailed + QStringLiteral("Die temporäre Datei kann nicht "
                                                         "angelegt werden.")}
            << "Beendet.";
        QTest::newRow("pack, archive locked") << "pack" << "rofile" << "liste.zip" << 0LL
            << QStringList{zipAsk, packFailed + QStringLiteral("Die temporäre Datei kann nicht "
                                                               "umbenannt werden.")}
            << "Beendet.";
        // The archive holds the file as it was read; so does the folder now.
        QTest::newRow("pack, file cut while packed") << "pack" << "cut" << "liste.vok"
            << 500LL << QStringList{zipAsk} << "Beendet.";
        QTest::newRow("unpack, disk full") << "unpack" << "full" << "" << 1000LL
            << QStringList{notWritten} << "Beendet.";
        QTest::newRow("unpack, folder locked") << "unpack" << "rodir" << "" << 0LL
            << QStringList{unpackFailed +
                           QStringLiteral("Die Datei %1/liste.vok kann nicht angelegt werden.")}
            << "Beendet.";
        QTest::newRow("unpack, file locked") << "unpack" << "rofile" << "liste.vok" << 0LL
            << QStringList{notWritten} << "Beendet.";
        QTest::newRow("unpack, archive cut while read") << "unpack" << "cut" << "liste.zip"
            << 100LL << QStringList{unpackFailed + QStringLiteral("Unerwartetes Dateiende.")}
            << "Beendet.";
        // clang-format on
    }
    void faults()
    {
        QFETCH(QString, operation);
        QFETCH(QString, fault);
        QFETCH(QString, target);
        QFETCH(qint64, limit);
        QFETCH(QStringList, messages);
        QFETCH(QString, status);
        if (fault.startsWith(u'r') && RunningAsRoot() &&
            QStandardPaths::findExecutable(QStringLiteral("chattr")).isEmpty())
            QSKIP("root is stopped by chattr only");
        // Permissions stop neither writes through an open file nor a rename over it.
        if (fault == QLatin1String("rofile") && !RunningAsRoot() &&
            !QStringList{QStringLiteral("convert"), QStringLiteral("html"),
                         QStringLiteral("statistics")}
                 .contains(operation))
            QSKIP("only the immutable attribute (root) locks an open file and its name");

        if (fault == QLatin1String("fsfull") &&
            QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=64k"), QStringLiteral("tmpfs"), dir}) != 0)
            QSKIP("cannot mount a small file system here");
        // Left after the editor, which holds a file there open.
        const auto unmount = qScopeGuard([&] {
            if (fault == QLatin1String("fsfull"))
                QProcess::execute(QStringLiteral("umount"), {dir});
        });

        // What a user has: a word list, its page, its archive, a library, the statistics.
        const QList<VocabularyEntry> entries = NumberedEntries(40);
        const QString vok = WriteVocabularyFile(dir, QStringLiteral("liste.vok"), entries);
        const QString other = NewTestDirectory();  // a folder elsewhere
        const QString privat = other + QStringLiteral("/privat.txt");
        QVERIFY(WriteBytes(privat, "geheim"));
        QVERIFY(QFile::setPermissions(privat, QFile::ReadOwner | QFile::WriteOwner));
        if (fault == QLatin1String("tmplink"))
            QVERIFY(QFile::link(privat, at(QStringLiteral("liste.tmp"))));
        if (fault == QLatin1String("tmpfile"))
            QVERIFY(WriteBytes(at(QStringLiteral("liste.tmp")), "Notizen"));
        if (fault == QLatin1String("voklink"))
            QVERIFY(QFile::rename(vok, other + QStringLiteral("/real.vok")) &&
                    QFile::link(other + QStringLiteral("/real.vok"), vok));
        if (fault == QLatin1String("fsfull")) {
            QFile filler(at(QStringLiteral("filler")));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            filler.write(QByteArray(64 * 1024, 'f'));  // as much as fits
        }
        if (operation == QLatin1String("html"))
            QVERIFY(WriteBytes(at(QStringLiteral("liste.html")), "alte Seite"));
        if (operation == QLatin1String("convert"))
            QVERIFY(WriteBytes(at(QStringLiteral("liste.bib")),
                               Library({Lesson("L", QByteArrayList(3, kHouse))})));
        if (operation == QLatin1String("pack"))
            QVERIFY(WriteArchive(at(QStringLiteral("liste.zip")), L("alt.txt=alt")));
        if (operation == QLatin1String("unpack")) {
            QStringList spec{QStringLiteral("liste.vok=")};
            for (int i = 0; i < 3000; ++i)
                spec[0] += QString::number(i * 7919 % 10007);
            QVERIFY(WriteArchive(at(QStringLiteral("liste.zip")), spec, 0));
        }
        if (operation == QLatin1String("statistics"))
            QVERIFY(WriteBytes(at(QStringLiteral("Lernkompass.dat")),
                               QByteArray(2 * kStatisticsRecordSize, 'r')));
        const QMap<QString, QByteArray> before = Contents(dir);
        QMap<QString, QByteArray> elsewhere = Contents(other);

        // The editor and the file information hold the file open before the fault.
        std::unique_ptr<TForm2> editor;
        VocabularyFile open;
        if (operation == QLatin1String("store") || operation == QLatin1String("delete")) {
            editor = std::make_unique<TForm2>();
            editor->ResetEditor();
            editor->show();
            platform.fileAnswers << vok;
            editor->OeffnenClick();
            QCOMPARE(editor->Label2->text(), vok);
            if (operation == QLatin1String("store")) {  // a new entry after the last one
                editor->ScrollBar1->setValue(editor->ScrollBar1->maximum());
                editor->Button1->click();
            }
        } else if (operation == QLatin1String("header")) {
            QVERIFY(open.open(vok, VocabularyFile::Access::ReadWrite));
        }
        if (fault == QLatin1String("cut") && (editor || open.isOpen()))
            QVERIFY(QFile::resize(at(target), limit));
        if (fault == QLatin1String("rofile") && !lock(at(target)))
            QSKIP("cannot make a file unwritable here");
        if (fault == QLatin1String("rodir") && !lock(dir))
            QSKIP("cannot make a folder unwritable here");

        TForm10 zipper;
        TForm11 converter;
        bool cut = false;
        zipper.show();
        const TZipBuilder::ProgressEvent forward = zipper.ZipBuilder1.OnProgress;
        zipper.ZipBuilder1.OnProgress = [&](ProgressType kind, const QString& name, qint64 n) {
            if (fault == QLatin1String("cut") && kind == ProgressType::NewFile && !cut)
                cut = QFile::resize(at(target), limit);
            forward(kind, name, n);
        };
        QString shownStatus;
        const auto act = [&] {
            if (operation == QLatin1String("store")) {
                editor->Edit2->setText(QStringLiteral("neu"));
                editor->Edit3->setText(QStringLiteral("new"));
                editor->Button1->click();
            } else if (operation == QLatin1String("delete")) {
                platform.answers << MsgAnswer::Yes;
                editor->Eintraglschen1->trigger();
            } else if (operation == QLatin1String("header")) {
                TForm4 form;
                QTimer::singleShot(0, &form, [&form] { form.close(); });
                form.ShowForEditor(open);
            } else if (operation == QLatin1String("statistics")) {
                RunResult run;
                run.vocabularyPath = vok;
                run.lesson = QStringLiteral("L");
                run.date = QDate(2001, 3, 5);
                if (WriteStatisticsRecord(at(QStringLiteral("Lernkompass.dat")), run))
                    shownStatus = QStringLiteral("geschrieben");
            } else if (operation == QLatin1String("convert")) {
                converter.show();
                platform.fileAnswers << at(QStringLiteral("liste.bib")) << vok;
                platform.answers << MsgAnswer::Yes;
                converter.Button1->click();
                converter.Button2->click();
                converter.Button3->click();
                shownStatus = converter.StatusText();
            } else if (operation == QLatin1String("html")) {
                Form12->show();
                Form12->Edit1->setText(vok);
                platform.answers << MsgAnswer::Yes;
                Form12->Button2->click();
                shownStatus = Form12->StatusText->text();
                Form12->close();
            } else {
                const bool pack = operation == QLatin1String("pack");
                if (!zipper.CheckBox1->isChecked())
                    zipper.CheckBox1->click();  // unpacking overwrites
                platform.answers << MsgAnswer::Yes;
                platform.fileAnswers << (pack ? vok : at(QStringLiteral("liste.zip")));
                (pack ? zipper.Button1 : zipper.Button2)->click();
                shownStatus = zipper.StatusText();
            }
            return true;
        };
        SetRecordMoveFaults({.failReplace = fault == QLatin1String("rename")});
        if (fault == QLatin1String("full")) {
            if (!WithFileSizeLimit(limit, act))
                QSKIP("needs a file size limit");
        } else {
            act();
        }
        SetRecordMoveFaults({});
        cleanup();

        QCOMPARE(platform.messageLines(true), messages.replaceInStrings(QStringLiteral("%1"), dir));
        if (!status.isEmpty() && status != QLatin1String("deleted"))
            QCOMPARE(shownStatus, status);
        QCOMPARE(shownStatus == QLatin1String("geschrieben"), false);
        if (fault == QLatin1String("cut") && !editor && !open.isOpen())
            QVERIFY(cut);
        QMap<QString, QByteArray> expected = before;
        if (status == QLatin1String("deleted")) {
            expected[QStringLiteral("liste.vok")] = VocabularyBytes(entries.mid(1));
            if (fault == QLatin1String("voklink"))
                elsewhere[QStringLiteral("real.vok")] = expected[QStringLiteral("liste.vok")];
        }
        QCOMPARE(Contents(other), elsewhere);
        QCOMPARE(QFileInfo(vok).isSymLink(), fault == QLatin1String("voklink"));
        QCOMPARE(QFileInfo(at(QStringLiteral("liste.tmp"))).isSymLink(),
                 fault == QLatin1String("tmplink"));
        QCOMPARE(int(QFile::permissions(privat) & 0x7077), 0x6000);  // still private
        if (fault == QLatin1String("cut"))
            expected[target] = before[target].left(limit);  // what the other did
        QMap<QString, QByteArray> after = Contents(dir);
        if (operation == QLatin1String("pack") && fault == QLatin1String("cut")) {
            const auto packed = ReadArchive(at(QStringLiteral("liste.zip")));
            QCOMPARE(packed.keys(), QStringList{QStringLiteral("liste.vok")});
            QCOMPARE(std::get<0>(packed.first()), expected[target]);
            after[QStringLiteral("liste.zip")] = expected[QStringLiteral("liste.zip")];
        }
        QCOMPARE(after.keys(), expected.keys());
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    }
};

LK_TEST_MAIN(FaultsTest)
#include "FaultsTest.moc"
