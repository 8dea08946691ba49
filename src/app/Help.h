#pragma once

#include "ProductInfo.h"

class QWidget;

// Opens the help page beside the program in the desktop's handler, or reports that it is
// missing ("Hilfedatei nicht gefunden!").
void ShowHelpFile(QWidget* parent);
// Open the two web sites; a desktop that cannot open them reports nothing.
void OpenProductSite();
void OpenAuthorSite();
