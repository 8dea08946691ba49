#include "ZipTestSupport.h"
#include "tools/ZipBuilder.h"

#include <QApplication>

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
        Recorder()
        {
            zb.OnProgress = [this](ProgressType kind, const QString& name, qint64 size) {
                events << QStringLiteral("%1 %2 %3").arg(int(kind)).arg(name).arg(size);
                zb.Cancel = zb.Cancel || int(kind) == cancelAt;
            };
            zb.OnMessage = [this](int code, const QString& text) {
                messages << QString::number(code) + QStringLiteral(": ") + text;
            };
        }
    };

private Q_SLOTS:
    // One entry of the file's name and bytes at the level asked for, readable by libzip and
    // unzip; the events in their order; an old archive replaced, never extended; an archive
    // name that links elsewhere stays a link to the new archive.
    void pack_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("linked");
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
        QFETCH(int, level);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, linked);
        const QString dir = NewTestDirectory();
        const QString elsewhere = NewTestDirectory();
        QVERIFY(WriteBytes(dir + u'/' + name, bytes));
        const QString real =
            linked ? elsewhere + QStringLiteral("/real.zip") : dir + QStringLiteral("/Liste.zip");
        QVERIFY(WriteArchive(real, L("alt.txt=alt")));
        QVERIFY(!linked || QFile::link(real, dir + QStringLiteral("/Liste.zip")));
        Recorder r;
        r.zb.SetFileName(dir + QStringLiteral("/Liste.zip"));
        r.zb.FSpecArgs = {dir + u'/' + name};
        r.zb.AddCompLevel = level;
        r.zb.Add();

        QCOMPARE(r.messages, QStringList());
        const auto stored = ReadArchive(dir + QStringLiteral("/Liste.zip"));
        QCOMPARE(stored.keys(), QStringList{name});
        const auto [packed, method, size] = stored.first();
        QCOMPARE(packed, bytes);
        QCOMPARE(method, level ? ZIP_CM_DEFLATE : ZIP_CM_STORE);
        const QString reference = NewTestDirectory() + QStringLiteral("/ref.zip");  // by libzip
        QVERIFY(WriteArchive(reference, {QStringLiteral("x=") + QString::fromUtf8(bytes)}, level));
        QCOMPARE(size, std::get<2>(ReadArchive(reference).value(QStringLiteral("x"))));
        QVERIFY(UnzipAccepts(dir + QStringLiteral("/Liste.zip")));
        QVERIFY(r.zb.FSpecArgs.isEmpty());
        QCOMPARE(Tree(dir).size(), 2);  // no temporary file left
        QCOMPARE(Tree(elsewhere).size(), linked ? 1 : 0);
        QCOMPARE(QFileInfo(dir + QStringLiteral("/Liste.zip")).isSymLink(), linked);

        const QString n = QString::number(bytes.size());
        QCOMPARE(r.events.mid(0, 3), QStringList({QStringLiteral("3  1"), QStringLiteral("4  ") + n,
                                                  QStringLiteral("0 %1 %2").arg(name, n)}));
        QCOMPARE(r.events.last(), QStringLiteral("2  0"));
        qint64 done = 0;
        for (const QString& step : r.events.mid(3, r.events.size() - 4)) {
            QVERIFY(step.startsWith(QStringLiteral("1  ")));
            done += step.mid(3).toLongLong();
        }
        QCOMPARE(done, bytes.size());
    }

    // Whatever the names say, files land only in the archive's directory, under their
    // last name component; links are neither unpacked nor followed; existing files are
    // replaced only with the option.
    void extract_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QString>("before");     // in t/: "name=content" or "name->target"
        QTest::addColumn<QStringList>("after");  // in t/, beside x.zip
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
        QFETCH(QStringList, entries);
        QFETCH(bool, overwrite);
        QFETCH(QString, before);
        QFETCH(QStringList, after);
        const QString root = NewTestDirectory();
        const QString t = root + QStringLiteral("/t/");
        QVERIFY(WriteBytes(root + QStringLiteral("/outside.txt"), "draußen"));
        QVERIFY(QDir(root).mkdir(QStringLiteral("t")));
        if (before.contains(QStringLiteral("->")))
            QVERIFY(QFile::link(before.section(QStringLiteral("->"), 1),
                                t + before.section(QStringLiteral("->"), 0, 0)));
        else if (!before.isEmpty())
            QVERIFY(WriteBytes(t + before.section(u'=', 0, 0), before.section(u'=', 1).toUtf8()));
        QVERIFY(WriteArchive(t + QStringLiteral("x.zip"), entries));
        Recorder r;
        r.zb.SetFileName(t + QStringLiteral("x.zip"));
        r.zb.ExtrOptions.setFlag(ExtrOption::ExtrOverWrite, overwrite);
        r.zb.Extract();
        QCOMPARE(r.messages, QStringList());
        QStringList expected{QStringLiteral("outside.txt=draußen"), QStringLiteral("t/")};
        for (const QString& file : after)
            expected << QStringLiteral("t/") + file;
        expected.sort();
        QStringList tree = Tree(root);  // the archive unchanged, unless replaced by an entry
        tree.removeIf([](const QString& s) { return s.startsWith(QStringLiteral("t/x.zip:")); });
        QCOMPARE(tree, expected);
    }

    // Entries record the packed file's permission bits as a regular file, as zipinfo shows
    // them. Unpacking gives the recorded bits limited by the umask; an entry made on Windows
    // gives read and write (read only when so marked) as the umask allows, as unzip does.
    void modes_data()
    {
        QTest::addColumn<int>("mode");  // of the file packed; -1: made on Windows, -2: read-only
        QTest::addColumn<int>("umask");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<int>("unpacked");
        QTest::newRow("0644") << 0644 << 022 << "-rw-r--r--" << 0644;
        QTest::newRow("0600") << 0600 << 022 << "-rw-------" << 0600;
        QTest::newRow("0755, umask 077") << 0755 << 077 << "-rwxr-xr-x" << 0700;
        QTest::newRow("Windows, umask 027") << -1 << 027 << "-rw-a--" << 0640;
        QTest::newRow("Windows, read-only") << -2 << 022 << "-r--a--" << 0444;
    }
    void modes()
    {
#ifdef Q_OS_UNIX
        QFETCH(int, mode);
        QFETCH(int, umask);
        QFETCH(QString, listed);
        QFETCH(int, unpacked);
        const QString file = NewTestDirectory() + u"/Liste.vok"_s, ours = NewTestDirectory(),
                      theirs = NewTestDirectory(), archive = ours + u"/Liste.zip"_s;
        Recorder r;
        r.zb.SetFileName(archive);
        r.zb.FSpecArgs = {file};
        QVERIFY(mode < 0 ? WriteArchive(archive, {(mode == -1 ? u"%"_s : u"!"_s) + u"Liste.vok"_s})
                         : WriteBytes(file, "Haus") && ::chmod(qPrintable(file), mode_t(mode)) == 0);
        if (mode >= 0)
            r.zb.Add();
        const QString unzip = QStandardPaths::findExecutable(u"unzip"_s);
        const mode_t before = ::umask(mode_t(umask));
        r.zb.Extract();
        const int unzipped =
            unzip.isEmpty() ? -1 : QProcess::execute(unzip, {u"-qq"_s, archive, u"-d"_s, theirs});
        ::umask(before);
        const auto modeOf = [](const QString& path) {
            return QString::number(int(std::filesystem::status(path.toStdString()).permissions()), 8);
        };
        QCOMPARE(r.messages, QStringList());
        QCOMPARE(modeOf(ours + u"/Liste.vok"_s), QString::number(unpacked, 8));
        if (unzipped < 0)
            QSKIP("unzip is not installed");
        QCOMPARE(unzipped, 0);
        QProcess listing;
        listing.start(unzip, {u"-Z"_s, archive});
        QVERIFY(listing.waitForFinished());
        QVERIFY2(QString::fromUtf8(listing.readAll()).contains(u'\n' + listed + u' '),
                 qPrintable(listed));
        // unzip restores the bits of a file from a Unix system as they are.
        QCOMPARE(modeOf(theirs + u"/Liste.vok"_s), QString::number(mode >= 0 ? mode : unpacked, 8));
#else
        QSKIP("permission bits and the umask are Unix's");
#endif
    }

    // A cancel request in the middle of a file leaves the directory as it was (no partial
    // archive or file, the old archive untouched), shows no message and ends the batch.
    void cancel()
    {
        for (bool pack : {true, false}) {
            const QString dir = NewTestDirectory();
            const QString text = QString(4000000, u'a');
            QVERIFY(WriteBytes(dir + QStringLiteral("/Liste.vok"), text.toUtf8()));
            QVERIFY(WriteArchive(dir + QStringLiteral("/x.zip"), {QStringLiteral("a=") + text}));
            const QStringList before = Tree(dir);
            const QByteArray archive = ReadBytes(dir + QStringLiteral("/x.zip"));
            Recorder r;
            r.cancelAt = 1;
            r.zb.SetFileName(dir + QStringLiteral("/x.zip"));
            r.zb.FSpecArgs = {dir + QStringLiteral("/Liste.vok")};
            pack ? r.zb.Add() : r.zb.Extract();
            QCOMPARE(Tree(dir), before);
            QCOMPARE(ReadBytes(dir + QStringLiteral("/x.zip")), archive);
            QCOMPARE(r.messages, QStringList());
            QCOMPARE(r.events.last(), QStringLiteral("2  0"));
        }
    }

    // Refused calls and failures: the message with its code, nothing written.
    void messages_data()
    {
        QTest::addColumn<bool>("pack");
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("file");      // to pack
        QTest::addColumn<QByteArray>("bytes");  // of the archive; empty: none; "->x": a link
        QTest::addColumn<QString>("message");   // %1: the test directory
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
        const QString stored = NewTestDirectory() + QStringLiteral("/s.zip");
        WriteArchive(stored, L("a.txt=Hallo Welt"), 0);
        row("damaged entry", false, "x.zip", "", ReadBytes(stored).replace("Welt", "Wolt"),
            fatal + u"Prüfsummenfehler."_s);
    }
    void messages()
    {
        QFETCH(bool, pack);
        QFETCH(QString, archive);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString dir = NewTestDirectory();
        if (bytes.startsWith("->"))
            QVERIFY(WriteBytes(dir + u'/' + file, "Haus") &&
                    QFile::link(QString::fromUtf8(bytes.mid(2)), dir + u'/' + archive));
        else if (!bytes.isEmpty())
            QVERIFY(WriteBytes(dir + u'/' + archive, bytes));
        const QStringList before = Tree(dir);
        Recorder r;
        r.zb.SetFileName(archive.isEmpty() ? archive : dir + u'/' + archive);
        if (!file.isEmpty())
            r.zb.FSpecArgs << dir + u'/' + file;
        pack ? r.zb.Add() : r.zb.Extract();
        QCOMPARE(r.messages, QStringList{message.replace(QStringLiteral("%1"), dir)});
        // A refused call raises no event; a job that began ends its batch.
        QCOMPARE(r.events.value(r.events.size() - 1) == QStringLiteral("2  0"),
                 message.contains(QStringLiteral("Fatal")));
        QCOMPARE(Tree(dir), before);
    }
};

LK_TEST_MAIN(ZipBuilderTest)
#include "ZipBuilderTest.moc"
