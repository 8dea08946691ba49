#pragma once

#include <QString>

// The program's addresses and its author, in one place for the help menu, the about box and
// the files the program writes (the converter's remarks, the HTML list's footer). They lie
// under the reserved example domains until the project has addresses of its own.
namespace Product {
inline const QString kSite = QStringLiteral("https://example.org/");
inline const QString kHost = QStringLiteral("example.org");
inline const QString kAuthorSite = QStringLiteral("https://example.com/");
inline const QString kAuthorMail = QStringLiteral("autor@example.com");
inline const QString kAuthorName = QStringLiteral("Kelp");
// The help page, beside the program file.
inline const QString kHelpFileName = QStringLiteral("Liesmich.htm");
}  // namespace Product
