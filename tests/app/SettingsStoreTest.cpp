#include "support/DataTables.h"
#include "support/TestSupport.h"

#include <QScopeGuard>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

class SettingsStoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { RemoveSettingsFile(); }

    // A value of another type, or damaged, reads as its default; the others are unharmed.
    void typeRules()
    {
        QVERIFY(WriteSettingsFile(
            Lines({"AutoDelete=dword:00000002", "Compression=sz:7", "Font=dword:00000001",
                   "\x01\xff kaputt", "IgnoreGrossKlein=sz:1", "Overwrite=dword:1",
                   "Shortcut1=sz:eins", "Synonyme=dword:00000000", "WrongSound=sz: /snd/f.wav "})));
        const QVariantList read = {ReadAutoDelete(),       ReadCompression(), ReadFont(),
                                   ReadIgnoreGrossKlein(), ReadOverwrite(),   ReadShortcut(10),
                                   ReadSynonyme(),         ReadWrongSound()};
        QCOMPARE(read, (QVariantList{true, 5, QString(), false, false, QString(), false,
                                     u" /snd/f.wav "_s}));
    }

    // Without a store every setting reads as its default, also when an organisation-wide
    // file beside it holds values, and only the start screen creates the store.
    void missingStore_defaultsAndNoFile()
    {
        const QString folder = QFileInfo(SettingsFilePath()).path();
        QDir(folder).removeRecursively();
        QVERIFY(WriteBytes(folder + u".conf"_s, Lines({"Compression=dword:00000009"})));
        WriteCompression(9);
        QVERIFY(!QFileInfo::exists(QFileInfo(SettingsFilePath()).path()));
        const QVariantList read = {
            ReadAutoDelete(),   ReadIgnoreGrossKlein(), ReadOverwrite(),  ReadSynonyme(),
            ReadBeschreibung(), ReadCompression(),      ReadFontField(3), ReadFont(),
            ReadRightSound(),   ReadCurrentDirectory(), ReadShortcut(10)};
        QCOMPARE(read, (QVariantList{false, false, false, true, true, 5, -1, QString(), QString(),
                                     QString(), QString()}));
    }

    // A FIFO where the store or the organisation-wide file lives: no hang, the defaults, and
    // the FIFO is neither written nor replaced.
    void fifo_defaultsWithoutHanging_data()
    {
        QTest::addColumn<QString>("suffix");  // to the store's folder
        QTest::addColumn<bool>("storeUsable");
        QTest::newRow("the store") << u"/Lernkompass.conf"_s << false;
        QTest::newRow("the organisation-wide file") << u".conf"_s << true;
    }
    void fifo_defaultsWithoutHanging()
    {
#ifdef Q_OS_UNIX
        const auto [suffix, storeUsable] = DataRow<QString, bool>("suffix", "storeUsable");
        const QString folder = QFileInfo(SettingsFilePath()).path();
        const QString fifo = folder + suffix;
        QDir().mkpath(folder);
        QFile::remove(fifo);
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        const auto removeFifo = qScopeGuard([&] { QFile::remove(fifo); });
        // Blocked in open(), the test program is ended by the alarm rather than hanging.
        ::alarm(10);
        QVariantList read{ReadCompression(), ReadSynonyme()};
        const bool created = WriteVersionCreatingStore();
        WriteCompression(9);
        read << ReadCompression();
        ::alarm(0);
        const QFileInfo after(fifo);
        QVERIFY(after.exists() && !after.isFile() && !after.isDir());
        QCOMPARE(created, storeUsable);
        QCOMPARE(read, (QVariantList{5, true, storeUsable ? 9 : 5}));
#else
        QSKIP("no FIFOs here");
#endif
    }

    void writes_giveExactTypedLines()
    {
        QVERIFY(WriteSettingsFile(
            Lines({"Compression=sz:7", "Font=hex:41"})));  // replaced, whatever their type
        WriteCompression(-7);
        WriteFont(u"Symbol"_s);
        WriteFontField(-1, 2);
        WriteShortcut(u"zehn"_s, 10);
        WriteShortcut(u"C:\\V\\\n2"_s, 1);
        WriteAutoDelete(true);
        QCOMPARE(ReadBytes(SettingsFilePath()),
                 Lines({"AutoDelete=dword:00000001", "Compression=dword:fffffff9", "Font=sz:Symbol",
                        "FontField2=dword:ffffffff", "Shortcut1=sz:C:\\\\V\\\\\\n2",
                        "Shortcut10=sz:zehn"}));
        QCOMPARE(ReadCompression(), -7);
        QCOMPARE(ReadFontField(2), -1);
        QCOMPARE(ReadShortcut(1), u"C:\\V\\\n2"_s);
    }
};

LK_TEST_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
