#include "app/Fonts.h"
#include "app/Forms.h"
#include "app/Start.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lernkompass"));
    QApplication::setOrganizationName(QStringLiteral("Kelp"));
    // Lets the desktop match the windows to the installed launcher and its icon.
    QApplication::setDesktopFileName(QStringLiteral("org.example.lernkompass"));

    // The whole interface is German, Qt's own buttons and dialogs included.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::German), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    InstallFontSubstitutions();
    CreateForms();
    Form1->setCommandLine(QApplication::arguments().mid(1));
    Form1->show();
    const int result = QApplication::exec();
    DestroyForms();
    return result;
}
