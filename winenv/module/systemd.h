#pragma once

#include <QDBusObjectPath>
#include <QString>
#include <QVariant>

class QDBusInterface;

// Services as systemd runs them, over the system bus: what WMI's Win32_Service and
// Shell.Application's service members ask.
namespace winenv::systemd {

// systemd's manager; null on a system without it (or without a system bus).
QDBusInterface *manager();
// A property of a unit object (interface org.freedesktop.systemd1.Unit, ...Service).
QVariant unitProperty(const QDBusObjectPath &unit, const char *interface, const char *name);
// Whether the service ("cups" or "cups.service") is running.
bool isActive(const QString &service);
// Starts or stops the service; Windows' return codes: 0 done, 2 access denied, 5 the
// service cannot take the request (unknown, or no systemd).
int control(const QString &service, bool start);

} // namespace winenv::systemd
