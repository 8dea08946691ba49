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

namespace {

// The save dialog's file types, in the order of ListFormat.
const char* const kExportFilters[] = {"CSV (*.csv)", "Anki-Text (*.txt)", "KVTML (*.kvtml)"};
const char* const kExportExtensions[] = {".csv", ".txt", ".kvtml"};

}  // namespace

ImportCommandResult ImportWordListCommand(QWidget* parent, VocabularyFile* openFile)
{
    const std::optional<QString> chosen =
        ChooseFile(parent, QStringLiteral("Wortliste importieren"),
                   QStringLiteral("Wortlisten (*.csv *.txt *.tsv *.kvtml);;CSV (*.csv);;"
                                  "Anki-Text (*.txt *.tsv);;KVTML (*.kvtml);;Alle Dateien (*)"));
    if (!chosen)
        return {};
    ImportDialog dialog(parent);
    if (!dialog.setSource(*chosen, openFile) || dialog.exec() != QDialog::Accepted)
        return {};
    return {true, dialog.targetPath(), dialog.appended(), dialog.importedCounts().entries};
}

bool ExportWordListCommand(QWidget* parent, const QString& vocabularyPath)
{
    QStringList filters;
    for (const char* filter : kExportFilters)
        filters << QLatin1String(filter);
    QString selectedFilter;
    std::optional<QString> chosen =
        ChooseFile(parent, QStringLiteral("Wortliste exportieren"),
                   filters.join(QStringLiteral(";;")), FileChoice::MayBeNew, &selectedFilter);
    if (!chosen)
        return false;
    // The file type chooses the format; the name gets its extension unless it has one of
    // that format's already (".tsv" for Anki text, ".xml" for KVTML).
    std::optional<ListFormat> format;
    if (const qsizetype index = filters.indexOf(selectedFilter); index >= 0) {
        format = ListFormat(index);
        if (FormatForExtension(*chosen) != format)
            *chosen += QLatin1String(kExportExtensions[index]);
    } else {
        format = FormatForExtension(*chosen);
    }
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
