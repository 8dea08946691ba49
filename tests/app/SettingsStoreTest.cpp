#include "app/SettingsStore.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <functional>

namespace {

// Replaces the settings file as another program (or a second instance) would.
void PlantSettings(const QByteArray& content)
{
    QDir().mkpath(QFileInfo(SettingsFilePath()).path());
    QVERIFY(WriteBytes(SettingsFilePath(), content));
}

// The settings whose type rules the table checks.
QVariant ReadSetting(const QString& name)
{
    static const QHash<QString, std::function<QVariant()>> readers = {
        {QStringLiteral("Compression"), [] { return QVariant(ReadCompression()); }},
        {QStringLiteral("AutoDelete"), [] { return QVariant(ReadAutoDelete()); }},
        {QStringLiteral("Overwrite"), [] { return QVariant(ReadOverwrite()); }},
        {QStringLiteral("Font"), [] { return QVariant(ReadFont()); }},
        {QStringLiteral("WrongSound"), [] { return QVariant(ReadWrongSound()); }},
        {QStringLiteral("Shortcut10"), [] { return QVariant(ReadShortcut(10)); }},
    };
    return readers.value(name)();
}

}  // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { RemoveSettingsFile(); }

    void typeRules_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char* name, const QByteArray& lines, const char* setting,
                            const QVariant& value) {
            QTest::newRow(name) << lines << setting << value;
        };
        row("integer as text 7", "Compression=sz:7", "Compression", 5);
        row("yes/no dword 2", "AutoDelete=dword:00000002", "AutoDelete", true);
        row("yes/no as text", "AutoDelete=sz:1", "AutoDelete", false);
        row("text as dword", "Font=dword:00000001", "Font", QString());
        row("text with blanks kept", "WrongSound=sz: /snd/f.wav ", "WrongSound",
            QStringLiteral(" /snd/f.wav "));
        row("damaged line costs only itself", "Font=Symbol\n\x01\xff\nOverwrite=dword:00000001",
            "Overwrite", true);
        row("Shortcut1 is not Shortcut10", "Shortcut1=sz:eins", "Shortcut10", QString());
    }
    void typeRules()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QString, setting);
        PlantSettings(Lines({"Version=hex:00,00,00,00,00,00,f8,3f"}) + lines + '\n');
        QTEST(ReadSetting(setting), "expected");
    }

    // Without a store every setting reads as its default, and only the start screen
    // creates the store.
    void missingStore_defaultsAndNoFile()
    {
        QDir(QFileInfo(SettingsFilePath()).path()).removeRecursively();
        WriteFont(QStringLiteral("Symbol"));
        WriteCompression(9);
        QVERIFY(!QFileInfo::exists(QFileInfo(SettingsFilePath()).path()));
        const QVariantList read = {ReadAutoDelete(), ReadIgnoreGrossKlein(), ReadOverwrite(),
                                   ReadSynonyme(),   ReadBeschreibung(),     ReadCompression(),
                                   ReadFontField(3), ReadFont(),             ReadRightSound(),
                                   ReadCurrentDirectory(), ReadShortcut(10)};
        QCOMPARE(read, (QVariantList{false, false, false, true, true, 5, -1, QString(), QString(),
                                     QString(), QString()}));
    }

    void writes_giveExactTypedLines()
    {
        PlantSettings(Lines({"Compression=sz:7", "Font=hex:41"}));  // replaced, whatever their type
        WriteCompression(-7);
        WriteFont(QStringLiteral("Symbol"));
        WriteFontField(-1, 2);
        WriteShortcut(QStringLiteral("zehn"), 10);
        WriteShortcut(QStringLiteral("C:\\V\\\n2"), 1);
        WriteAutoDelete(true);
        QCOMPARE(ReadBytes(SettingsFilePath()),
                 Lines({"AutoDelete=dword:00000001", "Compression=dword:fffffff9",
                        "Font=sz:Symbol", "FontField2=dword:ffffffff",
                        "Shortcut1=sz:C:\\\\V\\\\\\n2", "Shortcut10=sz:zehn"}));
        QCOMPARE(ReadCompression(), -7);
        QCOMPARE(ReadFontField(2), -1);
        QCOMPARE(ReadShortcut(1), QStringLiteral("C:\\V\\\n2"));
    }
};

LK_TEST_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
