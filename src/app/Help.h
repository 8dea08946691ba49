#pragma once

#include <QString>

class QWidget;

// The program's addresses and its author, kept in one place. They lie under the reserved
// example domains until the project has addresses of its own.
namespace Help {
inline const QString kProductSite = QStringLiteral("https://example.org/");
inline const QString kAuthorSite = QStringLiteral("https://example.com/");
inline const QString kAuthorMail = QStringLiteral("autor@example.com");
inline const QString kAuthorName = QStringLiteral("Kelp");
// The help page, beside the program file.
inline const QString kHelpFileName = QStringLiteral("Liesmich.htm");
}  // namespace Help

// Opens the help page beside the program in the desktop's handler, or reports that it is
// missing ("Hilfedatei nicht gefunden!").
void ShowHelpFile(QWidget* parent);
// Open the two web sites; a desktop that cannot open them reports nothing.
void OpenProductSite();
void OpenAuthorSite();
