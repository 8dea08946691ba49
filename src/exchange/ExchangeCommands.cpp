#include "ExchangeCommands.h"

#include "ImportDialog.h"
#include "ListExport.h"
#include "app/FileNames.h"
#include "app/Platform.h"
#include "app/SettingsStore.h"
#include "app/Widgets.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

ImportCommandResult ImportWordListCommand(QWidget* parent, const QString& openFile,
                                          int openFileEntries)
{
    const std::optional<QString> chosen = Platform::instance().openFileName(
        parent, QStringLiteral("Wortliste importieren"),
        QStringLiteral("Wortlisten (*.csv *.txt *.tsv *.kvtml);;CSV (*.csv);;"
                       "Anki-Text (*.txt *.tsv);;KVTML (*.kvtml);;Alle Dateien (*)"),
        ReadCurrentDirectory());
    if (!chosen)
        return {};
    WriteCurrentDirectory(DirectoryPart(*chosen));
    ImportDialog dialog(parent);
    if (!dialog.setSource(*chosen, openFile, openFileEntries) || dialog.exec() != QDialog::Accepted)
        return {};
    return {true, dialog.targetPath(), dialog.appended(), dialog.importedCounts().entries};
}

bool ExportWordListCommand(QWidget* parent, const QString& vocabularyPath)
{
    const std::optional<QString> chosen = Platform::instance().openFileName(
        parent, QStringLiteral("Wortliste exportieren"),
        QStringLiteral("CSV (*.csv);;Anki-Text (*.txt);;KVTML (*.kvtml)"), ReadCurrentDirectory(),
        FileChoice::MayBeNew);
    if (!chosen)
        return false;
    WriteCurrentDirectory(DirectoryPart(*chosen));
    const std::optional<ListFormat> format = FormatForExtension(*chosen);
    if (!format) {
        ShowError(parent, QStringLiteral("Das Format der Wortliste ergibt sich aus der Endung des "
                                         "Dateinamens: .csv für CSV, .txt für Anki-Text, .kvtml "
                                         "für KVTML."));
        return false;
    }
    const QString shown = QDir::toNativeSeparators(*chosen);
    const QFileInfo info(*chosen);
    const bool exists = info.exists() || info.isSymLink();
    if (exists &&
        !AskYesNo(parent,
                  QStringLiteral("Die Datei %1 existiert bereits. Überschreiben?").arg(shown)))
        return false;
    ListExportResult result;
    {
        const WaitCursor waitCursor;
        const auto pace = std::make_shared<RepaintPacer>();
        result =
            ExportWordList(vocabularyPath, *format, *chosen, exists, [pace](int) { (*pace)(); });
    }
    if (!result.ok()) {
        ShowError(parent, result.error);
        return false;
    }
    ShowNotice(parent, QStringLiteral("%1 Einträge wurden als %2 gespeichert:\n%3")
                           .arg(result.entries)
                           .arg(FormatName(*format), shown));
    return true;
}
