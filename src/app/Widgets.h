#pragma once

#include <QElapsedTimer>
#include <QKeySequence>
#include <QRect>
#include <QStyle>
#include <QValidator>

#include <utility>

class QAction;
class QLabel;
class QToolButton;

// Small helpers shared by the windows.

// A small tool window of fixed size whose title bar has only the close button.
inline constexpr Qt::WindowFlags kFixedToolWindow = Qt::Tool | Qt::MSWindowsFixedSizeDialogHint |
                                                    Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                    Qt::WindowCloseButtonHint;

// The one way a window makes a named control: a new T (constructor arguments args, then
// parent) whose objectName is name, the name tests and screen-reader checks find it by.
template <class T, class Parent, class... Args>
T* Named(Parent* parent, const char* name, Args&&... args)
{
    auto* object = new T(std::forward<Args>(args)..., parent);
    object->setObjectName(QLatin1String(name));
    return object;
}

// The same for a control at a fixed pixel position.
template <class T, class Parent, class... Args>
T* Placed(Parent* parent, const char* name, const QRect& place, Args&&... args)
{
    T* widget = Named<T>(parent, name, std::forward<Args>(args)...);
    widget->setGeometry(place);
    return widget;
}

// A plain-text label that shows a value (a file name, a count, a result). A screen reader
// says its text; caption only describes it (an accessible name would replace the text).
QLabel* ValueLabel(QWidget* parent, const char* name, const QString& caption,
                   const QString& text = QString());

// A menu command with its key.
QAction* Command(QObject* parent, const char* name, const QString& text,
                 const QKeySequence& key = QKeySequence());

// A tool button standing for a menu command: hint is its tool tip and what a screen reader
// says. It takes no focus: like every command it is reached through the menus and their keys.
QToolButton* CommandButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                           const QString& hint);

// Accepts only what a field of the program's files can hold: characters that
// Windows-1252 can store, and no control characters (a field is one line of text).
class AnsiLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Shows the hourglass cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Keeps a window repainting during a long job on the UI thread: each call processes the
// pending events at most every intervalMs. Call it often, e.g. once per block of records.
class RepaintPacer {
public:
    // Whether the user's input waits for the job's end (the job's controls stay untouched)
    // or is handled with the repaints (the window is disabled meanwhile).
    enum class Input { Held, LetThrough };
    // Whether the first call repaints at once or only after an interval.
    enum class First { AfterInterval, AtOnce };

    explicit RepaintPacer(Input input = Input::Held, int intervalMs = 50,
                          First first = First::AfterInterval);
    void operator()()
    {
        if (due())
            now();
    }
    bool due() const { return !sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= intervalMs_; }
    // Repaints at once; the next interval starts.
    void now();

private:
    Input input_;
    int intervalMs_;
    QElapsedTimer sinceRepaint_;
};

// Enter on a focused push button presses that button, as Space does, in every window;
// Enter held down presses it once. No button is auto-default, so Enter elsewhere reaches
// only a window's own default button, if it has one. Installed once for the application,
// before the windows are shown.
void InstallButtonKeys();

class QMenuBar;

// Lets the arrow keys in an open menu go on from the titles of one menu bar to those of
// the other (the help title sits in a bar of its own at the right end), as in one bar.
void JoinMenuBars(QMenuBar* main, QMenuBar* corner);

class QMenu;

// The windows' "&Hilfe" menu at the right end of main: Qt cannot right-align one title of a
// menu bar, so it sits in a second bar in main's corner (bar), joined to main for the keys.
struct HelpMenu {
    QMenuBar*& bar;
    QMenu*& menu;
    QAction*& help;
    QAction*& site;
    QAction*& authorSite;
    QAction*& info;
};
void AddHelpMenu(QMenuBar* main, const HelpMenu& help);

// The end of the options menu in the windows with vocabulary fields: the two fonts of the
// fields and the preferences, each group after a separator.
struct FontItems {
    QAction*& msSansSerif;
    QAction*& symbol;
    QAction*& preferences;
};
void AddFontItems(QMenu* options, const FontItems& items);
