#pragma once

#include "speech/SpeechEngine.h"

#include <QDialog>
#include <QString>

#include <optional>

class QListWidget;

// Reading aloud for the windows: through the platform layer, with a problem told once.

// Reads the parts one after the other and returns at once. A problem (no engine, no voice,
// no sound server) is told in a message over parent once per kind and language, after the
// current event; later the program stays silent about it.
void ReadAloud(QWidget* parent, const QList<SpeechPart>& parts);

// The foreign language of a vocabulary file: the one chosen for it, otherwise a guess from
// its name and title; empty when neither gives one.
QString ForeignLanguageOf(const QString& path, const QString& title);

// "Sprache der Fremdsprache": the languages the engine has voices for, by their German
// names, the current one chosen.
class LanguageDialog : public QDialog {
    Q_OBJECT
public:
    LanguageDialog(QWidget* parent, const QList<SpeechVoice>& voices, const QString& current);
    QString chosenLanguage() const;

    QListWidget* Languages;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QList<SpeechVoice> voices_;
};

// Shows the dialog for the file and keeps the language chosen; false when nothing was
// chosen (cancelled, or no engine: then a message says so).
bool ChooseForeignLanguage(QWidget* parent, const QString& path, const QString& title);
