// The desktop portal's RemoteDesktop interface as a keyboard (GNOME, KDE), part of the
// Wayland module.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include "keysyms.h"
#include "waylandapi.h"

namespace {

using platform::Failure;
using platform::failed;

const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString DesktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString RemoteDesktop = QStringLiteral("org.freedesktop.portal.RemoteDesktop");
constexpr uint KeyboardDevice = 1;
constexpr uint PersistUntilRevoked = 2;
// How long the user may take over the consent dialog.
constexpr int ConsentWaitMs = 120000;

// The session with its consent, kept for the program's run.
class PortalSession : public QObject {
    Q_OBJECT
public:
    Failure type(const QList<platform::keys::Stroke> &strokes);

private slots:
    void response(uint code, const QVariantMap &results)
    {
        m_answered = true;
        m_code = code;
        m_results = results;
        emit answered();
    }

signals:
    void answered();

private:
    Failure start();
    // Calls a method that answers through a Request object's Response signal.
    Failure request(const QString &method, QList<QVariant> arguments, QVariantMap options, QVariantMap &results);
    Failure key(uint32_t keysym, bool down);
    uint version();
    static QString tokenFile()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
               + QStringLiteral("/vornix-coder/portal-restore-token");
    }

    QDBusConnection m_bus = QDBusConnection::sessionBus();
    QDBusObjectPath m_session;
    bool m_started = false;
    int m_requests = 0;
    bool m_answered = false;
    uint m_code = 0;
    QVariantMap m_results;
};

Failure portalError(const QString &what)
{
    return failed(platform::DeviceUnavailable, QStringLiteral("The desktop portal refused the keys: ") + what);
}

uint PortalSession::version()
{
    QDBusMessage get = QDBusMessage::createMethodCall(Service, DesktopPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << RemoteDesktop << QStringLiteral("version");
    const QDBusMessage reply = m_bus.call(get, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 1;
    return reply.arguments().first().value<QDBusVariant>().variant().toUInt();
}

Failure PortalSession::request(const QString &method, QList<QVariant> arguments, QVariantMap options, QVariantMap &results)
{
    // The Request object's path is known before the call: subscribe first, so that no
    // answer can come before we listen.
    const QString token = QStringLiteral("vornix%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_requests);
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    m_bus.connect(Service, path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"), this,
                  SLOT(response(uint, QVariantMap)));
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage call = QDBusMessage::createMethodCall(Service, DesktopPath, RemoteDesktop, method);
    arguments << options;
    call.setArguments(arguments);
    m_answered = false;
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, 10000);
    Failure f;
    if (reply.type() == QDBusMessage::ErrorMessage) {
        f = portalError(reply.errorMessage());
    } else {
        QEventLoop loop;
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(this, &PortalSession::answered, &loop, &QEventLoop::quit);
        timeout.start(ConsentWaitMs);
        if (!m_answered)
            loop.exec();
        if (!m_answered)
            f = portalError(QStringLiteral("no answer to %1").arg(method));
        else if (m_code == 1)
            f = portalError(QStringLiteral("the user did not allow it"));
        else if (m_code != 0)
            f = portalError(QStringLiteral("%1 failed").arg(method));
        results = m_results;
    }
    m_bus.disconnect(Service, path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"), this,
                     SLOT(response(uint, QVariantMap)));
    return f;
}

Failure PortalSession::start()
{
    if (!m_bus.isConnected())
        return portalError(QStringLiteral("there is no session bus"));
    QVariantMap results;
    Failure f = request(QStringLiteral("CreateSession"), {},
                        {{QStringLiteral("session_handle_token"), QStringLiteral("vornix%1").arg(QCoreApplication::applicationPid())}},
                        results);
    if (f)
        return f;
    m_session = QDBusObjectPath(results.value(QStringLiteral("session_handle")).toString());
    QVariantMap devices{{QStringLiteral("types"), KeyboardDevice}};
    const bool persists = version() >= 2; // restore tokens came with version 2
    if (persists) {
        devices.insert(QStringLiteral("persist_mode"), PersistUntilRevoked);
        QFile saved(tokenFile());
        if (saved.open(QIODevice::ReadOnly))
            devices.insert(QStringLiteral("restore_token"), QString::fromUtf8(saved.readAll().trimmed()));
    }
    if ((f = request(QStringLiteral("SelectDevices"), {QVariant::fromValue(m_session)}, devices, results)))
        return f;
    if ((f = request(QStringLiteral("Start"), {QVariant::fromValue(m_session), QString()}, {}, results)))
        return f;
    if (!(results.value(QStringLiteral("devices")).toUInt() & KeyboardDevice))
        return portalError(QStringLiteral("no keyboard was granted"));
    const QString token = results.value(QStringLiteral("restore_token")).toString();
    if (persists && !token.isEmpty()) {
        QDir().mkpath(QFileInfo(tokenFile()).path());
        QFile saved(tokenFile());
        if (saved.open(QIODevice::WriteOnly | QIODevice::Truncate))
            saved.write(token.toUtf8());
    }
    m_started = true;
    return Failure();
}

Failure PortalSession::key(uint32_t keysym, bool down)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, DesktopPath, RemoteDesktop,
                                                       QStringLiteral("NotifyKeyboardKeysym"));
    call << QVariant::fromValue(m_session) << QVariantMap() << int(keysym) << uint(down ? 1 : 0);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, 5000);
    return reply.type() == QDBusMessage::ErrorMessage ? portalError(reply.errorMessage()) : Failure();
}

Failure PortalSession::type(const QList<platform::keys::Stroke> &strokes)
{
    if (!m_started) {
        if (Failure f = start())
            return f;
    }
    for (const platform::keys::Stroke &s : strokes) {
        const uint32_t sym = platform::keys::keysymOf(s);
        if (!sym)
            return failed(platform::InvalidCall);
        QList<uint32_t> held;
        if (s.modifiers & platform::keys::Control)
            held << 0xffe3; // Control_L
        if (s.modifiers & platform::keys::Alt)
            held << 0xffe9; // Alt_L
        if (s.modifiers & platform::keys::Shift)
            held << 0xffe1; // Shift_L
        for (uint32_t m : held)
            if (Failure f = key(m, true))
                return f;
        if (Failure f = key(sym, true))
            return f;
        if (Failure f = key(sym, false))
            return f;
        for (uint32_t m : held)
            if (Failure f = key(m, false))
                return f;
    }
    return Failure();
}

} // namespace

namespace platform::wayland {

Failure portalType(const QList<keys::Stroke> &strokes)
{
    static PortalSession *session = new PortalSession; // one consent per program run
    return session->type(strokes);
}

} // namespace platform::wayland

#include "remotedesktop.moc"
