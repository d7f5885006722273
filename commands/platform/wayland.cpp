#include "wayland.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "modules.h"
#include "waylandapi.h"

namespace platform::wayland {

Module *module(QString *why)
{
    static QString failure;
    static Module *const loaded = [] {
        auto entry = reinterpret_cast<ModuleEntry>(modules::entry(
            QStringLiteral("libvornix-wayland.so"), QStringLiteral(VORNIX_WAYLAND_BUILD_PATH), ModuleSymbol, &failure));
        return entry ? entry() : nullptr;
    }();
    if (why)
        *why = failure;
    return loaded;
}

bool Session::canType() const
{
    return m_module->canType();
}

bool Session::canListWindows() const
{
    return m_module->canListWindows();
}

Failure Session::type(const QList<keys::Stroke> &strokes)
{
    return m_module->type(strokes);
}

QList<Toplevel> Session::windows()
{
    return m_module->windows();
}

bool Session::activate(int index)
{
    return m_module->activate(index);
}

bool inSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

Failure noWayIn()
{
    return failed(DeviceUnavailable,
                  QStringLiteral("This Wayland desktop lets no program type into or activate the windows of "
                                 "another: it offers no virtual keyboard, no window list and no XWayland"));
}

std::optional<Failure> activateThroughDesktop(const QString &title)
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    if (Module *loaded = module(nullptr); loaded && loaded->kwinAvailable())
        return loaded->kwinActivate(title);
    if (desktop.contains(QLatin1String("GNOME"), Qt::CaseInsensitive))
        return failed(InvalidCall, QStringLiteral("GNOME offers no way for one program to activate the window of "
                                                  "another; only windows of X11 programs (XWayland) can be activated"));
    return std::nullopt;
}

Session *session()
{
    static Session *shared = [] () -> Session * {
        if (!inSession())
            return nullptr;
        Module *loaded = module(nullptr);
        return loaded && loaded->connected() ? new Session(loaded) : nullptr;
    }();
    return shared;
}

namespace {

// One message of sway's IPC (i3's protocol): the magic, the length, the type, the payload.
QByteArray swayRequest(const QByteArray &socketPath, uint32_t type, const QByteArray &payload)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return QByteArray();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(socketPath.size()) >= sizeof address.sun_path) {
        ::close(fd);
        return QByteArray();
    }
    std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    QByteArray reply;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
        QByteArray message("i3-ipc");
        const uint32_t header[2] = {uint32_t(payload.size()), type};
        message.append(reinterpret_cast<const char *>(header), sizeof header);
        message += payload;
        if (::write(fd, message.constData(), size_t(message.size())) == message.size()) {
            char head[14];
            if (::recv(fd, head, sizeof head, MSG_WAITALL) == sizeof head) {
                uint32_t length;
                std::memcpy(&length, head + 6, sizeof length);
                reply.resize(qsizetype(std::min<uint32_t>(length, 1u << 24)));
                if (::recv(fd, reply.data(), size_t(reply.size()), MSG_WAITALL) != reply.size())
                    reply.clear();
            }
        }
    }
    ::close(fd);
    return reply;
}

} // namespace

bool swayFocusProcess(const QList<qint64> &pids)
{
    const QByteArray socketPath = qgetenv("SWAYSOCK");
    if (socketPath.isEmpty())
        return false;
    constexpr uint32_t RunCommand = 0;
    for (qint64 pid : pids) {
        const QByteArray reply = swayRequest(socketPath, RunCommand, "[pid=" + QByteArray::number(pid) + "] focus");
        const QJsonArray results = QJsonDocument::fromJson(reply).array();
        if (!results.isEmpty() && results.first().toObject().value(QStringLiteral("success")).toBool())
            return true;
    }
    return false;
}

} // namespace platform::wayland
