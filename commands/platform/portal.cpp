#include "portal.h"

#include <QFile>

#include "waylandapi.h"

namespace platform::portal {

bool reachable()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFile::exists(QString::fromLocal8Bit(runtime) + QStringLiteral("/bus"));
}

Failure type(const QList<keys::Stroke> &strokes)
{
    QString why;
    wayland::Module *loaded = wayland::module(&why);
    if (!loaded)
        return failed(DeviceUnavailable, QStringLiteral("Keys cannot go through the desktop portal: ") + why);
    return loaded->portalType(strokes);
}

} // namespace platform::portal
