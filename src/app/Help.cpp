#include "Help.h"

#include "Platform.h"

#include <QDir>
#include <QFileInfo>

void ShowHelpFile(QWidget* parent)
{
    // The program's own directory, never the current one: the program may be started from
    // anywhere.
    const QString path =
        QDir(Platform::instance().programDirectory()).absoluteFilePath(Help::kHelpFileName);
    if (QFileInfo(path).isFile())
        Platform::instance().openUrl(path);
    else
        ShowError(parent, QStringLiteral("Hilfedatei nicht gefunden!"));
}

void OpenProductSite()
{
    Platform::instance().openUrl(Help::kProductSite);
}

void OpenAuthorSite()
{
    Platform::instance().openUrl(Help::kAuthorSite);
}
