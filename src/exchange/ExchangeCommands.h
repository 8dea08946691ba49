#pragma once

#include <QString>

class QWidget;

// The two commands of the editor's "&Datei" menu that exchange word lists with other
// programs.

// The editor's "&Importieren ...": the file dialog for a word list, then the import dialog.
struct ImportCommandResult {
    bool imported = false;
    QString path;  // the vocabulary file written
    bool appended = false;
    qint64 entries = 0;
};
ImportCommandResult ImportWordListCommand(QWidget* parent, const QString& openFile = {},
                                          int openFileEntries = -1);

// The editor's "&Exportieren ...": the file dialog for the list, whose extension chooses the
// format (.csv, .txt, .kvtml), then the export with the hourglass. True when written.
bool ExportWordListCommand(QWidget* parent, const QString& vocabularyPath);
