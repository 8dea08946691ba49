#include "Help.h"

#include "Platform.h"

#include <QDir>
#include <QFileInfo>

void ShowHelpFile(QWidget* parent)
{
    // The program's own directory, never the current one: the program may be started from
    // anywhere.
    const QString path =
        QDir(Platform::instance().programDirectory()).absoluteFilePath(Product::kHelpFileName);
    if (QFileInfo(path).isFile())
        Platform::instance().openUrl(path);
    else
        ShowError(parent, QStringLiteral("Hilfedatei nicht gefunden!"));
}

void OpenProductSite()
{
    Platform::instance().openUrl(Product::kSite);
}

void OpenAuthorSite()
{
    Platform::instance().openUrl(Product::kAuthorSite);
}
