// A settings file written by hand or by another program: the parser of its lines, the
// writer's text read back, and every accessor reading the file through QSettings.

#include "FuzzSupport.h"
#include "app/SettingsStore.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QSettings::SettingsMap Parse(const QByteArray& text)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    QSettings::SettingsMap map;
    FUZZ_CHECK(ReadTypedFile(buffer, map));
    return map;
}

bool SameValues(const QSettings::SettingsMap& a, const QSettings::SettingsMap& b)
{
    if (a.size() != b.size())
        return false;
    for (auto it = a.cbegin(); it != a.cend(); ++it) {
        const auto other = b.constFind(it.key());
        if (other == b.cend() || other->typeId() != it->typeId() || *other != *it)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "SettingsFileFuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = [] {
        // The store's file lives in a directory of our own, never the user's.
        const QString config = FuzzFilePath(QStringLiteral("config"));
        QDir().mkpath(config);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        return new QCoreApplication(argc, argv);
    }();
    Q_UNUSED(app);

    const QByteArray text = FuzzBytes(data, size);
    const QSettings::SettingsMap values = Parse(text);

    // Whatever was read is written so that it reads back the same.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    FUZZ_CHECK(WriteTypedFile(out, values));
    FUZZ_CHECK(SameValues(Parse(out.data()), values));

    // The accessors over the same text as the store's file.
    const QString path = SettingsFilePath();
    QDir().mkpath(QFileInfo(path).path());
    if (!WriteFuzzFile(path, text))
        return 0;
    FUZZ_CHECK(!ReadCurrentDirectory().contains(QChar(0)));
    ReadAutoDelete();
    ReadIgnoreGrossKlein();
    ReadSynonyme();
    ReadBeschreibung();
    ReadRightSound();
    ReadWrongSound();
    ReadOverwrite();
    ReadCompression();
    ReadFont();
    for (int k = 1; k <= 5; ++k)
        ReadFontField(k);
    for (int k = 1; k <= 12; ++k)
        FUZZ_CHECK(!ReadShortcut(k).contains(QChar(0)));
    return 0;
}
