// The editor's word list items: import from and export to other programs' formats.

#include "ExchangeCommands.h"
#include "vocab/Editor.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>

void TForm2::BuildExchangeMenu()
{
    Datei1->addSeparator();
    Importieren1 = Datei1->addAction(QStringLiteral("&Importieren ..."));
    Importieren1->setObjectName(QStringLiteral("Importieren1"));
    Exportieren1 = Datei1->addAction(QStringLiteral("&Exportieren ..."));
    Exportieren1->setObjectName(QStringLiteral("Exportieren1"));
    // Only an open file can be exported; an import without one goes into a new file.
    connect(Datei1, &QMenu::aboutToShow, this, [this] { Exportieren1->setEnabled(HasDocument()); });
    connect(Importieren1, &QAction::triggered, this, &TForm2::Importieren1Click);
    connect(Exportieren1, &QAction::triggered, this, &TForm2::Exportieren1Click);
}

void TForm2::Importieren1Click()
{
    const bool open = HasDocument();
    if (open && !StoreCurrentEntry(false))
        return;
    TrimFields();
    const ImportCommandResult result = ImportWordListCommand(this, open ? &file_ : nullptr);
    if (!open) {
        // Nothing was being edited: the new file is what the user wants to see.
        if (result.imported) {
            ResetEditor();
            OpenDocument(result.path);
        }
        return;
    }
    if (result.appended)
        ShowCounters(ScrollBar1->value(), file_.entryCount());
    else if (file_.changedElsewhere())  // the import dialog has said so
        ReloadCounters();
    Edit1->setFocus();
}

void TForm2::Exportieren1Click()
{
    if (!HasDocument() || !StoreCurrentEntry(false))
        return;
    TrimFields();
    ExportWordListCommand(this, file_.path());
}
