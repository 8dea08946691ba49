#include "ZipTestSupport.h"
#include "tools/ZipBuilder.h"

#include <QApplication>

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
    // unzip; the events in their order; an old archive replaced, never extended.
    void pack_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QByteArray text;
        for (int i = 0; i < 20000; ++i)
            text += QByteArray::number(i * i % 9973) + " Haus house Baum tree\r\n";
        QTest::newRow("level 0 stores") << 0 << "Liste.vok" << text;
        QTest::newRow("level 5") << 5 << "Liste.vok" << text;
        QTest::newRow("level 9") << 9 << "Liste.vok" << text;
        QTest::newRow("empty file, umlaut") << 5 << "Übung" << QByteArray();
    }
    void pack()
    {
        QFETCH(int, level);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString dir = NewTestDirectory();
        QVERIFY(WriteBytes(dir + u'/' + name, bytes));
        QVERIFY(WriteArchive(dir + QStringLiteral("/Liste.zip"), L("alt.txt=alt")));
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
            L("../evil=1|/abs/path=2|dir/=|a/../../b=3|C:\\x\\win=4|sub/ok.txt=5|..=6|. .=7|"
              "a/...=8|@link=/etc/passwd|x.zip=9"),
            true, "", "b=3|evil=1|ok.txt=5|path=2|win=4");
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
        QTest::addColumn<QByteArray>("bytes");  // of the archive; empty: none exists
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
        if (!bytes.isEmpty())
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
