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
#include "support/DataTables.h"
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

using namespace Qt::StringLiterals;

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
            QProcess::execute(u"chattr"_s, {u"+i"_s, path});
        else
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(path).isDir()) {
            QFile probe(path + u"/probe"_s);
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
                QProcess::execute(u"chattr"_s, {u"-i"_s, path});
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
        // target: the file the fault hits
        // status: for a deletion, "deleted": entry 1 is gone
        DataColumns<QString, QString, QString, qint64, QStringList, QString>(
            "operation", "fault", "target", "limit", "messages", "status");
        const QStringList writeFailed{u"Fehler/0: Fehler beim Schreiben der Datei!"_s};
        const QStringList notDeleted{
            u"Frage/0: Der aktuelle Eintrag wird gelöscht.\nSicher?"_s,
            QStringLiteral("Fehler/0: Fehler beim Erzeugen einer temporären Datei. Konnte "
                           "Eintrag nicht löschen!")};
        const QStringList changed{QStringLiteral(
            "Fehler/0: Die Datei wurde inzwischen von einem anderen Programm geändert! Es wurde "
            "nichts geschrieben.")};
        const QStringList notReplaced{notDeleted[0],
                                      u"Fehler/0: Eintrag konnte nicht gelöscht werden."_s};
        const QStringList asked{notDeleted[0]};
        const QStringList convertAsk{
            u"Frage/2: Die Output-Datei existiert bereits. Überschreiben?"_s};
        const char* notCreated = "Konnte Output-Datei nicht erzeugen.";
        const QString htmlAsk =
            u"Frage/2: Ausgabedatei liste.html existiert bereits. Überschreiben?"_s;
        const QString htmlFailed = u"Fehler/1: Die HTML-Datei konnte nicht geschrieben werden!"_s;
        const QString zipAsk = u"Frage/0: %1/liste.zip existiert bereits.\nÜberschreiben?"_s;
        const QString packFailed = u"Lernkompass/0: Fataler Fehler in ZipDLL.DLL: Abbruch\n"_s;
        const QString unpackFailed = u"Lernkompass/0: Fataler Fehler in UnzDLL.DLL: Abbruch\n"_s;
        const QString notWritten =
            unpackFailed + u"Die Datei %1/liste.vok kann nicht geschrieben werden."_s;
        const auto row = [](const char* name, const char* operation, const char* fault,
                            const char* target, qint64 limit, const QStringList& messages,
                            const char* status) {
            QTest::newRow(name) << operation << fault << target << limit << messages << status;
        };
        // clang-format off
        row("store, disk full", "store", "full", "liste.vok", 16400, writeFailed, "");
        row("store, file locked while open", "store", "rofile", "liste.vok", 0, writeFailed, "");
        row("delete, disk full", "delete", "full", "liste.vok", 400, notDeleted, "");
        // A disk that is really full: the list itself could still grow into its last block.
        row("delete, file system full", "delete", "fsfull", "", 0, notDeleted, "");
        row("delete, folder locked", "delete", "rodir", "", 0, notDeleted, "");
        row("delete, file locked while open", "delete", "rofile", "liste.vok", 0, notReplaced, "");
        row("delete, rename fails", "delete", "rename", "", 0, notReplaced, "");
        row("delete, file cut while open", "delete", "cut", "liste.vok", 4400, changed, "");
        // A .tmp file of the user's, or a link by that name, is left alone; a list that is
        // a link stays one, and the file it names loses the entry.
        row("delete, liste.tmp a link", "delete", "tmplink", "", 0, asked, "deleted");
        row("delete, liste.tmp a file", "delete", "tmpfile", "", 0, asked, "deleted");
        row("delete, list a link", "delete", "voklink", "", 0, asked, "deleted");
        row("header, file cut while open", "header", "cut", "liste.vok", 200, changed, "");
        row("header, file locked while open", "header", "rofile", "liste.vok", 0, writeFailed, "");
        row("statistics, file locked", "statistics", "rofile", "Lernkompass.dat", 0, {}, "");
        // The converted file fits in the write buffer: only the final flush fails.
        row("convert, disk full", "convert", "full", "", 100, convertAsk,
            "Bei der Konvertierung ist ein Fehler aufgetreten.");
        row("convert, folder locked", "convert", "rodir", "", 0, convertAsk, notCreated);
        row("convert, output locked", "convert", "rofile", "liste.vok", 0, convertAsk, notCreated);
        row("html, folder locked", "html", "rodir", "", 0, {htmlAsk, htmlFailed}, "Bereit.");
        row("html, page locked", "html", "rofile", "liste.html", 0, {htmlAsk, htmlFailed},
            "Bereit.");
        row("pack, disk full", "pack", "full", "", 100, {zipAsk, packFailed + u"Schreibfehler."_s},
            "Beendet.");
        row("pack, folder locked", "pack", "rodir", "", 0,
            {zipAsk, packFailed + u"Die temporäre Datei kann nicht angelegt werden."_s},
            "Beendet.");
        row("pack, archive locked", "pack", "rofile", "liste.zip", 0,
            {zipAsk, packFailed + u"Die temporäre Datei kann nicht umbenannt werden."_s},
            "Beendet.");
        // The archive holds the file as it was read; so does the folder now.
        row("pack, file cut while packed", "pack", "cut", "liste.vok", 500, {zipAsk}, "Beendet.");
        row("unpack, disk full", "unpack", "full", "", 1000, {notWritten}, "Beendet.");
        row("unpack, folder locked", "unpack", "rodir", "", 0,
            {unpackFailed + u"Die Datei %1/liste.vok kann nicht angelegt werden."_s},
            "Beendet.");
        row("unpack, file locked", "unpack", "rofile", "liste.vok", 0, {notWritten}, "Beendet.");
        row("unpack, archive cut while read", "unpack", "cut", "liste.zip", 100,
            {unpackFailed + u"Unerwartetes Dateiende."_s}, "Beendet.");
        // clang-format on
    }
    void faults()
    {
        const auto [operation, fault, target, limit, messages, status] =
            DataRow<QString, QString, QString, qint64, QStringList, QString>(
                "operation", "fault", "target", "limit", "messages", "status");
        if (fault.startsWith(u'r') && RunningAsRoot() &&
            QStandardPaths::findExecutable(u"chattr"_s).isEmpty())
            QSKIP("root is stopped by chattr only");
        // Permissions stop neither writes through an open file nor a rename over it.
        if (fault == u"rofile"_s && !RunningAsRoot() &&
            !QStringList{u"convert"_s, u"html"_s, u"statistics"_s}.contains(operation))
            QSKIP("only the immutable attribute (root) locks an open file and its name");

        if (fault == u"fsfull"_s &&
            QProcess::execute(u"mount"_s,
                              {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, dir}) != 0)
            QSKIP("cannot mount a small file system here");
        // Left after the editor, which holds a file there open.
        const auto unmount = qScopeGuard([&] {
            if (fault == u"fsfull"_s)
                QProcess::execute(u"umount"_s, {dir});
        });

        // What a user has: a word list, its page, its archive, a library, the statistics.
        const QList<VocabularyEntry> entries = NumberedEntries(40);
        const QString vok = WriteVocabularyFile(dir, u"liste.vok"_s, entries);
        const QString other = NewTestDirectory();  // a folder elsewhere
        const QString privat = other + u"/privat.txt"_s;
        QVERIFY(WriteBytes(privat, "geheim"));
        QVERIFY(QFile::setPermissions(privat, QFile::ReadOwner | QFile::WriteOwner));
        if (fault == u"tmplink"_s)
            QVERIFY(QFile::link(privat, at(u"liste.tmp"_s)));
        if (fault == u"tmpfile"_s)
            QVERIFY(WriteBytes(at(u"liste.tmp"_s), "Notizen"));
        if (fault == u"voklink"_s)
            QVERIFY(QFile::rename(vok, other + u"/real.vok"_s) &&
                    QFile::link(other + u"/real.vok"_s, vok));
        if (fault == u"fsfull"_s) {
            QFile filler(at(u"filler"_s));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            filler.write(QByteArray(64 * 1024, 'f'));  // as much as fits
        }
        if (operation == u"html"_s)
            QVERIFY(WriteBytes(at(u"liste.html"_s), "alte Seite"));
        if (operation == u"convert"_s)
            QVERIFY(
                WriteBytes(at(u"liste.bib"_s), Library({Lesson("L", QByteArrayList(3, kHouse))})));
        if (operation == u"pack"_s)
            QVERIFY(WriteArchive(at(u"liste.zip"_s), L("alt.txt=alt")));
        if (operation == u"unpack"_s) {
            QStringList spec{u"liste.vok="_s};
            for (int i = 0; i < 3000; ++i)
                spec[0] += QString::number(i * 7919 % 10007);
            QVERIFY(WriteArchive(at(u"liste.zip"_s), spec, 0));
        }
        if (operation == u"statistics"_s)
            QVERIFY(
                WriteBytes(at(u"Lernkompass.dat"_s), QByteArray(2 * kStatisticsRecordSize, 'r')));
        const QMap<QString, QByteArray> before = Contents(dir);
        QMap<QString, QByteArray> elsewhere = Contents(other);

        // The editor and the file information hold the file open before the fault.
        std::unique_ptr<TForm2> editor;
        VocabularyFile open;
        if (operation == u"store"_s || operation == u"delete"_s) {
            editor = std::make_unique<TForm2>();
            editor->ResetEditor();
            editor->show();
            platform.fileAnswers << vok;
            editor->OeffnenClick();
            QCOMPARE(editor->Label2->text(), vok);
            if (operation == u"store"_s) {  // a new entry after the last one
                editor->ScrollBar1->setValue(editor->ScrollBar1->maximum());
                editor->Button1->click();
            }
        } else if (operation == u"header"_s) {
            QVERIFY(open.open(vok, VocabularyFile::Access::ReadWrite));
        }
        if (fault == u"cut"_s && (editor || open.isOpen()))
            QVERIFY(QFile::resize(at(target), limit));
        if (fault == u"rofile"_s && !lock(at(target)))
            QSKIP("cannot make a file unwritable here");
        if (fault == u"rodir"_s && !lock(dir))
            QSKIP("cannot make a folder unwritable here");

        TForm10 zipper;
        TForm11 converter;
        bool cut = false;
        zipper.show();
        const TZipBuilder::ProgressEvent forward = zipper.ZipBuilder1.OnProgress;
        zipper.ZipBuilder1.OnProgress = [&](ProgressType kind, const QString& name, qint64 n) {
            if (fault == u"cut"_s && kind == ProgressType::NewFile && !cut)
                cut = QFile::resize(at(target), limit);
            forward(kind, name, n);
        };
        QString shownStatus;
        const auto act = [&] {
            if (operation == u"store"_s) {
                editor->Edit2->setText(u"neu"_s);
                editor->Edit3->setText(u"new"_s);
                editor->Button1->click();
            } else if (operation == u"delete"_s) {
                platform.answers << MsgAnswer::Yes;
                editor->Eintraglschen1->trigger();
            } else if (operation == u"header"_s) {
                TForm4 form;
                QTimer::singleShot(0, &form, [&form] { form.close(); });
                form.ShowForEditor(open);
            } else if (operation == u"statistics"_s) {
                RunResult run;
                run.vocabularyPath = vok;
                run.lesson = u"L"_s;
                run.date = QDate(2001, 3, 5);
                if (WriteStatisticsRecord(at(u"Lernkompass.dat"_s), run))
                    shownStatus = u"geschrieben"_s;
            } else if (operation == u"convert"_s) {
                converter.show();
                platform.fileAnswers << at(u"liste.bib"_s) << vok;
                platform.answers << MsgAnswer::Yes;
                converter.Button1->click();
                converter.Button2->click();
                converter.Button3->click();
                shownStatus = converter.StatusText();
            } else if (operation == u"html"_s) {
                Form12->show();
                Form12->Edit1->setText(vok);
                platform.answers << MsgAnswer::Yes;
                Form12->Button2->click();
                shownStatus = Form12->StatusText->text();
                Form12->close();
            } else {
                const bool pack = operation == u"pack"_s;
                if (!zipper.CheckBox1->isChecked())
                    zipper.CheckBox1->click();  // unpacking overwrites
                platform.answers << MsgAnswer::Yes;
                platform.fileAnswers << (pack ? vok : at(u"liste.zip"_s));
                (pack ? zipper.Button1 : zipper.Button2)->click();
                shownStatus = zipper.StatusText();
            }
            return true;
        };
        SetRecordMoveFaults({.failReplace = fault == u"rename"_s});
        if (fault == u"full"_s) {
            if (!WithFileSizeLimit(limit, act))
                QSKIP("needs a file size limit");
        } else {
            act();
        }
        SetRecordMoveFaults({});
        cleanup();

        QCOMPARE(platform.messageLines(true), QStringList(messages).replaceInStrings(u"%1"_s, dir));
        if (!status.isEmpty() && status != u"deleted"_s)
            QCOMPARE(shownStatus, status);
        QCOMPARE(shownStatus == u"geschrieben"_s, false);
        if (fault == u"cut"_s && !editor && !open.isOpen())
            QVERIFY(cut);
        QMap<QString, QByteArray> expected = before;
        if (status == u"deleted"_s) {
            expected[u"liste.vok"_s] = VocabularyBytes(entries.mid(1));
            if (fault == u"voklink"_s)
                elsewhere[u"real.vok"_s] = expected[u"liste.vok"_s];
        }
        QCOMPARE(Contents(other), elsewhere);
        QCOMPARE(QFileInfo(vok).isSymLink(), fault == u"voklink"_s);
        QCOMPARE(QFileInfo(at(u"liste.tmp"_s)).isSymLink(), fault == u"tmplink"_s);
        QCOMPARE(int(QFile::permissions(privat) & 0x7077), 0x6000);  // still private
        if (fault == u"cut"_s)
            expected[target] = before[target].left(limit);  // what the other did
        QMap<QString, QByteArray> after = Contents(dir);
        if (operation == u"pack"_s && fault == u"cut"_s) {
            const auto packed = ReadArchive(at(u"liste.zip"_s));
            QCOMPARE(packed.keys(), QStringList{u"liste.vok"_s});
            QCOMPARE(std::get<0>(packed.first()), expected[target]);
            after[u"liste.zip"_s] = expected[u"liste.zip"_s];
        }
        QCOMPARE(after.keys(), expected.keys());
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    }
};

LK_TEST_MAIN(FaultsTest)
#include "FaultsTest.moc"
