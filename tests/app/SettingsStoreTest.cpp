#include "app/SettingsStore.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <functional>

namespace {

// The settings file exactly as the store writes it: one typed value per line, sorted.
QByteArray Lines(std::initializer_list<const char*> lines)
{
    QByteArray text;
    for (const char* line : lines)
        text += QByteArray(line) + '\n';
    return text;
}

// Replaces the settings file as another program (or a second instance) would.
void PlantSettings(const QByteArray& content)
{
    QDir().mkpath(QFileInfo(SettingsFilePath()).path());
    QVERIFY(WriteBytes(SettingsFilePath(), content));
}

using Reader = std::function<QVariant()>;

Reader ReaderNamed(const QString& name)
{
    static const QHash<QString, Reader> readers = {
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
        {QStringLiteral("Shortcut7"), [] { return QVariant(ReadShortcut(7)); }},
        {QStringLiteral("Shortcut10"), [] { return QVariant(ReadShortcut(10)); }},
    };
    return readers.value(name);
}

}  // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { RemoveSettingsFile(); }

    void missingStore_readsDefaults_data();
    void missingStore_readsDefaults();
    void missingStore_writesCreateNothing();
    void otherSettingsFiles_areNotConsulted();
    void storedValue_readsByType_data();
    void storedValue_readsByType();
    void damagedLines_loseOnlyTheirValue();
    void write_replacesValueOfOtherType();
    void numberedNames_areExact();
    void integers_keepTheirSign();
    void text_roundTrips_data();
    void text_roundTrips();
    void fileSyntax_isExact();
    void versionWrite_createsStore();
};

void SettingsStoreTest::missingStore_readsDefaults_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("Compression") << "Compression" << QVariant(5);
    QTest::newRow("AutoDelete") << "AutoDelete" << QVariant(false);
    QTest::newRow("IgnoreGrossKlein") << "IgnoreGrossKlein" << QVariant(false);
    QTest::newRow("Synonyme") << "Synonyme" << QVariant(true);
    QTest::newRow("Beschreibung") << "Beschreibung" << QVariant(true);
    QTest::newRow("Overwrite") << "Overwrite" << QVariant(false);
    QTest::newRow("Font") << "Font" << QVariant(QString());
    QTest::newRow("RightSound") << "RightSound" << QVariant(QString());
    QTest::newRow("CurrentDirectory") << "CurrentDirectory" << QVariant(QString());
    QTest::newRow("FontField3") << "FontField3" << QVariant(-1);
    QTest::newRow("Shortcut7") << "Shortcut7" << QVariant(QString());
}

void SettingsStoreTest::missingStore_readsDefaults()
{
    QFETCH(QString, setting);
    QFETCH(QVariant, expected);
    QCOMPARE(ReaderNamed(setting)(), expected);
    QVERIFY(!QFileInfo::exists(SettingsFilePath()));
}

void SettingsStoreTest::missingStore_writesCreateNothing()
{
    QDir(QFileInfo(SettingsFilePath()).path()).removeRecursively();
    WriteFont(QStringLiteral("Symbol"));
    WriteCompression(9);
    WriteSynonyme(false);
    WriteFontField(1, 4);
    WriteShortcut(QStringLiteral("über"), 10);
    WriteCurrentDirectory(QStringLiteral("/home/anna"));
    QVERIFY(!QFileInfo::exists(SettingsFilePath()));
    QVERIFY(!QFileInfo::exists(QFileInfo(SettingsFilePath()).path()));
    QCOMPARE(ReadFont(), QString());
    QCOMPARE(ReadCompression(), 5);
    QCOMPARE(ReadSynonyme(), true);
}

// Only the user's own file counts: an organisation-wide file beside it or a system-wide
// one must not change the defaults.
void SettingsStoreTest::otherSettingsFiles_areNotConsulted()
{
    const QString organisationFile =
        QFileInfo(SettingsFilePath()).path() + QStringLiteral(".conf");
    QDir().mkpath(QFileInfo(organisationFile).path());
    QVERIFY(WriteBytes(organisationFile, Lines({"Compression=dword:00000009",
                                                "Font=sz:Symbol", "Synonyme=dword:00000000"})));
    QCOMPARE(ReadCompression(), 5);
    QCOMPARE(ReadFont(), QString());
    QCOMPARE(ReadSynonyme(), true);

    PlantSettings(Lines({"Overwrite=dword:00000001"}));
    QCOMPARE(ReadCompression(), 5);
    QCOMPARE(ReadOverwrite(), true);
    QFile::remove(organisationFile);
}

void SettingsStoreTest::storedValue_readsByType_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("integer as dword") << QByteArray("Compression=dword:00000009") << "Compression"
                                      << QVariant(9);
    QTest::newRow("integer as text 7") << QByteArray("Compression=sz:7") << "Compression"
                                       << QVariant(5);
    QTest::newRow("integer as binary") << QByteArray("Compression=hex:07,00,00,00")
                                       << "Compression" << QVariant(5);
    QTest::newRow("font field as text") << QByteArray("FontField3=sz:1") << "FontField3"
                                        << QVariant(-1);
    QTest::newRow("font field 0") << QByteArray("FontField3=dword:00000000") << "FontField3"
                                  << QVariant(0);
    QTest::newRow("yes/no dword 2") << QByteArray("AutoDelete=dword:00000002") << "AutoDelete"
                                    << QVariant(true);
    QTest::newRow("yes/no dword 0") << QByteArray("Synonyme=dword:00000000") << "Synonyme"
                                    << QVariant(false);
    QTest::newRow("yes/no as text") << QByteArray("AutoDelete=sz:1") << "AutoDelete"
                                    << QVariant(false);
    QTest::newRow("yes/no as binary") << QByteArray("Beschreibung=hex:00") << "Beschreibung"
                                      << QVariant(true);
    QTest::newRow("text") << QByteArray("Font=sz:Symbol") << "Font"
                          << QVariant(QStringLiteral("Symbol"));
    QTest::newRow("text as binary") << QByteArray("Font=hex:41,42") << "Font"
                                    << QVariant(QString());
    QTest::newRow("text as dword") << QByteArray("Font=dword:00000001") << "Font"
                                   << QVariant(QString());
    QTest::newRow("text with blanks kept") << QByteArray("WrongSound=sz: /snd/falsch.wav ")
                                           << "WrongSound"
                                           << QVariant(QStringLiteral(" /snd/falsch.wav "));
    QTest::newRow("name is case-sensitive") << QByteArray("compression=dword:00000009")
                                            << "Compression" << QVariant(5);
    QTest::newRow("Shortcut1 is not Shortcut10") << QByteArray("Shortcut1=sz:eins")
                                                 << "Shortcut10" << QVariant(QString());
}

void SettingsStoreTest::storedValue_readsByType()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, setting);
    QFETCH(QVariant, expected);
    PlantSettings(Lines({"Version=hex:00,00,00,00,00,00,f8,3f"}) + line + '\n');
    QCOMPARE(ReaderNamed(setting)(), expected);
}

// A damaged line costs only its own value; the next write drops it and keeps the rest.
void SettingsStoreTest::damagedLines_loseOnlyTheirValue()
{
    PlantSettings(Lines({"Compression=dword:00000009", "Font=Symbol ohne Typ",
                         "Overwrite=dword:1", "\x01\xff kaputt", "Synonyme=dword:00000000"}));
    QCOMPARE(ReadCompression(), 9);
    QCOMPARE(ReadFont(), QString());
    QCOMPARE(ReadOverwrite(), false);
    QCOMPARE(ReadSynonyme(), false);
    WriteFont(QStringLiteral("Symbol"));
    QCOMPARE(ReadBytes(SettingsFilePath()), Lines({"Compression=dword:00000009", "Font=sz:Symbol",
                                                   "Synonyme=dword:00000000"}));
}

void SettingsStoreTest::write_replacesValueOfOtherType()
{
    PlantSettings(Lines({"Compression=sz:7", "Font=hex:41"}));
    WriteCompression(3);
    WriteFont(QStringLiteral("Symbol"));
    QCOMPARE(ReadBytes(SettingsFilePath()),
             Lines({"Compression=dword:00000003", "Font=sz:Symbol"}));
    QCOMPARE(ReadCompression(), 3);
}

void SettingsStoreTest::numberedNames_areExact()
{
    PlantSettings(QByteArray());
    WriteShortcut(QStringLiteral("zehn"), 10);
    WriteShortcut(QStringLiteral("eins"), 1);
    WriteFontField(1, 4);
    QCOMPARE(ReadBytes(SettingsFilePath()),
             Lines({"FontField4=dword:00000001", "Shortcut1=sz:eins", "Shortcut10=sz:zehn"}));
    QCOMPARE(ReadShortcut(10), QStringLiteral("zehn"));
    QCOMPARE(ReadShortcut(1), QStringLiteral("eins"));
    QCOMPARE(ReadFontField(4), 1);
    QCOMPARE(ReadFontField(1), -1);
    QCOMPARE(settings_raw::TypeOf(QStringLiteral("FontField4")), settings_raw::Type::Dword);
    QCOMPARE(settings_raw::TypeOf(QStringLiteral("Shortcut10")), settings_raw::Type::Text);
}

void SettingsStoreTest::integers_keepTheirSign()
{
    PlantSettings(QByteArray());
    WriteFontField(-1, 2);
    WriteCompression(-7);
    QCOMPARE(ReadBytes(SettingsFilePath()),
             Lines({"Compression=dword:fffffff9", "FontField2=dword:ffffffff"}));
    QCOMPARE(ReadFontField(2), -1);
    QCOMPARE(ReadCompression(), -7);
}

void SettingsStoreTest::text_roundTrips_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("backslashes") << QStringLiteral("C:\\Vokabeln\\franz.vok\\");
    QTest::newRow("escape look-alike") << QStringLiteral("a\\nb\\\\n");
    QTest::newRow("newline") << QStringLiteral("erste Zeile\nzweite Zeile");
    QTest::newRow("carriage return") << QStringLiteral("a\r\nb\r");
    QTest::newRow("umlauts and euro") << QStringLiteral("Übung: ä ö ü ß € µ");
    QTest::newRow("separators") << QStringLiteral("Name=sz:wert:mit=Zeichen");
    QTest::newRow("comment sign") << QStringLiteral("# kein Kommentar");
    QTest::newRow("blanks and tab") << QStringLiteral("  \tEinrückung  ");
}

void SettingsStoreTest::text_roundTrips()
{
    QFETCH(QString, text);
    PlantSettings(Lines({"Compression=dword:00000009"}));
    WriteShortcut(text, 12);
    WriteCurrentDirectory(text);
    QCOMPARE(ReadShortcut(12), text);
    QCOMPARE(ReadCurrentDirectory(), text);
    // Every value stays on its own line: the other value is unharmed.
    QCOMPARE(ReadCompression(), 9);
    QCOMPARE(ReadBytes(SettingsFilePath()).count('\n'), 3);
}

void SettingsStoreTest::fileSyntax_isExact()
{
    PlantSettings(QByteArray());
    WriteCurrentDirectory(QStringLiteral("/home/anna/Vokabeln"));
    WriteAutoDelete(true);
    WriteCompression(5);
    WriteShortcut(QStringLiteral("Zeile\\1\n2"), 3);
    WriteFont(QStringLiteral("Symbol"));
    QCOMPARE(ReadBytes(SettingsFilePath()),
             Lines({"AutoDelete=dword:00000001", "Compression=dword:00000005",
                    "CurrentDirectory=sz:/home/anna/Vokabeln", "Font=sz:Symbol",
                    "Shortcut3=sz:Zeile\\\\1\\n2"}));

    // A NUL ends a text; what follows it is not part of the value.
    settings_raw::WriteText(QStringLiteral("RightSound"), QStringLiteral("ab") + QChar(0) +
                                                              QStringLiteral("cd"));
    QCOMPARE(ReadRightSound(), QStringLiteral("ab"));
}

void SettingsStoreTest::versionWrite_createsStore()
{
    QDir(QFileInfo(SettingsFilePath()).path()).removeRecursively();
    QVERIFY(WriteVersionCreatingStore());
    QCOMPARE(ReadBytes(SettingsFilePath()), Lines({"Version=hex:00,00,00,00,00,00,f8,3f"}));
    QCOMPARE(settings_raw::TypeOf(QStringLiteral("Version")), settings_raw::Type::Binary);
    WriteOverwrite(true);
    QVERIFY(WriteVersionCreatingStore());
    QCOMPARE(ReadBytes(SettingsFilePath()),
             Lines({"Overwrite=dword:00000001", "Version=hex:00,00,00,00,00,00,f8,3f"}));
}

LK_TEST_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
