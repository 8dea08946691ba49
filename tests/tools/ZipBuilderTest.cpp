#include "ZipTestSupport.h"
#include "support/DataTables.h"
#include "tools/ZipBuilder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <filesystem>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

class ZipBuilderTest : public QObject {
    Q_OBJECT

    // A component recording its events ("kind name size") and messages ("code: text");
    // the first event of kind cancelAt sets the cancel request.
    struct Recorder {
        TZipBuilder zb;
        QStringList events, messages;
        int cancelAt = -1;
        Recorder(const QString& archive, const QStringList& files = {})
        {
            zb.SetFileName(archive);
            zb.FSpecArgs = files;
            zb.OnProgress = [this](ProgressType kind, const QString& name, qint64 size) {
                events << u"%1 %2 %3"_s.arg(int(kind)).arg(name).arg(size);
                zb.Cancel = zb.Cancel || int(kind) == cancelAt;
            };
            zb.OnMessage = [this](int code, const QString& text) {
                messages << QString::number(code) + u": "_s + text;
            };
        }
    };

private Q_SLOTS:
    // One entry of the file's name and bytes at the level asked for, as libzip itself
    // writes it; the events in their order; an old archive replaced, never extended; an archive
    // name that links elsewhere stays a link to the new archive.
    void pack_data()
    {
        DataColumns<int, QString, QByteArray, bool>("level", "name", "bytes", "linked");
        QByteArray text;
        for (int i = 0; i < 20000; ++i)
            text += QByteArray::number(i * i % 9973) + " Haus house Baum tree\r\n";
        QTest::newRow("level 0 stores") << 0 << "Liste.vok" << text << false;
        QTest::newRow("level 5") << 5 << "Liste.vok" << text << false;
        QTest::newRow("level 9, archive is a link") << 9 << "Liste.vok" << text << true;
        QTest::newRow("empty file, umlaut") << 5 << "Übung" << QByteArray() << false;
    }
    void pack()
    {
        const auto [level, name, bytes, linked] =
            DataRow<int, QString, QByteArray, bool>("level", "name", "bytes", "linked");
        const QString dir = NewTestDirectory(), elsewhere = NewTestDirectory();
        const QString zip = dir + u"/Liste.zip"_s, real = linked ? elsewhere + u"/real.zip"_s : zip;
        QVERIFY(WriteBytes(dir + u'/' + name, bytes) && WriteArchive(real, L("alt.txt=alt")));
        QVERIFY(!linked || QFile::link(real, zip));
        Recorder r(zip, {dir + u'/' + name});
        r.zb.AddCompLevel = level;
        r.zb.Add();

        QCOMPARE(r.messages, QStringList());
        const auto stored = ReadArchive(zip);
        QCOMPARE(stored.keys(), QStringList{name});
        // The bytes, the method and the compressed size of libzip's own entry at that level.
        const QString reference = NewTestDirectory() + u"/ref.zip"_s;
        QVERIFY(WriteArchive(reference, {u"x="_s + QString::fromUtf8(bytes)}, level));
        QVERIFY(stored.first() == ReadArchive(reference).value(u"x"_s));
        QVERIFY(r.zb.FSpecArgs.isEmpty());
        QCOMPARE(Tree(dir).size(), 2);  // no temporary file left
        QCOMPARE(Tree(elsewhere).size(), linked ? 1 : 0);
        QCOMPARE(QFileInfo(zip).isSymLink(), linked);

        // Counts, the file, its steps adding up to its size, the end of the batch.
        const QString n = QString::number(bytes.size());
        const QString events = r.events.join(u'|');
        const auto expected = u"^3  1\\|4  %1\\|0 %2 %1(\\|1  \\d+)*\\|2  0$"_s.arg(n, name);
        QVERIFY2(events.contains(QRegularExpression(expected)), qPrintable(events));
        qint64 done = 0;
        for (const QString& step : r.events.filter(QRegularExpression(u"^1 "_s)))
            done += step.mid(3).toLongLong();
        QCOMPARE(done, bytes.size());
    }

    // Whatever the names say, files land only in the archive's directory, under their
    // last name component; links are neither unpacked nor followed; existing files are
    // replaced only with the option.
    void extract_data()
    {
        // before: in t/: "name=content" or "name->target"
        // after: in t/, beside x.zip
        DataColumns<QStringList, bool, QString, QStringList>("entries", "overwrite", "before",
                                                             "after");
        const auto row = [](const char* name, const QStringList& entries, bool overwrite,
                            const char* before, const char* after) {
            QTest::newRow(name) << entries << overwrite << before << L(after);
        };
        row("hostile names",
            L("../evil=1|/abs/path=2|dir/=|a/../../b=3|%C:\\x\\..\\win=4|sub/ok.txt=5|..=6|. .=7|"
              "a/...=8|@link=/etc/passwd|x.zip=9|%a\\..=10"),
            true, "", "b=3|evil=1|ok.txt=5|path=2|win=4");
#ifndef Q_OS_WIN
        // Here ":" separates nothing, and "\" only in names made on Windows.
        row("names with : and \\",
            L("Teil 1: Tiere.vok=1|%Teil 2: Tiere.vok=2|C:\\x\\..=3|%D:\\y=4"), true, "",
            "C:\\x\\..=3|Teil 1: Tiere.vok=1|Teil 2: Tiere.vok=2|y=4");
#endif
        const QStringList same = L("ok.txt=neu|a/x=1|b/x=2");
        row("kept without overwrite", same, false, "ok.txt=alt", "ok.txt=alt|x=1");
        row("replaced with overwrite", same, true, "ok.txt=alt", "ok.txt=neu|x=2");
        row("link replaced, not followed", same, true, "ok.txt->../outside.txt", "ok.txt=neu|x=2");
        row("dangling link kept without overwrite", same, false, "ok.txt->../fehlt.txt",
            "ok.txt->fehlt.txt|x=1");
    }
    void extract()
    {
        auto [entries, overwrite, before, after] =
            DataRow<QStringList, bool, QString, QStringList>("entries", "overwrite", "before",
                                                             "after");
        const QString root = NewTestDirectory(), t = root + u"/t/"_s;
        QVERIFY(WriteBytes(root + u"/outside.txt"_s, "draußen") && QDir(root).mkdir(u"t"_s));
        const QString name = t + before.section(QRegularExpression(u"->|="_s), 0, 0);
        if (before.contains(u"->"_s))
            QVERIFY(QFile::link(before.section(u"->"_s, 1), name));
        else if (!before.isEmpty())
            QVERIFY(WriteBytes(name, before.section(u'=', 1).toUtf8()));
        QVERIFY(WriteArchive(t + u"x.zip"_s, entries));
        Recorder r(t + u"x.zip"_s);
        r.zb.ExtrOptions.setFlag(ExtrOption::ExtrOverWrite, overwrite);
        r.zb.Extract();
        QCOMPARE(r.messages, QStringList());
        after.replaceInStrings(QRegularExpression(u"^"_s), u"t/"_s)
            << u"outside.txt=draußen"_s << u"t/"_s;
        after.sort();
        QStringList tree = Tree(root);  // the archive unchanged, unless replaced by an entry
        tree.removeIf([](const QString& s) { return s.startsWith(u"t/x.zip:"_s); });
        QCOMPARE(tree, after);
    }

    // Entries record the packed file's permission bits as a regular file, as zipinfo shows
    // them. Unpacking gives the recorded bits limited by the umask; an entry made on Windows
    // gives read and write (read only when so marked) as the umask allows, as unzip does.
    // Unzip's listing of an archive made here: the bits as recorded.
    void modes_data()
    {
        // mode: of the file packed; -1: made on Windows, -2: read-only
        DataColumns<int, int, QString, int>("mode", "umask", "listed", "unpacked");
        QTest::newRow("0644") << 0644 << 022 << "-rw-r--r--" << 0644;
        QTest::newRow("0600") << 0600 << 022 << "-rw-------" << 0600;
        QTest::newRow("0755, umask 077") << 0755 << 077 << "-rwxr-xr-x" << 0700;
        QTest::newRow("Windows, umask 027") << -1 << 027 << "" << 0640;
        QTest::newRow("Windows, read-only") << -2 << 022 << "" << 0444;
    }
    void modes()
    {
#ifdef Q_OS_UNIX
        const auto [mode, umask, listed, unpacked] =
            DataRow<int, int, QString, int>("mode", "umask", "listed", "unpacked");
        const QString file = NewTestDirectory() + u"/Liste.vok"_s, ours = NewTestDirectory();
        Recorder r(ours + u"/Liste.zip"_s, {file});
        QVERIFY(mode < 0
                    ? WriteArchive(r.zb.ZipFileName(),
                                   {(mode == -1 ? u"%"_s : u"!"_s) + u"Liste.vok"_s})
                    : WriteBytes(file, "Haus") && ::chmod(qPrintable(file), mode_t(mode)) == 0);
        if (mode >= 0)
            r.zb.Add();
        const mode_t before = ::umask(mode_t(umask));
        r.zb.Extract();
        ::umask(before);
        QCOMPARE(r.messages, QStringList());
        const auto bits =
            std::filesystem::status((ours + u"/Liste.vok"_s).toStdString()).permissions();
        QCOMPARE(QString::number(int(bits), 8), QString::number(unpacked, 8));
        const QString unzip = QStandardPaths::findExecutable(u"unzip"_s);
        if (listed.isEmpty() || unzip.isEmpty())
            return;
        QProcess listing;
        listing.start(unzip, {u"-Z"_s, r.zb.ZipFileName()});
        QVERIFY(listing.waitForFinished());
        QVERIFY2(QString::fromUtf8(listing.readAll()).contains(u'\n' + listed + u' '),
                 qPrintable(listed));
#else
        QSKIP("permission bits and the umask are Unix's");
#endif
    }

    // Refused calls and failures: the message with its code, nothing written. A cancel
    // request in the middle of a file (no message) leaves the directory as it was too: no
    // partial archive or file, the old archive untouched.
    void messages_data()
    {
        // file: to pack
        // bytes: of the archive; empty: none; "->x": a link
        // message: %1: the test directory; none: cancelled
        DataColumns<bool, QString, QString, QByteArray, QString>("pack", "archive", "file", "bytes",
                                                                 "message");
        const auto row = [](const char* name, bool pack, const char* archive, const char* file,
                            const QByteArray& bytes, const QString& message) {
            QTest::newRow(name) << pack << archive << file << bytes << message;
        };
        const QString none = u"10102: Fehler - keine Archivdatei angegeben !"_s;
        const QString fatal = u"10501: Fataler Fehler in UnzDLL.DLL: Abbruch\n"_s;
        row("nothing to pack", true, "x.zip", "", {},
            u"10301: Fehler - keine Dateien zu packen !"_s);
        row("no archive name", true, "", "a.vok", {}, none);
        row("no archive", false, "x.zip", "", {}, none);
        row("file to pack missing", true, "x.zip", "fehlt.vok", {},
            u"10101: Fataler Fehler in ZipDLL.DLL: Abbruch\n"
            u"Die Datei %1/fehlt.vok existiert nicht."_s);
        row("archive name links to the file", true, "x.zip", "a.vok", "->a.vok",
            u"10101: Fataler Fehler in ZipDLL.DLL: Abbruch\n"
            u"Die Datei %1/a.vok kann nicht in sich selbst gepackt werden."_s);
        row("not an archive", false, "x.zip", "", "PK kein Archiv",
            fatal + u"Die Datei ist kein ZIP-Archiv."_s);
        const QString stored = NewTestDirectory() + u"/s.zip"_s;
        WriteArchive(stored, L("a.txt=Hallo Welt"), 0);
        row("damaged entry", false, "x.zip", "", ReadBytes(stored).replace("Welt", "Wolt"),
            fatal + u"Prüfsummenfehler."_s);
        WriteArchive(stored, {u"a="_s + QString(4000000, u'a')});
        row("pack cancelled", true, "x.zip", "Liste.vok", ReadBytes(stored), {});
        row("unpack cancelled", false, "x.zip", "", ReadBytes(stored), {});
    }
    void messages()
    {
        auto [pack, archive, file, bytes, message] =
            DataRow<bool, QString, QString, QByteArray, QString>("pack", "archive", "file", "bytes",
                                                                 "message");
        const QString dir = NewTestDirectory();
        QVERIFY(file.isEmpty() || file.startsWith(u"fehlt"_s) ||
                WriteBytes(dir + u'/' + file, QByteArray(4000000, 'a')));
        QVERIFY(bytes.isEmpty() ||
                (bytes.startsWith("->")
                     ? QFile::link(QString::fromUtf8(bytes.mid(2)), dir + u'/' + archive)
                     : WriteBytes(dir + u'/' + archive, bytes)));
        const QStringList before = Tree(dir);
        Recorder r(archive.isEmpty() ? archive : dir + u'/' + archive,
                   file.isEmpty() ? QStringList() : QStringList{dir + u'/' + file});
        r.cancelAt = message.isEmpty() ? 1 : -1;
        pack ? r.zb.Add() : r.zb.Extract();
        QCOMPARE(r.messages.join(u'|'), message.replace(u"%1"_s, dir));
        // A refused call raises no event; a job that began ends its batch.
        QCOMPARE(r.events.value(r.events.size() - 1) == u"2  0"_s,
                 !message.contains(u"Fehler -"_s));
        QCOMPARE(Tree(dir), before);
    }
};

LK_TEST_MAIN(ZipBuilderTest)
#include "ZipBuilderTest.moc"
