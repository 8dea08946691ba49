#pragma once

#include <QElapsedTimer>
#include <QValidator>

// Small helpers shared by the windows.

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
// pending events, user input excluded (the job's controls stay untouched), at most every
// 50 ms. Call it often, e.g. once per block of records.
class RepaintPacer {
public:
    RepaintPacer() { sinceRepaint_.start(); }
    void operator()();

private:
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
