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

class QMenuBar;

// Lets the arrow keys in an open menu go on from the titles of one menu bar to those of
// the other (the help title sits in a bar of its own at the right end), as in one bar.
void JoinMenuBars(QMenuBar* main, QMenuBar* corner);
