#include "app/SessionBus.h"

#include <QByteArray>
#include <QtGlobal>
#include <sys/stat.h>

void KeepTheSessionBusFromAutolaunching()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (!runtime.isEmpty() && ::stat((runtime + "/bus").constData(), &info) == 0 && S_ISSOCK(info.st_mode))
        return; // the library finds the user's bus there by itself
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}
