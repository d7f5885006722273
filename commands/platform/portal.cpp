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
    const wayland::ModuleApi *api = wayland::module(&why);
    if (!api)
        return failed(DeviceUnavailable, QStringLiteral("Keys cannot go through the desktop portal: ") + why);
    Failure result;
    api->portalType(&strokes, &result);
    return result;
}

} // namespace platform::portal
