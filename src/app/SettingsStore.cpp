#include "SettingsStore.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <memory>
#include <optional>

// File syntax, one value per line, the type shown before the value:
//   Compression=dword:00000005
//   CurrentDirectory=sz:/home/anna/Vokabeln
//   Version=hex:00,00,00,00,00,00,f8,3f
// Text escapes "\\", "\n" and "\r" so that every value stays on its line.

namespace {

QString EscapeText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

std::optional<QString> UnescapeText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        const QChar e = text.at(i);
        if (e == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else if (e == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (e == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else
            return std::nullopt;
    }
    return out;
}

std::optional<QVariant> ParseValue(QStringView type, QStringView value)
{
    if (type == QLatin1String("sz")) {
        const auto text = UnescapeText(value);
        if (!text)
            return std::nullopt;
        return QVariant(*text);
    }
    if (type == QLatin1String("dword")) {
        bool ok = false;
        const quint32 number = value.toUInt(&ok, 16);
        if (!ok || value.size() != 8)
            return std::nullopt;
        return QVariant::fromValue(number);
    }
    if (type == QLatin1String("hex")) {
        QByteArray bytes;
        if (!value.isEmpty()) {
            for (QStringView part : value.split(QLatin1Char(','))) {
                bool ok = false;
                const uint byte = part.toUInt(&ok, 16);
                if (!ok || part.size() != 2)
                    return std::nullopt;
                bytes.append(static_cast<char>(byte));
            }
        }
        return QVariant(bytes);
    }
    return std::nullopt;
}

}  // namespace

// Reads what can be read. A line that does not parse is a value that cannot be read: it
// is skipped (its setting reads as the default) and dropped at the next write, while the
// other values stay readable and writable, as with damaged values in a registry key.
bool ReadTypedFile(QIODevice& device, QSettings::SettingsMap& map)
{
    const QString content = QString::fromUtf8(device.readAll());
    const auto lines = QStringView(content).split(QLatin1Char('\n'));
    for (QStringView line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const qsizetype colon = line.indexOf(QLatin1Char(':'), eq + 1);
        if (eq <= 0 || colon < 0)
            continue;
        const QString name = line.left(eq).toString();
        const QStringView type = line.mid(eq + 1, colon - eq - 1);
        const QStringView value = line.mid(colon + 1);
        if (const auto parsed = ParseValue(type, value))
            map.insert(name, *parsed);
    }
    return true;
}

bool WriteTypedFile(QIODevice& device, const QSettings::SettingsMap& map)
{
    QString out;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const QVariant& v = it.value();
        out += it.key() + QLatin1Char('=');
        switch (v.typeId()) {
        case QMetaType::QString:
            out += QLatin1String("sz:") + EscapeText(v.toString());
            break;
        case QMetaType::UInt:
        case QMetaType::Int:
            out += QLatin1String("dword:") +
                   QStringLiteral("%1").arg(v.toUInt(), 8, 16, QLatin1Char('0'));
            break;
        default: {
            const QByteArray bytes = v.toByteArray();
            QStringList parts;
            for (char b : bytes)
                parts << QStringLiteral("%1").arg(static_cast<uchar>(b), 2, 16, QLatin1Char('0'));
            out += QLatin1String("hex:") + parts.join(QLatin1Char(','));
        }
        }
        out += QLatin1Char('\n');
    }
    const QByteArray bytes = out.toUtf8();
    return device.write(bytes) == bytes.size();
}

namespace {

QSettings::Format TypedFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("conf"), ReadTypedFile, WriteTypedFile);
    return format;
}

QString StorePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Kelp/Lernkompass.conf");
}

// The store, or nothing when its path names something other than a regular file: opening
// a FIFO there would block the program, and a write would put a file in its place.
// Opened by its path, QSettings reads only the user's own file, never an organisation-wide
// or system-wide file beside it (their values must not replace the defaults, and one of
// them could be a FIFO as well).
std::unique_ptr<QSettings> OpenStore()
{
    const QString path = StorePath();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return nullptr;
    return std::make_unique<QSettings>(path, TypedFormat());
}

QVariant ReadValue(const QString& name)
{
    const auto store = OpenStore();
    if (!store || store->status() != QSettings::NoError)
        return QVariant();
    return store->value(name);
}

// Writes only into an existing store: the accessors never create it.
void WriteValue(const QString& name, const QVariant& value)
{
    const auto store = OpenStore();
    if (!store || !QFile::exists(store->fileName()) || store->status() != QSettings::NoError)
        return;
    store->setValue(name, value);
    store->sync();
}

bool IsDword(const QVariant& v)
{
    return v.typeId() == QMetaType::UInt || v.typeId() == QMetaType::Int;
}

QString ReadText(const QString& name)
{
    const QVariant v = ReadValue(name);
    if (v.typeId() != QMetaType::QString)
        return QString();
    const QString text = v.toString();
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

int ReadInteger(const QString& name, int fallback)
{
    const QVariant v = ReadValue(name);
    return IsDword(v) ? static_cast<int>(v.toUInt()) : fallback;
}

bool ReadYesNo(const QString& name, bool fallback)
{
    const QVariant v = ReadValue(name);
    return IsDword(v) ? v.toUInt() != 0 : fallback;
}

void WriteText(const QString& name, const QString& value)
{
    WriteValue(name, value);
}

void WriteInteger(const QString& name, int value)
{
    WriteValue(name, QVariant::fromValue(static_cast<quint32>(value)));
}

void WriteYesNo(const QString& name, bool value)
{
    WriteValue(name, QVariant::fromValue(quint32(value ? 1 : 0)));
}

QString Numbered(const char* prefix, int k)
{
    return QLatin1String(prefix) + QString::number(k);
}

}  // namespace

QString SettingsFilePath()
{
    return StorePath();
}

bool WriteVersionCreatingStore()
{
    const auto store = OpenStore();
    if (!store || store->status() != QSettings::NoError)
        return false;
    // 1.5 as a little-endian IEEE-754 double.
    store->setValue(QStringLiteral("Version"),
                    QByteArray::fromHex(QByteArrayLiteral("000000000000f83f")));
    store->sync();
    return store->status() == QSettings::NoError && QFile::exists(store->fileName());
}

// clang-format off
QString ReadCurrentDirectory() { return ReadText(QStringLiteral("CurrentDirectory")); }
void WriteCurrentDirectory(const QString& value) { WriteText(QStringLiteral("CurrentDirectory"), value); }
bool ReadAutoDelete() { return ReadYesNo(QStringLiteral("AutoDelete"), false); }
void WriteAutoDelete(bool value) { WriteYesNo(QStringLiteral("AutoDelete"), value); }
bool ReadIgnoreGrossKlein() { return ReadYesNo(QStringLiteral("IgnoreGrossKlein"), false); }
void WriteIgnoreGrossKlein(bool value) { WriteYesNo(QStringLiteral("IgnoreGrossKlein"), value); }
bool ReadSynonyme() { return ReadYesNo(QStringLiteral("Synonyme"), true); }
void WriteSynonyme(bool value) { WriteYesNo(QStringLiteral("Synonyme"), value); }
bool ReadBeschreibung() { return ReadYesNo(QStringLiteral("Beschreibung"), true); }
void WriteBeschreibung(bool value) { WriteYesNo(QStringLiteral("Beschreibung"), value); }
QString ReadRightSound() { return ReadText(QStringLiteral("RightSound")); }
void WriteRightSound(const QString& value) { WriteText(QStringLiteral("RightSound"), value); }
QString ReadWrongSound() { return ReadText(QStringLiteral("WrongSound")); }
void WriteWrongSound(const QString& value) { WriteText(QStringLiteral("WrongSound"), value); }
bool ReadOverwrite() { return ReadYesNo(QStringLiteral("Overwrite"), false); }
void WriteOverwrite(bool value) { WriteYesNo(QStringLiteral("Overwrite"), value); }
int ReadCompression() { return ReadInteger(QStringLiteral("Compression"), 5); }
void WriteCompression(int value) { WriteInteger(QStringLiteral("Compression"), value); }
QString ReadFont() { return ReadText(QStringLiteral("Font")); }
void WriteFont(const QString& value) { WriteText(QStringLiteral("Font"), value); }
int ReadFontField(int k) { return ReadInteger(Numbered("FontField", k), -1); }
void WriteFontField(int value, int k) { WriteInteger(Numbered("FontField", k), value); }
QString ReadShortcut(int k) { return ReadText(Numbered("Shortcut", k)); }
void WriteShortcut(const QString& value, int k) { WriteText(Numbered("Shortcut", k), value); }
bool ReadUmlautSpellings() { return ReadYesNo(QStringLiteral("UmlautSpellings"), false); }
void WriteUmlautSpellings(bool value) { WriteYesNo(QStringLiteral("UmlautSpellings"), value); }
bool ReadAnyMeaning() { return ReadYesNo(QStringLiteral("AnyMeaning"), false); }
void WriteAnyMeaning(bool value) { WriteYesNo(QStringLiteral("AnyMeaning"), value); }
bool ReadReadAloud() { return ReadYesNo(QStringLiteral("ReadAloud"), false); }
void WriteReadAloud(bool value) { WriteYesNo(QStringLiteral("ReadAloud"), value); }
// clang-format on

namespace {

int ReadIntegerIn(const QString& name, int low, int high, int fallback)
{
    const int value = ReadInteger(name, fallback);
    return value >= low && value <= high ? value : fallback;
}

// The lines "<language>=<absolute path>" of the foreign languages, by path.
QList<std::pair<QString, QString>> ForeignLanguages()
{
    QList<std::pair<QString, QString>> languages;
    for (const QString& line : ReadText(QStringLiteral("ForeignLanguages")).split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0)
            languages.append({line.mid(eq + 1), line.left(eq)});
    }
    return languages;
}

}  // namespace

int ReadDesiredRetention()
{
    return ReadIntegerIn(QStringLiteral("DesiredRetention"), kMinRetentionPercent,
                         kMaxRetentionPercent, 90);
}
void WriteDesiredRetention(int value)
{
    WriteInteger(QStringLiteral("DesiredRetention"), value);
}
int ReadNewCardsPerDay()
{
    return ReadIntegerIn(QStringLiteral("NewCardsPerDay"), 0, kMaxNewCardsPerDay, 20);
}
void WriteNewCardsPerDay(int value)
{
    WriteInteger(QStringLiteral("NewCardsPerDay"), value);
}
int ReadRunSize()
{
    return ReadIntegerIn(QStringLiteral("RunSize"), 1, kMaxRunSize, 100);
}
void WriteRunSize(int value)
{
    WriteInteger(QStringLiteral("RunSize"), value);
}

QString ReadForeignLanguage(const QString& absolutePath)
{
    for (const auto& [path, language] : ForeignLanguages())
        if (path == absolutePath)
            return language;
    return QString();
}

void WriteForeignLanguage(const QString& absolutePath, const QString& language)
{
    // A line holds each file; a language is a short code.
    if (absolutePath.isEmpty() || absolutePath.contains(u'\n') || language.isEmpty() ||
        language.contains(u'=') || language.contains(u'\n'))
        return;
    QStringList lines{language + u'=' + absolutePath};
    for (const auto& [path, other] : ForeignLanguages())
        if (path != absolutePath)
            lines << other + u'=' + path;
    WriteText(QStringLiteral("ForeignLanguages"), lines.join(u'\n'));
}
