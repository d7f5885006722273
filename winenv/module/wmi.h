#pragma once

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <vector>

#include "context.h"
#include "dispatch.h"

// WMI as scripts use it (GetObject("winmgmts:..."), WbemScripting.SWbemLocator), answered
// from the live Linux system: the classes of root\cimv2 that desktop and admin scripts
// read, WQL queries over them, and the few methods they call (Win32_Process.Create and
// Terminate, GetOwner, Win32_Service.StartService and StopService). The mapping of each
// class's properties to their Linux sources is in winenv/README.md.
namespace winenv::wmi {

// One instance: its properties in the order of the class, by name in any letter case.
struct Instance {
    QList<QPair<QString, vbs::Value>> properties;
    const vbs::Value *find(const QString &name) const;
};

// A class that is answered: its name, its properties (everything an instance may carry),
// the property that names an instance in a path, and how its instances are read.
struct ClassInfo {
    QString name;
    QStringList properties;
    QString key;
    std::function<bool(vbs::Context &cx, std::vector<Instance> &out)> instances;
    QStringList methods;
    QString description;
};

const ClassInfo *findClass(const QString &name);

// GetObject("winmgmts:...") and the WbemScripting objects.
vbs::Object *getObject(vbs::Context &cx, const QString &moniker);
vbs::Object *create(const QString &progId);

// A method of an instance (or of the class, with a null instance): the return value, or
// false with the error raised. Arguments may be written (GetOwner's user and domain).
bool callMethod(vbs::Context &cx, const ClassInfo &cls, const Instance *instance, const QString &method,
                vbs::Args args, vbs::Value &result);

// WMI's errors, as Windows raises them.
bool invalidClass(vbs::Context &cx, const QString &name);
bool invalidQuery(vbs::Context &cx, const QString &why);
bool notSupported(vbs::Context &cx, const QString &what);
bool accessDenied(vbs::Context &cx, const QString &why);

// Dates as WMI writes them: yyyymmddHHMMSS.mmmmmm+UUU, the offset in minutes.
QString wmiDate(const QDateTime &t);

} // namespace winenv::wmi
