#pragma once

#include <QString>

// Reports a state that should never occur: "Es ist ein programminterner Fehler
// aufgetreten.\nFehlercode: <code>" (caption "Fehler", OK, no icon), then asks the program
// to end. Returns to the caller, which must not touch any file with the bad value.
void ReportInternalError(const QString& code);
