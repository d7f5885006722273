#include "network.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "convert.h"
#include "shellenv.h"

using namespace vbs;

namespace winenv {

namespace {

// What Windows answers for a request it cannot carry out: ERROR_NOT_SUPPORTED.
constexpr int32_t NotSupported = int32_t(0x80070032);

class WshCollection : public Object {
public:
    WshCollection(const QStringList &items, NameLookup byName) : m_items(items), m_byName(std::move(byName)) {}
    QString typeName() const override { return QStringLiteral("IWshCollection"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Item", "Count", "Length"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        if (id == 2 || id == 3) {
            result = Value::lng(int32_t(m_items.size()));
            return true;
        }
        Value key;
        if (args.count != 1 || !valueOf(cx, args[0], key))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (m_byName && !key.isNumeric()) {
            QString name;
            if (!toText(cx, key, name))
                return false;
            result = Value::string(m_byName(name));
            return true;
        }
        int32_t i;
        if (!toLong(cx, key, i))
            return false;
        if (i < 0 || i >= m_items.size())
            return cx.raise(err::SubscriptOutOfRange);
        result = Value::string(m_items[i]);
        return true;
    }
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        for (const QString &item : m_items)
            items.push_back(Value::string(item));
        return true;
    }

private:
    QStringList m_items;
    NameLookup m_byName;
};

// Network shares as Windows pairs them: the local name (here the mount point), then the
// remote name (\\server\share, or server:/path for NFS as written in the mount table).
QStringList networkDrives()
{
    static const QStringList networkTypes{"cifs", "smb3", "smbfs", "nfs", "nfs4", "fuse.sshfs", "9p"};
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    QStringList pairs;
    if (!mounts.open(QIODevice::ReadOnly))
        return pairs;
    for (const QByteArray &line : mounts.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3 || !networkTypes.contains(QString::fromLatin1(fields[2])))
            continue;
        // The mount table escapes blanks as \040.
        const auto unescape = [](QByteArray field) { return QString::fromLocal8Bit(field.replace("\\040", " ")); };
        QString remote = unescape(fields[0]);
        if (remote.startsWith(QLatin1String("//")))
            remote.replace(QLatin1Char('/'), QLatin1Char('\\'));
        pairs << unescape(fields[1]) << remote;
    }
    return pairs;
}

// Printers as Windows pairs them: the port (here the device URI), then the printer's name.
QStringList printers()
{
    QStringList pairs;
    const QString lpstat = QStandardPaths::findExecutable(QStringLiteral("lpstat"));
    if (lpstat.isEmpty())
        return pairs;
    QProcess process;
    process.start(lpstat, {QStringLiteral("-v")});
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
        return pairs;
    }
    // "device for NAME: URI"
    for (const QString &line : QString::fromLocal8Bit(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QLatin1String(": "));
        if (!line.startsWith(QLatin1String("device for ")) || colon < 0)
            continue;
        pairs << line.mid(colon + 2).trimmed() << line.mid(11, colon - 11);
    }
    return pairs;
}

enum Member {
    UserName = 1, UserDomain, ComputerName, UserProfile, Organization, Site, EnumNetworkDrives, EnumPrinterConnections,
    MapNetworkDrive, RemoveNetworkDrive, AddPrinterConnection, AddWindowsPrinterConnection, RemovePrinterConnection,
    SetDefaultPrinter
};

} // namespace

Object *newWshCollection(const QStringList &items, NameLookup byName)
{
    return new WshCollection(items, std::move(byName));
}

int Network::memberId(const QString &name)
{
    static const MemberTable members{"UserName", "UserDomain", "ComputerName", "UserProfile", "Organization", "Site",
                                     "EnumNetworkDrives", "EnumPrinterConnections", "MapNetworkDrive",
                                     "RemoveNetworkDrive", "AddPrinterConnection", "AddWindowsPrinterConnection",
                                     "RemovePrinterConnection", "SetDefaultPrinter"};
    return members.id(name);
}

bool Network::invoke(Context &cx, int id, Invoke kind, Args, Value &result)
{
    if (kind & (InvokeLet | InvokeSet))
        return cx.raise(err::NoSuchMember);
    switch (id) {
    case UserName: result = Value::string(shellenv::userName()); return true;
    case UserDomain:
    case ComputerName: result = Value::string(shellenv::computerName()); return true;
    case UserProfile: result = Value::string(*shellenv::variable(QStringLiteral("USERPROFILE"))); return true;
    case Organization:
    case Site: result = Value::string(QString()); return true;
    case EnumNetworkDrives: result = Value::object(new WshCollection(networkDrives(), {})); return true;
    case EnumPrinterConnections: result = Value::object(new WshCollection(printers(), {})); return true;
    case MapNetworkDrive:
    case RemoveNetworkDrive:
        return cx.raise(NotSupported, QStringLiteral("Network shares are mounted with the system's own tools here "
                                                     "(the file manager, gio mount or mount.cifs), not by scripts"));
    case AddPrinterConnection:
    case AddWindowsPrinterConnection:
    case RemovePrinterConnection:
    case SetDefaultPrinter:
        return cx.raise(NotSupported, QStringLiteral("Printers are set up with the system's printer settings (CUPS) "
                                                     "here, not by scripts"));
    default: return cx.raise(err::NoSuchMember);
    }
}

} // namespace winenv
