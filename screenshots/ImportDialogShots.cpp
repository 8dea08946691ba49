#include "Screenshots.h"

#include "exchange/ImportDialog.h"
#include "support/TestSupport.h"

#include <QDir>

namespace {

// A list as a German spreadsheet saves it: Windows-1252, ";", a row of column names, one
// empty row and one field that is too long.
const QByteArray kList =
    "Lektion;Deutsch;Englisch;Synonyme;Bemerkung\r\n"
    "Familie;die Mutter;mother;mum;\r\nFamilie;der Vater;father;dad;\r\n"
    "Familie;die Eltern;parents;;nur Plural\r\n;;;;\r\n"
    "Haus;die Stra\xDF\x65;street;road;\r\nHaus;die T\xFCr;door;;\r\n"
    "Haus;das Fenster;window;;\r\nEssen;\x84"
    "Fr\xFChst\xFC"
    "ck\x93;breakfast;;" +
    QByteArray(90, 'x') + "\r\n";

const ShotRegistrar shots("ImportDialog", [](const QString& dir) {
    const QString files = NewTestDirectory();
    WriteBytes(files + QStringLiteral("/wortliste.csv"), kList);
    // Names relative to the working directory keep the picture the same from run to run.
    const QString workingDirectory = QDir::currentPath();
    QDir::setCurrent(files);
    ImportDialog dialog;
    dialog.setSource(QStringLiteral("wortliste.csv"), QStringLiteral("englisch.vok"), 128);
    SaveShot(&dialog, dir, QStringLiteral("ImportDialog-csv.png"));
    QDir::setCurrent(workingDirectory);
});

}  // namespace
