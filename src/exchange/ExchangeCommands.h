#pragma once

#include <QString>

class QWidget;
class VocabularyFile;

// The two commands of the editor's "&Datei" menu that exchange word lists with other
// programs.

// The editor's "&Importieren ...": the file dialog for a word list, then the import dialog.
// openFile is the editor's open vocabulary file (nullptr or closed: none), offered to append
// to and then written through its own handle.
struct ImportCommandResult {
    bool imported = false;
    QString path;  // the vocabulary file written
    bool appended = false;
    qint64 entries = 0;
};
ImportCommandResult ImportWordListCommand(QWidget* parent, VocabularyFile* openFile = nullptr);

// The editor's "&Exportieren ...": the file dialog for the list, whose file type chooses the
// format (a name without that type's extension gets it), then the export with the
// hourglass. True when written.
bool ExportWordListCommand(QWidget* parent, const QString& vocabularyPath);
