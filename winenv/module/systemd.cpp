#include "systemd.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

namespace winenv::systemd {

namespace {

const QString Service = QStringLiteral("org.freedesktop.systemd1");

QString unitName(const QString &service)
{
    return service.endsWith(QLatin1String(".service")) ? service : service + QLatin1String(".service");
}

} // namespace

QDBusInterface *manager()
{
    static QDBusInterface *manager = [] {
        auto *m = new QDBusInterface(Service, QStringLiteral("/org/freedesktop/systemd1"),
                                     QStringLiteral("org.freedesktop.systemd1.Manager"), QDBusConnection::systemBus());
        m->setTimeout(5000);
        return m;
    }();
    return manager->isValid() ? manager : nullptr;
}

QVariant unitProperty(const QDBusObjectPath &unit, const char *interface, const char *name)
{
    QDBusInterface properties(Service, unit.path(), QStringLiteral("org.freedesktop.DBus.Properties"), QDBusConnection::systemBus());
    const QDBusReply<QVariant> reply = properties.call(QStringLiteral("Get"), QString::fromLatin1(interface), QString::fromLatin1(name));
    return reply.isValid() ? reply.value() : QVariant();
}

bool isActive(const QString &service)
{
    QDBusInterface *m = manager();
    if (!m)
        return false;
    const QDBusReply<QDBusObjectPath> unit = m->call(QStringLiteral("GetUnit"), unitName(service));
    return unit.isValid()
           && unitProperty(unit.value(), "org.freedesktop.systemd1.Unit", "ActiveState").toString() == QLatin1String("active");
}

int control(const QString &service, bool start)
{
    QDBusInterface *m = manager();
    if (!m)
        return 5;
    const QDBusMessage reply = m->call(start ? QStringLiteral("StartUnit") : QStringLiteral("StopUnit"), unitName(service),
                                       QStringLiteral("replace"));
    if (reply.type() != QDBusMessage::ErrorMessage)
        return 0;
    const QString error = reply.errorName();
    return error.contains(QLatin1String("AccessDenied")) || error.contains(QLatin1String("InteractiveAuthorization")) ? 2 : 5;
}

} // namespace winenv::systemd
