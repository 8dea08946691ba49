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

QVariant ReadSetting(const QString& name)
{
    static const QHash<QString, std::function<QVariant()>> readers = {
        {QStringLiteral("Compression"), [] { return QVariant(ReadCompression()); }},
        {QStringLiteral("AutoDelete"), [] { return QVariant(ReadAutoDelete()); }},
        {QStringLiteral("IgnoreGrossKlein"), [] { return QVariant(ReadIgnoreGrossKlein()); }},
        {QStringLiteral("Synonyme"), [] { return QVariant(ReadSynonyme()); }},
        {QStringLiteral("Beschreibung"), [] { return QVariant(ReadBeschreibung()); }},
        {QStringLiteral("Overwrite"), [] { return QVariant(ReadOverwrite()); }},
        {QStringLiteral("Font"), [] { return QVariant(ReadFont()); }},
        {QStringLiteral("RightSound"), [] { return QVariant(ReadRightSound()); }},
        {QStringLiteral("WrongSound"), [] { return QVariant(ReadWrongSound()); }},
        {QStringLiteral("CurrentDirectory"), [] { return QVariant(ReadCurrentDirectory()); }},
        {QStringLiteral("FontField3"), [] { return QVariant(ReadFontField(3)); }},
        {QStringLiteral("Shortcut10"), [] { return QVariant(ReadShortcut(10)); }},
    };
    return readers.value(name)();
}

const char* const kVersionLine = "Version=hex:00,00,00,00,00,00,f8,3f";

}  // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { RemoveSettingsFile(); }

    void read_data()
    {
        QTest::addColumn<QByteArray>("line");  // null: no settings file at all
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char* name, const QByteArray& line, const char* setting,
                            const QVariant& value) {
            QTest::newRow(name) << line << setting << value;
        };
        for (const char* setting : {"AutoDelete", "IgnoreGrossKlein", "Overwrite"})
            row(setting, {}, setting, false);
        for (const char* setting : {"Synonyme", "Beschreibung"}) row(setting, {}, setting, true);
        for (const char* setting : {"Font", "RightSound", "CurrentDirectory", "Shortcut10"})
            row(setting, {}, setting, QString());
        row("Compression", {}, "Compression", 5);
        row("FontField3", {}, "FontField3", -1);

        row("integer as text 7", "Compression=sz:7", "Compression", 5);
        row("integer as binary", "Compression=hex:07,00,00,00", "Compression", 5);
        row("font field 0", "FontField3=dword:00000000", "FontField3", 0);
        row("yes/no dword 2", "AutoDelete=dword:00000002", "AutoDelete", true);
        row("yes/no as text", "AutoDelete=sz:1", "AutoDelete", false);
        row("yes/no as binary", "Beschreibung=hex:00", "Beschreibung", true);
        row("text as dword", "Font=dword:00000001", "Font", QString());
        row("text with blanks kept", "WrongSound=sz: /snd/f.wav ", "WrongSound",
            QStringLiteral(" /snd/f.wav "));
        row("NUL ends a text", QByteArray("RightSound=sz:ab\0cd", 19), "RightSound",
            QStringLiteral("ab"));
        row("name is case-sensitive", "compression=dword:00000009", "Compression", 5);
        row("Shortcut1 is not Shortcut10", "Shortcut1=sz:eins", "Shortcut10", QString());
    }
    void read()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, setting);
        if (!line.isNull())
            PlantSettings(Lines({kVersionLine}) + line + '\n');
        QTEST(ReadSetting(setting), "expected");
        QCOMPARE(QFileInfo::exists(SettingsFilePath()), !line.isNull());
    }

    void missingStore_writesCreateNothing()
    {
        QDir(QFileInfo(SettingsFilePath()).path()).removeRecursively();
        WriteFont(QStringLiteral("Symbol"));
        WriteCompression(9);
        WriteShortcut(QStringLiteral("über"), 10);
        QVERIFY(!QFileInfo::exists(QFileInfo(SettingsFilePath()).path()));
        QCOMPARE(ReadCompression(), 5);
    }

    // Only the user's own file counts, not an organisation-wide one beside it.
    void otherSettingsFiles_areNotConsulted()
    {
        const QString otherFile = QFileInfo(SettingsFilePath()).path() + QStringLiteral(".conf");
        PlantSettings(Lines({"Overwrite=dword:00000001"}));
        QVERIFY(WriteBytes(otherFile, Lines({"Compression=dword:00000009"})));
        QCOMPARE(ReadCompression(), 5);
        QCOMPARE(ReadOverwrite(), true);
        QFile::remove(otherFile);
    }

    // A damaged line costs only its own value; the next write drops it and keeps the rest.
    void damagedLines_loseOnlyTheirValue()
    {
        PlantSettings(Lines({"Compression=dword:00000009", "Font=Symbol ohne Typ",
                             "Overwrite=dword:1", "\x01\xff kaputt", "Synonyme=dword:00000000"}));
        QCOMPARE(ReadCompression(), 9);
        QCOMPARE(ReadFont(), QString());
        QCOMPARE(ReadOverwrite(), false);
        QCOMPARE(ReadSynonyme(), false);
        WriteFont(QStringLiteral("Symbol"));
        QCOMPARE(ReadBytes(SettingsFilePath()),
                 Lines({"Compression=dword:00000009", "Font=sz:Symbol",
                        "Synonyme=dword:00000000"}));
    }

    void writes_giveExactTypedLines()
    {
        PlantSettings(Lines({"Compression=sz:7", "Font=hex:41"}));  // replaced, whatever their type
        WriteCompression(-7);
        WriteFont(QStringLiteral("Symbol"));
        WriteFontField(1, 4);
        WriteFontField(-1, 2);
        WriteShortcut(QStringLiteral("zehn"), 10);
        WriteShortcut(QStringLiteral("Zeile\\1\n2"), 1);
        WriteCurrentDirectory(QStringLiteral("/home/anna/Vokabeln"));
        WriteAutoDelete(true);
        QCOMPARE(ReadBytes(SettingsFilePath()),
                 Lines({"AutoDelete=dword:00000001", "Compression=dword:fffffff9",
                        "CurrentDirectory=sz:/home/anna/Vokabeln", "Font=sz:Symbol",
                        "FontField2=dword:ffffffff", "FontField4=dword:00000001",
                        "Shortcut1=sz:Zeile\\\\1\\n2", "Shortcut10=sz:zehn"}));
        QCOMPARE(ReadCompression(), -7);
        QCOMPARE(ReadFontField(2), -1);
        QCOMPARE(ReadFontField(4), 1);
        QCOMPARE(ReadShortcut(10), QStringLiteral("zehn"));
    }

    void text_roundTrips_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("escapes and line ends") << QStringLiteral("a\\nb\\\\n\r\nc\nd\rC:\\V\\");
        QTest::newRow("umlauts, separators, comment sign, blanks")
            << QStringLiteral("# Übung=sz:ä ö ü ß € µ: \tEinrückung  ");
    }
    void text_roundTrips()
    {
        QFETCH(QString, text);
        PlantSettings(Lines({"Compression=dword:00000009"}));
        WriteShortcut(text, 12);
        QCOMPARE(ReadShortcut(12), text);
        // Every value stays on its own line: the other value is unharmed.
        QCOMPARE(ReadCompression(), 9);
        QCOMPARE(ReadBytes(SettingsFilePath()).count('\n'), 2);
    }

    void versionWrite_createsStore()
    {
        QDir(QFileInfo(SettingsFilePath()).path()).removeRecursively();
        QVERIFY(WriteVersionCreatingStore());
        QCOMPARE(ReadBytes(SettingsFilePath()), Lines({kVersionLine}));
        WriteOverwrite(true);
        QVERIFY(WriteVersionCreatingStore());
        QCOMPARE(ReadBytes(SettingsFilePath()), Lines({"Overwrite=dword:00000001", kVersionLine}));
    }
};

LK_TEST_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
