#include "ZipTestSupport.h"
#include "support/TestSupport.h"
#include "tools/ZipBuilder.h"

#include <QApplication>

using Events = QList<std::tuple<int, QString, qint64>>;

class ZipBuilderTest : public QObject {
    Q_OBJECT

    // A component recording its events and messages ("code: text").
    struct Recorder {
        TZipBuilder zb;
        Events events;
        QStringList messages;
        int cancelAt = -1;  // the event kind whose first arrival sets the cancel request
        Recorder()
        {
            zb.OnProgress = [this](ProgressType kind, const QString& name, qint64 size) {
                events.append({int(kind), name, size});
                if (int(kind) == cancelAt)
                    zb.Cancel = true;
            };
            zb.OnMessage = [this](int code, const QString& text) {
                messages << QString::number(code) + QStringLiteral(": ") + text;
            };
        }
    };

    static qint64 PackedSize(const QByteArray& bytes, int level)
    {
        const QString path = NewTestDirectory() + QStringLiteral("/ref.zip");
        WriteArchive(path, {{QStringLiteral("x"), bytes}}, level);
        return ReadArchive(path).value(QStringLiteral("x")).compressedSize;
    }

private Q_SLOTS:
    // One entry of the file's name and bytes, at the level asked for, readable by libzip
    // and unzip; the events in their order; an old archive replaced, never extended.
    void pack_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("oldArchive");
        const QByteArray text = SampleText(300000);
        QTest::newRow("level 0 stores") << 0 << "Liste.vok" << text << false;
        QTest::newRow("level 5") << 5 << "Liste.vok" << text << false;
        QTest::newRow("level 9, old archive") << 9 << "Liste.vok" << text << true;
        QTest::newRow("empty file, umlaut") << 5 << "Übung" << QByteArray() << false;
    }
    void pack()
    {
        QFETCH(int, level);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString dir = NewTestDirectory();
        QVERIFY(WriteBytes(dir + u'/' + name, bytes));
        const QString archive = dir + QStringLiteral("/Liste.zip");
        if (QFETCH(bool, oldArchive); oldArchive)
            QVERIFY(WriteArchive(archive, Entries({QStringLiteral("alt.txt=alt")})));
        Recorder r;
        r.zb.SetFileName(archive);
        r.zb.FSpecArgs = {dir + u'/' + name};
        r.zb.AddCompLevel = level;
        r.zb.Add();

        QCOMPARE(r.messages, QStringList());
        const auto stored = ReadArchive(archive);
        QCOMPARE(stored.keys(), QStringList{name});
        QCOMPARE(stored.first().bytes, bytes);
        QCOMPARE(stored.first().method, level ? ZIP_CM_DEFLATE : ZIP_CM_STORE);
        QCOMPARE(stored.first().compressedSize, PackedSize(bytes, level));
        QVERIFY(bytes.isEmpty() || PackedSize(bytes, 5) != PackedSize(bytes, 9));
        QVERIFY(UnzipAccepts(archive));
        QVERIFY(r.zb.FSpecArgs.isEmpty());
        QStringList tree{QStringLiteral("Liste.zip=zip"), name + u'=' + QString::fromUtf8(bytes)};
        tree.sort();
        QCOMPARE(Tree(dir), tree);

        QVERIFY(r.events.size() >= 5);
        QCOMPARE(r.events.mid(0, 3),
                 Events({{3, {}, 1}, {4, {}, bytes.size()}, {0, name, bytes.size()}}));
        QCOMPARE(r.events.last(), Events::value_type(2, QString(), 0));
        qint64 done = 0;
        for (const auto& [kind, file, size] : r.events.mid(3, r.events.size() - 4)) {
            QCOMPARE(kind, 1);
            done += size;
        }
        QCOMPARE(done, bytes.size());
    }

    // Whatever the entries' names say, files land only in the archive's directory, under
    // their last name component; links are neither unpacked nor followed; existing files
    // are replaced only with the option.
    void extract_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QStringList>("before");  // in t/: "name=content" or "name->target"
        QTest::addColumn<QStringList>("after");   // below the root, beside t/x.zip
        const QStringList same = L("ok.txt=neu|a/x=1|b/x=2");
        QTest::newRow("hostile names")
            << L("../evil=1|/abs/path=2|dir/=|a/../../b=3|C:\\x\\win=4|sub/ok.txt=5|..=6|. "
                 ".=7|a/...=8|@link=/etc/passwd|x.zip=9")
            << true << QStringList() << L("t/b=3|t/evil=1|t/ok.txt=5|t/path=2|t/win=4");
        QTest::newRow("kept without overwrite")
            << same << false << L("ok.txt=alt") << L("t/ok.txt=alt|t/x=1");
        QTest::newRow("replaced with overwrite")
            << same << true << L("ok.txt=alt") << L("t/ok.txt=neu|t/x=2");
        QTest::newRow("link replaced, not followed")
            << same << true << L("ok.txt->../outside.txt") << L("t/ok.txt=neu|t/x=2");
        QTest::newRow("link kept without overwrite")
            << same << false << L("ok.txt->../outside.txt") << L("t/ok.txt->outside.txt|t/x=1");
    }
    void extract()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        const QString root = NewTestDirectory();
        QVERIFY(WriteBytes(root + QStringLiteral("/outside.txt"), "draußen"));
        QVERIFY(QDir(root).mkdir(QStringLiteral("t")));
        for (const QString& file : before) {
            const QStringList link = file.split(QStringLiteral("->"));
            const QStringList plain = file.split(u'=');
            QVERIFY(link.size() == 2
                        ? QFile::link(link[1], root + QStringLiteral("/t/") + link[0])
                        : WriteBytes(root + QStringLiteral("/t/") + plain[0], plain[1].toUtf8()));
        }
        const QString archive = root + QStringLiteral("/t/x.zip");
        QVERIFY(WriteArchive(archive, Entries(entries)));
        Recorder r;
        r.zb.SetFileName(archive);
        QFETCH(bool, overwrite);
        r.zb.ExtrOptions.setFlag(ExtrOption::ExtrOverWrite, overwrite);
        r.zb.Extract();
        QCOMPARE(r.messages, QStringList());
        after << QStringLiteral("outside.txt=draußen") << QStringLiteral("t/")
              << QStringLiteral("t/x.zip=zip");
        after.sort();
        QCOMPARE(Tree(root), after);
    }

    // A cancel request from a progress event leaves the directory as it was: no partial
    // archive or file, the old archive untouched, no message, and the batch still ends.
    void cancel_data()
    {
        QTest::addColumn<bool>("pack");
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<qsizetype>("size");
        for (bool pack : {true, false}) {
            const char* job = pack ? "pack" : "unpack";
            QTest::addRow("%s at a file's start", job) << pack << 0 << qsizetype(200000);
            QTest::addRow("%s at the first bytes", job) << pack << 1 << qsizetype(4000000);
            QTest::addRow("%s at a file's last bytes", job) << pack << 1 << qsizetype(10);
        }
    }
    void cancel()
    {
        QFETCH(bool, pack);
        const QString dir = NewTestDirectory();
        QFETCH(qsizetype, size);
        QFETCH(int, cancelAt);
        const QByteArray text = SampleText(size);
        QVERIFY(WriteBytes(dir + QStringLiteral("/Liste.vok"), text));
        QVERIFY(WriteArchive(dir + QStringLiteral("/x.zip"),
                             {{QStringLiteral("a.vok"), text}, {QStringLiteral("b.vok"), text}}));
        const QStringList before = Tree(dir);
        const QByteArray archive = ReadBytes(dir + QStringLiteral("/x.zip"));
        Recorder r;
        r.cancelAt = cancelAt;
        r.zb.SetFileName(dir + QStringLiteral("/x.zip"));
        r.zb.FSpecArgs = {dir + QStringLiteral("/Liste.vok")};
        pack ? r.zb.Add() : r.zb.Extract();
        QCOMPARE(Tree(dir), before);
        QCOMPARE(ReadBytes(dir + QStringLiteral("/x.zip")), archive);
        QCOMPARE(r.messages, QStringList());
        QCOMPARE(std::get<0>(r.events.last()), 2);
    }

    // Refused calls and failures: the message with its code, and nothing written.
    void messages_data()
    {
        QTest::addColumn<bool>("pack");
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QByteArray>("bytes");  // of the archive; empty: none exists
        QTest::addColumn<QString>("message");   // %1: the test directory
        QTest::addColumn<bool>("endOfBatch");
        QTest::newRow("nothing to pack") << true << "x.zip" << QStringList() << QByteArray()
                                         << "10301: Fehler - keine Dateien zu packen !" << false;
        QTest::newRow("no archive name")
            << true << "" << L("a.vok") << QByteArray()
            << "10102: Fehler - keine Archivdatei angegeben !" << false;
        QTest::newRow("no archive") << false << "x.zip" << QStringList() << QByteArray()
                                    << "10102: Fehler - keine Archivdatei angegeben !" << false;
        QTest::newRow("file to pack missing")
            << true << "x.zip" << L("fehlt.vok") << QByteArray()
            << "10101: Fataler Fehler in ZipDLL.DLL: Abbruch\nDie Datei %1/fehlt.vok existiert "
               "nicht."
            << true;
        QTest::newRow("not an archive")
            << false << "x.zip" << QStringList() << QByteArray("PK kein Archiv")
            << "10501: Fataler Fehler in UnzDLL.DLL: Abbruch\nDie Datei ist kein ZIP-Archiv."
            << true;
        const QString stored = NewTestDirectory() + QStringLiteral("/s.zip");
        WriteArchive(stored, Entries({QStringLiteral("a.txt=Hallo Welt")}), 0);
        QTest::newRow("damaged entry")
            << false << "x.zip" << QStringList() << ReadBytes(stored).replace("Welt", "Wolt")
            << "10501: Fataler Fehler in UnzDLL.DLL: Abbruch\nPrüfsummenfehler." << true;
    }
    void messages()
    {
        QFETCH(QString, archive);
        QFETCH(QByteArray, bytes);
        const QString dir = NewTestDirectory();
        if (!bytes.isEmpty())
            QVERIFY(WriteBytes(dir + u'/' + archive, bytes));
        const QStringList before = Tree(dir);
        Recorder r;
        r.zb.SetFileName(archive.isEmpty() ? archive : dir + u'/' + archive);
        QFETCH(QStringList, files);
        QFETCH(bool, pack);
        QFETCH(QString, message);
        QFETCH(bool, endOfBatch);
        for (const QString& file : files)
            r.zb.FSpecArgs << dir + u'/' + file;
        pack ? r.zb.Add() : r.zb.Extract();
        QCOMPARE(r.messages, QStringList{message.replace(QStringLiteral("%1"), dir)});
        QCOMPARE(!r.events.isEmpty() && std::get<0>(r.events.last()) == 2, endOfBatch);
        QCOMPARE(Tree(dir), before);
    }
};

LK_TEST_MAIN(ZipBuilderTest)
#include "ZipBuilderTest.moc"
