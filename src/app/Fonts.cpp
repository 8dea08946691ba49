#include "Fonts.h"

#include <QFont>
#include <QStringList>

void InstallFontSubstitutions()
{
    // Substitutes apply only when the named family is not installed.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("Nimbus Sans")});
    // "Standard Symbols PS" (Debian: fonts-urw-base35) has the symbol layout: "a" is alpha,
    // "b" beta and so on. Without it the field falls back to the plain sans font.
    QFont::insertSubstitutions(QStringLiteral("Symbol"), {QStringLiteral("Standard Symbols PS"),
                                                          QStringLiteral("DejaVu Sans")});
}
