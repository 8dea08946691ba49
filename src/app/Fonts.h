#pragma once

// The entry fields can show two fonts by name, "MS Sans Serif" and "Symbol" (the setting
// "Font" holds these names literally). Where a font of that name is missing, Qt is told
// which installed font stands in for it: a plain sans font for the first, and for "Symbol"
// a font that draws Latin letters as Greek ones, as the original does.
void InstallFontSubstitutions();
