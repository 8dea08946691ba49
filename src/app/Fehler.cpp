#include "Fehler.h"

#include "Platform.h"

#include <QApplication>

void ReportInternalError(const QString& code)
{
    Platform& platform = Platform::instance();
    platform.messageBox(QApplication::activeWindow(),
                        QStringLiteral("Es ist ein programminterner Fehler aufgetreten.\n"
                                       "Fehlercode: ") + code,
                        QStringLiteral("Fehler"), MsgButtons::Ok, MsgIcon::None);
    platform.quit();
}
