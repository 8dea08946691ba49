#include "TestSupport.h"

#include "app/AnsiText.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "learn/Lernprogramm.h"
#include "learn/Lektionauswahl.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

std::unique_ptr<QTemporaryDir> g_root;
int g_directoryCounter = 0;

}  // namespace

void PrepareTestEnvironment()
{
    g_root = std::make_unique<QTemporaryDir>();
    const QByteArray root = g_root->path().toUtf8();
    qputenv("HOME", root + "/home");
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QDir().mkpath(g_root->path() + QStringLiteral("/home"));
}

QString TestRoot()
{
    return g_root->path();
}

QString NewTestDirectory()
{
    const QString dir = TestRoot() + QStringLiteral("/t%1").arg(++g_directoryCounter);
    QDir().mkpath(dir);
    return dir;
}

void RemoveSettingsFile()
{
    QFile::remove(SettingsFilePath());
}

bool WriteSettingsFile(const QByteArray& content)
{
    return QDir().mkpath(QFileInfo(SettingsFilePath()).path()) &&
           WriteBytes(SettingsFilePath(), content);
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray VocabularyBytes(const QList<VocabularyEntry>& entries, const VocabularyHeader& header)
{
    QByteArray bytes = EncodeHeader(header).value();
    for (const VocabularyEntry& entry : entries)
        bytes += EncodeEntry(entry).value();
    return bytes;
}

QString WriteVocabularyFile(const QString& dir, const QString& name,
                            const QList<VocabularyEntry>& entries, const VocabularyHeader& header)
{
    const QString path = dir + QLatin1Char('/') + name;
    WriteBytes(path, VocabularyBytes(entries, header));
    return path;
}

QList<VocabularyEntry> NumberedEntries(int n, const QString& lesson)
{
    QList<VocabularyEntry> entries;
    for (int i = 1; i <= n; ++i) {
        const QString number = QString::number(i);
        entries << VocabularyEntry{lesson.isEmpty() ? QStringLiteral("L") + number : lesson,
                                   QStringLiteral("deutsch") + number,
                                   QStringLiteral("foreign") + number, QString(), QString()};
    }
    return entries;
}

QByteArray Lines(std::initializer_list<const char*> lines)
{
    QByteArray text;
    for (const char* line : lines)
        text += QByteArray(line) + '\n';
    return text;
}

int CountPixels(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

std::optional<bool> WithFileSizeLimit(qint64 limit, const std::function<bool()>& action)
{
#ifdef Q_OS_UNIX
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending us
    rlimit old{};
    if (getrlimit(RLIMIT_FSIZE, &old) != 0)
        return std::nullopt;
    rlimit limited = old;
    limited.rlim_cur = rlim_t(limit);
    if (setrlimit(RLIMIT_FSIZE, &limited) != 0)
        return std::nullopt;
    const bool result = action();
    setrlimit(RLIMIT_FSIZE, &old);
    return result;
#else
    Q_UNUSED(limit);
    Q_UNUSED(action);
    return std::nullopt;
#endif
}

void TypeText(QWidget* widget, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, key, modifiers);
}

bool WhileShown(QWidget* window, const std::function<void()>& open,
                const std::function<void()>& act)
{
    bool done = false;
    bool closedByAct = false;
    QTimer::singleShot(0, window, [&] {
        window->activateWindow();
        if (QTest::qWaitForWindowExposed(window)) {
            // Offscreen, a window shown again may stay inactive.
            (void)QTest::qWaitForWindowActive(window, 1000);
            act();
        }
        closedByAct = !window->isVisible();
        auto* dialog = qobject_cast<QDialog*>(window);
        if (!dialog)
            window->hide();  // closing the start screen would end the program
        else if (dialog->isVisible() && (dialog->close(), dialog->isVisible()))
            dialog->done(QDialog::Rejected);
        done = true;
    });
    open();
    return QTest::qWaitFor([&] { return done; }) && closedByAct;
}

LearningForms::LearningForms()
{
    if (!WriteVersionCreatingStore())
        qFatal("cannot write the settings file");
    Form1 = new TForm1();
    Form5 = new TForm5();
    Form6 = new TForm6();
}

LearningForms::~LearningForms()
{
    delete std::exchange(Form6, nullptr);
    delete std::exchange(Form5, nullptr);
    delete std::exchange(Form1, nullptr);
}
