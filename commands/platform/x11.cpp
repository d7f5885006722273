#include "x11.h"

#include <memory>

#include "modules.h"

namespace platform::x11 {

namespace {
QString &moduleFailure()
{
    static QString why;
    return why;
}
} // namespace

Connection *connection()
{
    static const std::unique_ptr<Connection> shared([]() -> Connection * {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            return nullptr;
        auto connect = reinterpret_cast<ConnectEntry>(modules::entry(
            QStringLiteral("libvornix-x11.so"), QStringLiteral(VORNIX_X11_BUILD_PATH), ModuleSymbol, &moduleFailure()));
        return connect ? connect() : nullptr;
    }());
    return shared.get();
}

Failure noDisplay()
{
    if (!moduleFailure().isEmpty())
        return failed(DeviceUnavailable, QStringLiteral("Keystrokes and windows are not available: ") + moduleFailure());
    return failed(DeviceUnavailable,
                  QStringLiteral("No X display is available: keystrokes and windows need an X11 "
                                 "session (or XWayland), and native Wayland windows cannot be reached"));
}

} // namespace platform::x11
