#pragma once

#include "FakePlatform.h"
#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "vocab/VocabularyFile.h"

// What nearly every test of a window needs.
#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

class QWidget;

// Points HOME, XDG_CONFIG_HOME and XDG_DATA_HOME at a fresh temporary directory and
// selects the offscreen platform. Runs before the QApplication is created.
void PrepareTestEnvironment();
// The temporary root of this test run.
QString TestRoot();
// A fresh empty directory below the test root.
QString NewTestDirectory();
// Removes the settings file, as on a machine where the program never ran.
void RemoveSettingsFile();
// Replaces the settings file as another program (or a second instance) would.
bool WriteSettingsFile(const QByteArray& content);

QByteArray ReadBytes(const QString& path);
bool WriteBytes(const QString& path, const QByteArray& bytes);

// The bytes of a vocabulary file with a blank header and these entries.
QByteArray VocabularyBytes(const QList<VocabularyEntry>& entries,
                           const VocabularyHeader& header = {});
// Writes such a file to dir/name and returns its path.
QString WriteVocabularyFile(const QString& dir, const QString& name,
                            const QList<VocabularyEntry>& entries,
                            const VocabularyHeader& header = {});
// Entries whose fields are "L<i>", "deutsch<i>", "foreign<i>", "", "" for i = 1..n, or
// with the given lesson.
QList<VocabularyEntry> NumberedEntries(int n, const QString& lesson = {});

// Text lines joined with a line feed after each (a settings file as the store writes it).
QByteArray Lines(std::initializer_list<const char*> lines);

// The number of pixels of exactly this colour.
int CountPixels(const QImage& image, QRgb colour);

// Runs action while files may grow to at most limit bytes, as on a full disk (Unix only:
// returns nothing elsewhere, and the test should skip).
std::optional<bool> WithFileSizeLimit(qint64 limit, const std::function<bool()>& action);

// Sends a text as key events, one character at a time (umlauts included).
void TypeText(QWidget* widget, const QString& text);
// Presses a key where window's keyboard focus is, or on window when nothing there has it.
void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Opens window with open (its modal exec, or a show) and calls act once it is up and active.
// Whatever act leaves open is closed afterwards (a dialog rejected), so that a failing check
// cannot hang the test. True when act closed the window itself.
bool WhileShown(QWidget* window, const std::function<void()>& open,
                const std::function<void()>& act);

// The start screen, learning window and statistics window that the learning window reaches
// through their globals, made with the settings file in place and deleted in reverse.
struct LearningForms {
    LearningForms();
    ~LearningForms();
};

// A main() for Qt Test that prepares the environment first.
#define LK_TEST_MAIN(TestClass)                                \
    int main(int argc, char* argv[])                           \
    {                                                          \
        PrepareTestEnvironment();                              \
        QApplication app(argc, argv);                          \
        app.setAttribute(Qt::AA_Use96Dpi, true);               \
        app.setApplicationName(QStringLiteral("Lernkompass")); \
        app.setOrganizationName(QStringLiteral("Kelp"));       \
        TestClass test;                                        \
        QTEST_SET_MAIN_SOURCE_PATH                             \
        return QTest::qExec(&test, argc, argv);                \
    }
