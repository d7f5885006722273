// The classes of root\cimv2 that are answered, each from its Linux source (the table per
// class is in winenv/README.md), and their methods.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QSysInfo>
#include <QThread>
#include <QTimeZone>
#include <cerrno>
#include <csignal>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include "convert.h"
#include "objects/filesystem.h"
#include "processes.h"
#include "systemd.h"
#include "wmi.h"

using namespace vbs;

namespace winenv::wmi {

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString readLine(const QString &path)
{
    return QString::fromUtf8(readFile(path)).trimmed();
}

Value text(const QString &s) { return s.isNull() ? Value::null() : Value::string(s); }
Value optionalText(const QString &s) { return s.isEmpty() ? Value::null() : Value::string(s); }
Value uint64(quint64 n) { return Value::string(QString::number(n)); } // WMI's uint64: text in VBScript
Value number(qint64 n) { return Value::lng(int32_t(n)); }

Value stringArray(const QStringList &items)
{
    return Value::array(ArrayData::fromStrings(items));
}

QString hostName() { return QHostInfo::localHostName().section(QLatin1Char('.'), 0, 0).toUpper(); }

QString userName()
{
    const passwd *pw = getpwuid(getuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : qEnvironmentVariable("USER");
}

QHash<QString, QString> keyValues(const QString &path, QChar separator)
{
    QHash<QString, QString> out;
    for (const QString &line : QString::fromUtf8(readFile(path)).split(QLatin1Char('\n'))) {
        const qsizetype at = line.indexOf(separator);
        if (at <= 0)
            continue;
        QString value = line.mid(at + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        out.insert(line.left(at).trimmed(), value);
    }
    return out;
}

// /proc/meminfo in kilobytes.
qint64 memInfo(const char *name)
{
    return keyValues(QStringLiteral("/proc/meminfo"), QLatin1Char(':')).value(QLatin1String(name)).section(QLatin1Char(' '), 0, 0).toLongLong();
}

QDateTime bootTime()
{
    for (const QByteArray &line : readFile(QStringLiteral("/proc/stat")).split('\n'))
        if (line.startsWith("btime "))
            return QDateTime::fromSecsSinceEpoch(line.mid(6).trimmed().toLongLong());
    return QDateTime();
}

QString dmi(const char *name)
{
    return readLine(QStringLiteral("/sys/class/dmi/id/") + QLatin1String(name));
}

// ---- Win32_Process ------------------------------------------------------------------------

struct ProcessInfo {
    qint64 pid = 0, ppid = 0, session = 0, threads = 0, nice = 0;
    quint64 rssBytes = 0, virtualBytes = 0, userTicks = 0, systemTicks = 0, startTicks = 0;
    char state = '?';
    QString name, commandLine, executable;
    uid_t uid = 0;
};

std::optional<ProcessInfo> readProcess(qint64 pid)
{
    const QString dir = QStringLiteral("/proc/%1/").arg(pid);
    const QByteArray stat = readFile(dir + QLatin1String("stat"));
    const qsizetype open = stat.indexOf('('), close = stat.lastIndexOf(')');
    if (open < 0 || close < open)
        return std::nullopt;
    ProcessInfo p;
    p.pid = pid;
    const QString comm = QString::fromUtf8(stat.mid(open + 1, close - open - 1));
    const QList<QByteArray> f = stat.mid(close + 2).split(' '); // f[0] is field 3, the state
    if (f.size() < 22)
        return std::nullopt;
    p.state = f[0].isEmpty() ? '?' : f[0][0];
    p.ppid = f[1].toLongLong();
    p.session = f[3].toLongLong();
    p.userTicks = f[11].toULongLong();
    p.systemTicks = f[12].toULongLong();
    p.nice = f[16].toLongLong();
    p.threads = f[17].toLongLong();
    p.startTicks = f[19].toULongLong();
    p.virtualBytes = f[20].toULongLong();
    p.rssBytes = f[21].toULongLong() * quint64(sysconf(_SC_PAGESIZE));
    QByteArray cmdline = readFile(dir + QLatin1String("cmdline"));
    if (cmdline.endsWith('\0'))
        cmdline.chop(1);
    QStringList args;
    for (const QByteArray &a : cmdline.split('\0')) {
        const QString s = QString::fromLocal8Bit(a);
        args << (s.contains(QLatin1Char(' ')) ? QLatin1Char('"') + s + QLatin1Char('"') : s);
    }
    p.commandLine = cmdline.isEmpty() ? QString() : args.join(QLatin1Char(' '));
    p.executable = QFileInfo(dir + QLatin1String("exe")).symLinkTarget();
    // The program's name: its file's, else the first word it was started with, else comm.
    const QString first = cmdline.isEmpty() ? QString() : QString::fromLocal8Bit(cmdline.split('\0').first());
    if (!p.executable.isEmpty())
        p.name = QFileInfo(p.executable).fileName();
    else if (!first.isEmpty() && !first.contains(QLatin1Char(' ')) && !first.contains(QLatin1Char(':')))
        p.name = QFileInfo(first).fileName();
    else
        p.name = comm;
    if (p.name.endsWith(QLatin1String(" (deleted)")))
        p.name.chop(10);
    for (const QByteArray &line : readFile(dir + QLatin1String("status")).split('\n'))
        if (line.startsWith("Uid:"))
            p.uid = uid_t(line.mid(4).trimmed().split('\t').first().toUInt());
    return p;
}

const QStringList ProcessProperties{
    "Caption", "CommandLine", "CreationClassName", "CreationDate", "CSName", "Description", "ExecutablePath",
    "Handle", "HandleCount", "KernelModeTime", "Name", "OSName", "ParentProcessId", "Priority", "ProcessId",
    "SessionId", "Status", "ThreadCount", "UserModeTime", "VirtualSize", "WindowsVersion", "WorkingSetSize",
    "PageFileUsage", "PeakWorkingSetSize", "ExecutionState", "TerminationDate"};

bool processes(Context &cx, std::vector<Instance> &out)
{
    const QDateTime boot = bootTime();
    const long ticks = sysconf(_SC_CLK_TCK);
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        const std::optional<ProcessInfo> p = readProcess(pid);
        if (!p || p->state == 'Z')
            continue;
        if (!cx.spend(256))
            return false;
        const int priority = p->nice < 0 ? 13 : p->nice > 0 ? 4 : 8; // high, idle or normal class
        Instance row;
        row.properties = {
            {"Caption", text(p->name)},
            {"CommandLine", optionalText(p->commandLine)},
            {"CreationClassName", text("Win32_Process")},
            {"CreationDate", boot.isValid() ? text(wmiDate(boot.addMSecs(qint64(p->startTicks) * 1000 / ticks))) : Value::null()},
            {"CSName", text(hostName())},
            {"Description", text(p->name)},
            {"ExecutablePath", optionalText(p->executable)},
            {"Handle", text(QString::number(p->pid))},
            {"HandleCount", number(QDir(QStringLiteral("/proc/%1/fd").arg(p->pid)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size())},
            {"KernelModeTime", uint64(p->systemTicks * 10000000ull / quint64(ticks))},
            {"Name", text(p->name)},
            {"OSName", text(QSysInfo::prettyProductName())},
            {"ParentProcessId", number(p->ppid)},
            {"Priority", number(priority)},
            {"ProcessId", number(p->pid)},
            {"SessionId", number(p->session)},
            {"Status", Value::null()},
            {"ThreadCount", number(p->threads)},
            {"UserModeTime", uint64(p->userTicks * 10000000ull / quint64(ticks))},
            {"VirtualSize", uint64(p->virtualBytes)},
            {"WindowsVersion", text(QSysInfo::kernelVersion())},
            {"WorkingSetSize", uint64(p->rssBytes)},
            {"PageFileUsage", Value::null()},
            {"PeakWorkingSetSize", Value::null()},
            {"ExecutionState", Value::null()},
            {"TerminationDate", Value::null()},
        };
        out.push_back(std::move(row));
    }
    return true;
}

bool gone(qint64 pid)
{
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return true;
    const std::optional<ProcessInfo> p = readProcess(pid);
    return !p || p->state == 'Z';
}

// Terminate: asked to end (SIGTERM), then ended (SIGKILL) if it has not within two seconds.
bool terminate(Context &cx, const Instance &row, Value &result)
{
    const qint64 pid = row.find(QStringLiteral("ProcessId"))->asLong();
    if (::kill(pid_t(pid), SIGTERM) != 0) {
        result = Value::lng(errno == EPERM ? 2 : errno == ESRCH ? 0 : 8);
        return true;
    }
    QElapsedTimer waited;
    waited.start();
    bool ended = false;
    if (!cx.waitUntil([&](int slice) {
            for (int t = 0; t < slice && !(ended = gone(pid)); t += 10)
                QThread::msleep(10);
            return ended || waited.elapsed() > 2000;
        }))
        return false;
    if (!ended)
        ::kill(pid_t(pid), SIGKILL);
    result = Value::lng(0);
    return true;
}

bool getOwner(Context &, const Instance &row, Args a, Value &result)
{
    const qint64 pid = row.find(QStringLiteral("ProcessId"))->asLong();
    const std::optional<ProcessInfo> p = readProcess(pid);
    if (!p) {
        result = Value::lng(8);
        return true;
    }
    const passwd *pw = getpwuid(p->uid);
    if (a.count > 0)
        a[0] = Value::string(pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(p->uid));
    if (a.count > 1)
        a[1] = Value::string(hostName());
    result = Value::lng(0);
    return true;
}

// Win32_Process.Create(CommandLine, CurrentDirectory, ProcessStartupInformation, ProcessId)
bool createProcess(Context &cx, Args a, Value &result)
{
    QString commandLine, directory;
    if (a.count < 1 || !toText(cx, a[0], commandLine))
        return cx.raiseUnlessPending(err::WrongArgs);
    if (a.has(1) && !a[1].isNull() && !toText(cx, a[1], directory))
        return false;
    const QStringList words = platform::processes::splitCommandLine(commandLine);
    const QStringList program = words.isEmpty() ? QStringList() : platform::processes::resolveProgram(words.first());
    if (program.isEmpty()) {
        result = Value::lng(9); // path not found
        return true;
    }
    if (!directory.isEmpty() && !QFileInfo(directory).isDir()) {
        result = Value::lng(21); // invalid parameter
        return true;
    }
    qint64 pid = 0;
    if (!QProcess::startDetached(program.first(), program.mid(1) + words.mid(1), directory, &pid)) {
        result = Value::lng(8);
        return true;
    }
    if (a.count > 3)
        a[3] = Value::lng(int32_t(pid));
    result = Value::lng(0);
    return true;
}

// ---- Win32_OperatingSystem, Win32_ComputerSystem ---------------------------------------------

const QStringList OperatingSystemProperties{
    "BootDevice", "BuildNumber", "Caption", "CountryCode", "CSName", "CurrentTimeZone", "FreePhysicalMemory",
    "FreeVirtualMemory", "InstallDate", "LastBootUpTime", "LocalDateTime", "Locale", "Manufacturer", "Name",
    "NumberOfProcesses", "NumberOfUsers", "OSArchitecture", "OSLanguage", "OSType", "Primary", "SerialNumber",
    "ServicePackMajorVersion", "ServicePackMinorVersion", "Status", "SystemDirectory", "SystemDrive",
    "TotalVirtualMemorySize", "TotalVisibleMemorySize", "Version", "WindowsDirectory", "RegisteredUser", "Organization"};

bool operatingSystem(Context &, std::vector<Instance> &out)
{
    const QHash<QString, QString> release = keyValues(QStringLiteral("/etc/os-release"), QLatin1Char('='));
    utsname u{};
    uname(&u);
    const QString caption = release.value(QStringLiteral("PRETTY_NAME"), QSysInfo::prettyProductName());
    const qint64 memTotal = memInfo("MemTotal"), memAvailable = memInfo("MemAvailable");
    const qint64 swapTotal = memInfo("SwapTotal"), swapFree = memInfo("SwapFree");
    const QDateTime now = QDateTime::currentDateTime();
    int processCount = 0;
    for (const QString &e : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        processCount += e.front().isDigit() ? 1 : 0;
    Instance row;
    row.properties = {
        {"BootDevice", Value::null()},
        {"BuildNumber", text(QString::fromLatin1(u.release).section(QLatin1Char('-'), 0, 0))},
        {"Caption", text(caption)},
        {"CountryCode", Value::null()},
        {"CSName", text(hostName())},
        {"CurrentTimeZone", number(now.offsetFromUtc() / 60)},
        {"FreePhysicalMemory", uint64(quint64(memAvailable))},
        {"FreeVirtualMemory", uint64(quint64(memAvailable + swapFree))},
        {"InstallDate", Value::null()},
        {"LastBootUpTime", bootTime().isValid() ? text(wmiDate(bootTime())) : Value::null()},
        {"LocalDateTime", text(wmiDate(now))},
        {"Locale", Value::null()},
        {"Manufacturer", text(release.value(QStringLiteral("NAME"), QStringLiteral("Linux")))},
        {"Name", text(caption + QStringLiteral("|/|"))},
        {"NumberOfProcesses", number(processCount)},
        {"NumberOfUsers", Value::null()},
        {"OSArchitecture", text(QSysInfo::currentCpuArchitecture().contains(QLatin1String("64")) ? QStringLiteral("64-bit") : QStringLiteral("32-bit"))},
        {"OSLanguage", Value::null()},
        {"OSType", number(36)}, // CIM's code for Linux
        {"Primary", Value::boolean(true)},
        {"SerialNumber", Value::null()},
        {"ServicePackMajorVersion", number(0)},
        {"ServicePackMinorVersion", number(0)},
        {"Status", text("OK")},
        {"SystemDirectory", text("/usr/bin")},
        {"SystemDrive", text("/")},
        {"TotalVirtualMemorySize", uint64(quint64(memTotal + swapTotal))},
        {"TotalVisibleMemorySize", uint64(quint64(memTotal))},
        {"Version", text(QString::fromLatin1(u.release))},
        {"WindowsDirectory", Value::null()},
        {"RegisteredUser", text(userName())},
        {"Organization", Value::null()},
    };
    out.push_back(std::move(row));
    return true;
}

int logicalProcessors() { return int(sysconf(_SC_NPROCESSORS_ONLN)); }

struct Cpu {
    QString model, vendor;
    int cores = 0, siblings = 0;
    double mhz = 0;
};

std::vector<Cpu> packages()
{
    std::vector<Cpu> out;
    QHash<QString, int> seen;
    Cpu current;
    QString physical;
    const auto flush = [&] {
        if (current.model.isEmpty())
            return;
        if (!seen.contains(physical)) {
            seen.insert(physical, int(out.size()));
            out.push_back(current);
        }
        current = Cpu();
        physical.clear();
    };
    for (const QString &line : QString::fromUtf8(readFile(QStringLiteral("/proc/cpuinfo"))).split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty()) {
            flush();
            continue;
        }
        const QString key = line.section(QLatin1Char(':'), 0, 0).trimmed(), value = line.section(QLatin1Char(':'), 1).trimmed();
        if (key == QLatin1String("model name")) current.model = value;
        else if (key == QLatin1String("vendor_id")) current.vendor = value;
        else if (key == QLatin1String("cpu cores")) current.cores = value.toInt();
        else if (key == QLatin1String("siblings")) current.siblings = value.toInt();
        else if (key == QLatin1String("cpu MHz")) current.mhz = value.toDouble();
        else if (key == QLatin1String("physical id")) physical = value;
    }
    flush();
    return out;
}

const QStringList ComputerSystemProperties{
    "Caption", "Description", "DNSHostName", "Domain", "Manufacturer", "Model", "Name", "NumberOfLogicalProcessors",
    "NumberOfProcessors", "PartOfDomain", "PrimaryOwnerName", "Status", "SystemType", "TotalPhysicalMemory",
    "UserName", "Workgroup"};

bool computerSystem(Context &, std::vector<Instance> &out)
{
    const QString fqdn = QHostInfo::localHostName();
    const QString domain = fqdn.section(QLatin1Char('.'), 1);
    Instance row;
    row.properties = {
        {"Caption", text(hostName())},
        {"Description", text("AT/AT COMPATIBLE")},
        {"DNSHostName", text(fqdn.section(QLatin1Char('.'), 0, 0))},
        {"Domain", text(domain.isEmpty() ? QStringLiteral("WORKGROUP") : domain)},
        {"Manufacturer", optionalText(dmi("sys_vendor"))},
        {"Model", optionalText(dmi("product_name"))},
        {"Name", text(hostName())},
        {"NumberOfLogicalProcessors", number(logicalProcessors())},
        {"NumberOfProcessors", number(std::max<int>(1, int(packages().size())))},
        {"PartOfDomain", Value::boolean(!domain.isEmpty())},
        {"PrimaryOwnerName", text(userName())},
        {"Status", text("OK")},
        {"SystemType", text(QSysInfo::currentCpuArchitecture() == QLatin1String("x86_64") ? QStringLiteral("x64-based PC")
                            : QSysInfo::currentCpuArchitecture().startsWith(QLatin1String("arm")) ? QStringLiteral("ARM-based PC")
                            : QStringLiteral("X86-based PC"))},
        {"TotalPhysicalMemory", uint64(quint64(memInfo("MemTotal")) * 1024)},
        {"UserName", text(hostName() + QLatin1Char('\\') + userName())},
        {"Workgroup", domain.isEmpty() ? text("WORKGROUP") : Value::null()},
    };
    out.push_back(std::move(row));
    return true;
}

const QStringList ProcessorProperties{
    "AddressWidth", "Architecture", "Caption", "CurrentClockSpeed", "DataWidth", "Description", "DeviceID",
    "LoadPercentage", "Manufacturer", "MaxClockSpeed", "Name", "NumberOfCores", "NumberOfLogicalProcessors",
    "ProcessorId", "SocketDesignation", "Status"};

bool processors(Context &, std::vector<Instance> &out)
{
    const std::vector<Cpu> cpus = packages();
    const double maxMhz = readLine(QStringLiteral("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq")).toDouble() / 1000;
    const bool x64 = QSysInfo::currentCpuArchitecture() == QLatin1String("x86_64");
    for (size_t i = 0; i < cpus.size(); ++i) {
        const Cpu &c = cpus[i];
        Instance row;
        row.properties = {
            {"AddressWidth", number(QSysInfo::WordSize)},
            {"Architecture", number(x64 ? 9 : 0)},
            {"Caption", text(c.model)},
            {"CurrentClockSpeed", number(qRound(c.mhz))},
            {"DataWidth", number(QSysInfo::WordSize)},
            {"Description", text(c.model)},
            {"DeviceID", text(QStringLiteral("CPU%1").arg(i))},
            {"LoadPercentage", Value::null()},
            {"Manufacturer", optionalText(c.vendor)},
            {"MaxClockSpeed", number(qRound(maxMhz > 0 ? maxMhz : c.mhz))},
            {"Name", text(c.model)},
            {"NumberOfCores", number(c.cores > 0 ? c.cores : logicalProcessors() / std::max<int>(1, int(cpus.size())))},
            {"NumberOfLogicalProcessors", number(c.siblings > 0 ? c.siblings : logicalProcessors() / std::max<int>(1, int(cpus.size())))},
            {"ProcessorId", Value::null()},
            {"SocketDesignation", Value::null()},
            {"Status", text("OK")},
        };
        out.push_back(std::move(row));
    }
    return true;
}

// ---- disks -----------------------------------------------------------------------------------

int diskType(const QStorageInfo &v)
{
    const QByteArray type = v.fileSystemType();
    if (type.startsWith("nfs") || type.startsWith("cifs") || type.startsWith("smb") || type.startsWith("fuse.sshfs"))
        return 4; // network drive
    if (type == "iso9660" || type == "udf")
        return 5; // compact disc
    if (type == "tmpfs" || type == "ramfs")
        return 6; // RAM disk
    return v.device().startsWith("/dev/sd") && QFileInfo(QStringLiteral("/sys/block/%1/removable")
                                                             .arg(QString::fromLatin1(v.device().mid(5, 3)))).exists()
                   && readLine(QStringLiteral("/sys/block/%1/removable").arg(QString::fromLatin1(v.device().mid(5, 3)))) == QLatin1String("1")
               ? 2 : 3;
}

const QStringList LogicalDiskProperties{
    "Caption", "Description", "DeviceID", "DriveType", "FileSystem", "FreeSpace", "MediaType", "Name", "ProviderName",
    "Size", "VolumeName", "VolumeSerialNumber"};

bool logicalDisks(Context &, std::vector<Instance> &out)
{
    static const char *const descriptions[] = {"Unknown", "No Root Directory", "Removable Disk", "Local Fixed Disk",
                                               "Network Connection", "CD-ROM Disc", "RAM Disk"};
    for (QStorageInfo v : mountedDrives()) {
        v.refresh();
        const int type = diskType(v);
        Instance row;
        row.properties = {
            {"Caption", text(v.rootPath())},
            {"Description", text(QString::fromLatin1(descriptions[type]))},
            {"DeviceID", text(v.rootPath())},
            {"DriveType", number(type)},
            {"FileSystem", text(QString::fromLatin1(v.fileSystemType()).toUpper())},
            {"FreeSpace", uint64(quint64(v.bytesAvailable()))},
            {"MediaType", number(type == 3 ? 12 : type == 2 ? 11 : 0)},
            {"Name", text(v.rootPath())},
            {"ProviderName", type == 4 ? text(QString::fromLocal8Bit(v.device())) : Value::null()},
            {"Size", uint64(quint64(v.bytesTotal()))},
            {"VolumeName", text(v.name())},
            {"VolumeSerialNumber", Value::null()},
        };
        out.push_back(std::move(row));
    }
    return true;
}

const QStringList VolumeProperties{"Capacity", "Caption", "DeviceID", "DriveLetter", "DriveType", "FileSystem",
                                   "FreeSpace", "Label", "Name", "BlockSize"};

bool volumes(Context &, std::vector<Instance> &out)
{
    for (QStorageInfo v : mountedDrives()) {
        v.refresh();
        Instance row;
        row.properties = {
            {"Capacity", uint64(quint64(v.bytesTotal()))},
            {"Caption", text(v.rootPath())},
            {"DeviceID", text(QString::fromLocal8Bit(v.device()))},
            {"DriveLetter", Value::null()},
            {"DriveType", number(diskType(v))},
            {"FileSystem", text(QString::fromLatin1(v.fileSystemType()).toUpper())},
            {"FreeSpace", uint64(quint64(v.bytesAvailable()))},
            {"Label", optionalText(v.name())},
            {"Name", text(v.rootPath().endsWith(QLatin1Char('/')) ? v.rootPath() : v.rootPath() + QLatin1Char('/'))},
            {"BlockSize", uint64(quint64(v.blockSize()))},
        };
        out.push_back(std::move(row));
    }
    return true;
}

// ---- services, through systemd on the system bus ------------------------------------------------

struct UnitStatus {
    QString name, description, load, active, sub, following;
    QDBusObjectPath path;
    uint job = 0;
    QString jobType;
    QDBusObjectPath jobPath;
};

const QDBusArgument &operator>>(const QDBusArgument &arg, UnitStatus &u)
{
    arg.beginStructure();
    arg >> u.name >> u.description >> u.load >> u.active >> u.sub >> u.following >> u.path >> u.job >> u.jobType >> u.jobPath;
    arg.endStructure();
    return arg;
}

QDBusArgument &operator<<(QDBusArgument &arg, const UnitStatus &u)
{
    arg.beginStructure();
    arg << u.name << u.description << u.load << u.active << u.sub << u.following << u.path << u.job << u.jobType << u.jobPath;
    arg.endStructure();
    return arg;
}

struct UnitFile {
    QString path, state;
};

const QDBusArgument &operator>>(const QDBusArgument &arg, UnitFile &u)
{
    arg.beginStructure();
    arg >> u.path >> u.state;
    arg.endStructure();
    return arg;
}

QDBusArgument &operator<<(QDBusArgument &arg, const UnitFile &u)
{
    arg.beginStructure();
    arg << u.path << u.state;
    arg.endStructure();
    return arg;
}

} // namespace
} // namespace winenv::wmi

Q_DECLARE_METATYPE(winenv::wmi::UnitStatus)
Q_DECLARE_METATYPE(winenv::wmi::UnitFile)

namespace winenv::wmi {
namespace {

// systemd's manager, with the types of its unit lists known to D-Bus.
QDBusInterface *systemdManager()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<UnitStatus>();
        qDBusRegisterMetaType<QList<UnitStatus>>();
        qDBusRegisterMetaType<UnitFile>();
        qDBusRegisterMetaType<QList<UnitFile>>();
        return true;
    }();
    Q_UNUSED(registered);
    return systemd::manager();
}

QString execStart(const QString &unitFile)
{
    for (const QString &line : QString::fromUtf8(readFile(unitFile)).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("ExecStart=")))
            return line.mid(10).trimmed().remove(QRegularExpression(QStringLiteral("^[-@:+!]+")));
    return QString();
}

const QStringList ServiceProperties{"AcceptPause", "AcceptStop", "Caption", "Description", "DisplayName", "Name",
                                    "PathName", "ProcessId", "ServiceType", "Started", "StartMode", "StartName",
                                    "State", "Status", "SystemName", "ExitCode"};

bool services(Context &cx, std::vector<Instance> &out)
{
    QDBusInterface *manager = systemdManager();
    if (!manager)
        return true; // no systemd on this system: no services to list
    const QDBusReply<QList<UnitStatus>> units = manager->call(QStringLiteral("ListUnits"));
    const QDBusReply<QList<UnitFile>> files = manager->call(QStringLiteral("ListUnitFiles"));
    if (!units.isValid())
        return true;
    QHash<QString, QString> fileStates;
    if (files.isValid())
        for (const UnitFile &f : files.value())
            fileStates.insert(QFileInfo(f.path).fileName(), f.state);
    for (const UnitStatus &u : units.value()) {
        if (!u.name.endsWith(QLatin1String(".service")) || u.load != QLatin1String("loaded"))
            continue;
        if (!cx.spend(4096))
            return false;
        const QString name = u.name.chopped(8);
        const bool running = u.active == QLatin1String("active");
        const QString state = running ? QStringLiteral("Running")
                              : u.active == QLatin1String("activating") ? QStringLiteral("Start Pending")
                              : u.active == QLatin1String("deactivating") ? QStringLiteral("Stop Pending") : QStringLiteral("Stopped");
        const QString fileState = fileStates.value(u.name);
        const QString startMode = fileState == QLatin1String("enabled") ? QStringLiteral("Auto")
                                  : fileState == QLatin1String("disabled") || fileState == QLatin1String("masked") ? QStringLiteral("Disabled")
                                  : QStringLiteral("Manual");
        const uint mainPid = running ? systemd::unitProperty(u.path, "org.freedesktop.systemd1.Service", "MainPID").toUInt() : 0;
        const QString fragment = systemd::unitProperty(u.path, "org.freedesktop.systemd1.Unit", "FragmentPath").toString();
        Instance row;
        row.properties = {
            {"AcceptPause", Value::boolean(false)},
            {"AcceptStop", Value::boolean(running)},
            {"Caption", text(u.description)},
            {"Description", text(u.description)},
            {"DisplayName", text(u.description)},
            {"Name", text(name)},
            {"PathName", optionalText(execStart(fragment))},
            {"ProcessId", number(mainPid)},
            {"ServiceType", text("Own Process")},
            {"Started", Value::boolean(running)},
            {"StartMode", text(startMode)},
            {"StartName", Value::null()},
            {"State", text(state)},
            {"Status", text(u.active == QLatin1String("failed") ? QStringLiteral("Degraded") : QStringLiteral("OK"))},
            {"SystemName", text(hostName())},
            {"ExitCode", number(0)},
        };
        out.push_back(std::move(row));
    }
    return true;
}

// StartService and StopService: systemd's answer in Windows' return codes (0 done, 2 access
// denied, 5 the service cannot take the request, 10 already running).
bool controlService(Context &, const Instance &row, bool start, Value &result)
{
    if (start && row.find(QStringLiteral("Started"))->asBool()) {
        result = Value::lng(10);
        return true;
    }
    result = Value::lng(systemd::control(row.find(QStringLiteral("Name"))->asString(), start));
    return true;
}

// ---- firmware, battery ------------------------------------------------------------------------

QString wmiDateFromDmi(const QString &mmddyyyy)
{
    const QDate d = QDate::fromString(mmddyyyy, QStringLiteral("MM/dd/yyyy"));
    return d.isValid() ? d.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("000000.000000+000") : QString();
}

const QStringList BiosProperties{"Manufacturer", "Name", "ReleaseDate", "SerialNumber", "SMBIOSBIOSVersion", "Version", "Status"};

bool bios(Context &, std::vector<Instance> &out)
{
    if (!QFileInfo::exists(QStringLiteral("/sys/class/dmi/id")))
        return true;
    Instance row;
    row.properties = {
        {"Manufacturer", optionalText(dmi("bios_vendor"))},
        {"Name", optionalText(dmi("bios_version"))},
        {"ReleaseDate", optionalText(wmiDateFromDmi(dmi("bios_date")))},
        {"SerialNumber", optionalText(dmi("product_serial"))},
        {"SMBIOSBIOSVersion", optionalText(dmi("bios_version"))},
        {"Version", optionalText(dmi("bios_version"))},
        {"Status", text("OK")},
    };
    out.push_back(std::move(row));
    return true;
}

const QStringList BaseBoardProperties{"Manufacturer", "Product", "SerialNumber", "Tag", "Version", "Status"};

bool baseBoard(Context &, std::vector<Instance> &out)
{
    if (!QFileInfo::exists(QStringLiteral("/sys/class/dmi/id")))
        return true;
    Instance row;
    row.properties = {
        {"Manufacturer", optionalText(dmi("board_vendor"))},
        {"Product", optionalText(dmi("board_name"))},
        {"SerialNumber", optionalText(dmi("board_serial"))},
        {"Tag", text("Base Board")},
        {"Version", optionalText(dmi("board_version"))},
        {"Status", text("OK")},
    };
    out.push_back(std::move(row));
    return true;
}

const QStringList BatteryProperties{"BatteryStatus", "Caption", "Chemistry", "DeviceID", "EstimatedChargeRemaining",
                                    "EstimatedRunTime", "Name", "Status"};

bool batteries(Context &, std::vector<Instance> &out)
{
    const QDir supplies(QStringLiteral("/sys/class/power_supply"));
    for (const QString &name : supplies.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        const QString dir = supplies.filePath(name) + QLatin1Char('/');
        if (readLine(dir + QLatin1String("type")) != QLatin1String("Battery"))
            continue;
        const QString status = readLine(dir + QLatin1String("status"));
        // Windows' codes: 1 discharging, 2 on mains, 3 fully charged, 6 charging.
        const int code = status == QLatin1String("Discharging") ? 1 : status == QLatin1String("Full") ? 3
                         : status == QLatin1String("Charging") ? 6 : 2;
        Instance row;
        row.properties = {
            {"BatteryStatus", number(code)},
            {"Caption", text(QStringLiteral("Internal Battery"))},
            {"Chemistry", Value::null()},
            {"DeviceID", text(name)},
            {"EstimatedChargeRemaining", number(readLine(dir + QLatin1String("capacity")).toInt())},
            {"EstimatedRunTime", Value::null()},
            {"Name", optionalText(readLine(dir + QLatin1String("model_name")))},
            {"Status", text("OK")},
        };
        out.push_back(std::move(row));
    }
    return true;
}

// ---- network ----------------------------------------------------------------------------------

QStringList gateways(const QString &interface)
{
    QStringList out;
    for (const QString &line : QString::fromLatin1(readFile(QStringLiteral("/proc/net/route"))).split(QLatin1Char('\n')).mid(1)) {
        const QStringList f = line.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        if (f.size() < 3 || f[0] != interface || f[1] != QLatin1String("00000000"))
            continue;
        const quint32 g = f[2].toUInt(nullptr, 16);
        out << QStringLiteral("%1.%2.%3.%4").arg(g & 0xFF).arg((g >> 8) & 0xFF).arg((g >> 16) & 0xFF).arg(g >> 24);
    }
    return out;
}

QStringList nameServers()
{
    QStringList out;
    for (const QString &line : QString::fromLatin1(readFile(QStringLiteral("/etc/resolv.conf"))).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("nameserver")))
            out << line.section(QLatin1Char(' '), 1, 1, QString::SectionSkipEmpty);
    return out;
}

const QStringList AdapterProperties{"Caption", "DefaultIPGateway", "Description", "DHCPEnabled", "DNSDomain",
                                    "DNSHostName", "DNSServerSearchOrder", "Index", "InterfaceIndex", "IPAddress",
                                    "IPEnabled", "IPSubnet", "MACAddress", "MTU", "ServiceName", "SettingID"};

bool adapters(Context &, std::vector<Instance> &out)
{
    for (const QNetworkInterface &i : QNetworkInterface::allInterfaces()) {
        if (i.type() == QNetworkInterface::Loopback)
            continue;
        QStringList addresses, masks;
        for (const QNetworkAddressEntry &e : i.addressEntries()) {
            if (e.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                addresses.prepend(e.ip().toString());
                masks.prepend(e.netmask().toString());
            } else {
                addresses << e.ip().toString().section(QLatin1Char('%'), 0, 0);
                masks << QString::number(e.prefixLength());
            }
        }
        const bool enabled = (i.flags() & QNetworkInterface::IsUp) && !addresses.isEmpty();
        const QStringList gw = gateways(i.name());
        Instance row;
        row.properties = {
            {"Caption", text(QStringLiteral("[%1] %2").arg(i.index(), 8, 10, QLatin1Char('0')).arg(i.humanReadableName()))},
            {"DefaultIPGateway", enabled && !gw.isEmpty() ? stringArray(gw) : Value::null()},
            {"Description", text(i.humanReadableName())},
            {"DHCPEnabled", Value::null()},
            {"DNSDomain", Value::null()},
            {"DNSHostName", enabled ? text(QHostInfo::localHostName().section(QLatin1Char('.'), 0, 0)) : Value::null()},
            {"DNSServerSearchOrder", enabled && !nameServers().isEmpty() ? stringArray(nameServers()) : Value::null()},
            {"Index", number(i.index())},
            {"InterfaceIndex", number(i.index())},
            {"IPAddress", enabled ? stringArray(addresses) : Value::null()},
            {"IPEnabled", Value::boolean(enabled)},
            {"IPSubnet", enabled ? stringArray(masks) : Value::null()},
            {"MACAddress", i.hardwareAddress().isEmpty() ? Value::null() : text(i.hardwareAddress().toUpper())},
            {"MTU", number(i.maximumTransmissionUnit())},
            {"ServiceName", Value::null()},
            {"SettingID", text(i.name())},
        };
        out.push_back(std::move(row));
    }
    return true;
}

// ---- environment, start-up programs, printers, accounts, time -------------------------------

const QStringList EnvironmentProperties{"Caption", "Description", "Name", "Status", "SystemVariable", "UserName", "VariableValue"};

bool environment(Context &, std::vector<Instance> &out)
{
    const QString user = hostName() + QLatin1Char('\\') + userName();
    for (const QString &entry : QProcessEnvironment::systemEnvironment().toStringList()) {
        const QString name = entry.section(QLatin1Char('='), 0, 0), value = entry.section(QLatin1Char('='), 1);
        Instance row;
        row.properties = {
            {"Caption", text(user + QLatin1Char('\\') + name)},
            {"Description", text(user + QLatin1Char('\\') + name)},
            {"Name", text(name)},
            {"Status", text("OK")},
            {"SystemVariable", Value::boolean(false)},
            {"UserName", text(user)},
            {"VariableValue", text(value)},
        };
        out.push_back(std::move(row));
    }
    return true;
}

const QStringList StartupProperties{"Caption", "Command", "Description", "Location", "Name", "User"};

bool startupCommands(Context &, std::vector<Instance> &out)
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(config))
        config = QDir::homePath() + QLatin1String("/.config");
    const QList<QPair<QString, QString>> folders{{config + QLatin1String("/autostart"), userName()},
                                                {QStringLiteral("/etc/xdg/autostart"), QStringLiteral("Public")}};
    for (const auto &folder : folders) {
        for (const QFileInfo &f : QDir(folder.first).entryInfoList({QStringLiteral("*.desktop")}, QDir::Files)) {
            const QHash<QString, QString> entry = keyValues(f.filePath(), QLatin1Char('='));
            if (entry.value(QStringLiteral("Hidden")) == QLatin1String("true"))
                continue;
            const QString name = entry.value(QStringLiteral("Name"), f.baseName());
            Instance row;
            row.properties = {
                {"Caption", text(name)},
                {"Command", text(entry.value(QStringLiteral("Exec")))},
                {"Description", text(name)},
                {"Location", text(folder.first)},
                {"Name", text(name)},
                {"User", text(folder.second)},
            };
            out.push_back(std::move(row));
        }
    }
    return true;
}

const QStringList PrinterProperties{"Caption", "Default", "DeviceID", "Local", "Name", "Network", "PrinterStatus",
                                    "ShareName", "Shared", "Status"};

bool printers(Context &cx, std::vector<Instance> &out)
{
    const QString lpstat = QStandardPaths::findExecutable(QStringLiteral("lpstat"));
    if (lpstat.isEmpty())
        return true; // no CUPS: no printers
    const auto run = [&](const QStringList &args, QString &text) {
        QProcess p;
        p.start(lpstat, args);
        if (!cx.waitUntil([&](int slice) { return p.waitForFinished(slice) || p.state() == QProcess::NotRunning; }))
            return false;
        text = QString::fromLocal8Bit(p.readAllStandardOutput());
        return true;
    };
    QString names, fallback;
    if (!run({QStringLiteral("-e")}, names) || !run({QStringLiteral("-d")}, fallback))
        return false;
    const QString defaultName = fallback.section(QLatin1Char(':'), 1).trimmed();
    for (const QString &name : names.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        Instance row;
        row.properties = {
            {"Caption", text(name)},
            {"Default", Value::boolean(name == defaultName)},
            {"DeviceID", text(name)},
            {"Local", Value::boolean(true)},
            {"Name", text(name)},
            {"Network", Value::boolean(false)},
            {"PrinterStatus", number(3)},
            {"ShareName", Value::null()},
            {"Shared", Value::boolean(false)},
            {"Status", text("OK")},
        };
        out.push_back(std::move(row));
    }
    return true;
}

const QStringList AccountProperties{"AccountType", "Caption", "Description", "Disabled", "Domain", "FullName",
                                    "LocalAccount", "Lockout", "Name", "PasswordRequired", "SID", "Status"};

bool accounts(Context &, std::vector<Instance> &out)
{
    for (const QString &line : QString::fromUtf8(readFile(QStringLiteral("/etc/passwd"))).split(QLatin1Char('\n'))) {
        const QStringList f = line.split(QLatin1Char(':'));
        if (f.size() < 7)
            continue;
        const uint uid = f[2].toUInt();
        if (uid != 0 && (uid < 1000 || uid >= 65534))
            continue; // the system's own accounts are not the people's
        const bool disabled = f[6].endsWith(QLatin1String("nologin")) || f[6].endsWith(QLatin1String("false"));
        Instance row;
        row.properties = {
            {"AccountType", number(512)},
            {"Caption", text(hostName() + QLatin1Char('\\') + f[0])},
            {"Description", Value::null()},
            {"Disabled", Value::boolean(disabled)},
            {"Domain", text(hostName())},
            {"FullName", text(f[4].section(QLatin1Char(','), 0, 0))},
            {"LocalAccount", Value::boolean(true)},
            {"Lockout", Value::boolean(false)},
            {"Name", text(f[0])},
            {"PasswordRequired", Value::null()},
            {"SID", Value::null()},
            {"Status", text(disabled ? QStringLiteral("Degraded") : QStringLiteral("OK"))},
        };
        out.push_back(std::move(row));
    }
    return true;
}

const QStringList TimeZoneProperties{"Bias", "Caption", "DaylightBias", "DaylightName", "Description", "StandardBias",
                                     "StandardName"};

bool timeZone(Context &, std::vector<Instance> &out)
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime now = QDateTime::currentDateTime();
    const int standard = zone.standardTimeOffset(now) / 60;
    const QString caption = QStringLiteral("(UTC%1%2:%3) %4")
                                .arg(standard < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                                .arg(qAbs(standard) / 60, 2, 10, QLatin1Char('0'))
                                .arg(qAbs(standard) % 60, 2, 10, QLatin1Char('0'))
                                .arg(QString::fromUtf8(zone.id()));
    Instance row;
    row.properties = {
        {"Bias", number(standard)},
        {"Caption", text(caption)},
        {"DaylightBias", number(zone.hasDaylightTime() ? -60 : 0)},
        {"DaylightName", text(zone.displayName(QTimeZone::DaylightTime))},
        {"Description", text(caption)},
        {"StandardBias", number(0)},
        {"StandardName", text(zone.displayName(QTimeZone::StandardTime))},
    };
    out.push_back(std::move(row));
    return true;
}

const QStringList LocalTimeProperties{"Day", "DayOfWeek", "Hour", "Milliseconds", "Minute", "Month", "Quarter",
                                      "Second", "WeekInMonth", "Year"};

bool localTime(Context &, std::vector<Instance> &out)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const int firstDay = QDate(d.year(), d.month(), 1).dayOfWeek() % 7; // Sunday 0
    Instance row;
    row.properties = {
        {"Day", number(d.day())},
        {"DayOfWeek", number(d.dayOfWeek() % 7)},
        {"Hour", number(now.time().hour())},
        {"Milliseconds", Value::null()},
        {"Minute", number(now.time().minute())},
        {"Month", number(d.month())},
        {"Quarter", number((d.month() - 1) / 3 + 1)},
        {"Second", number(now.time().second())},
        {"WeekInMonth", number((d.day() + firstDay - 1) / 7 + 1)},
        {"Year", number(d.year())},
    };
    out.push_back(std::move(row));
    return true;
}

const std::vector<ClassInfo> &classes()
{
    static const std::vector<ClassInfo> all{
        {"Win32_Process", ProcessProperties, "Handle", processes, {"Terminate", "GetOwner", "Create"}, "Programs running"},
        {"Win32_OperatingSystem", OperatingSystemProperties, "Name", operatingSystem, {"Win32Shutdown", "Reboot", "Shutdown"}, ""},
        {"Win32_ComputerSystem", ComputerSystemProperties, "Name", computerSystem, {}, ""},
        {"Win32_Processor", ProcessorProperties, "DeviceID", processors, {}, ""},
        {"Win32_LogicalDisk", LogicalDiskProperties, "DeviceID", logicalDisks, {}, ""},
        {"Win32_Volume", VolumeProperties, "DeviceID", volumes, {}, ""},
        {"Win32_Service", ServiceProperties, "Name", services, {"StartService", "StopService"}, ""},
        {"Win32_BIOS", BiosProperties, "Name", bios, {}, ""},
        {"Win32_BaseBoard", BaseBoardProperties, "Tag", baseBoard, {}, ""},
        {"Win32_Battery", BatteryProperties, "DeviceID", batteries, {}, ""},
        {"Win32_NetworkAdapterConfiguration", AdapterProperties, "Index", adapters, {}, ""},
        {"Win32_Environment", EnvironmentProperties, "Name", environment, {}, ""},
        {"Win32_StartupCommand", StartupProperties, "Command", startupCommands, {}, ""},
        {"Win32_Printer", PrinterProperties, "DeviceID", printers, {}, ""},
        {"Win32_UserAccount", AccountProperties, "Name", accounts, {}, ""},
        {"Win32_TimeZone", TimeZoneProperties, "Caption", timeZone, {}, ""},
        {"Win32_LocalTime", LocalTimeProperties, "", localTime, {}, ""},
    };
    return all;
}

} // namespace

const ClassInfo *findClass(const QString &name)
{
    for (const ClassInfo &c : classes())
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

bool callMethod(Context &cx, const ClassInfo &cls, const Instance *instance, const QString &method, Args a, Value &result)
{
    const auto is = [&](const char *name) { return method.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
    if (cls.name == QLatin1String("Win32_Process")) {
        if (is("Create"))
            return createProcess(cx, a, result);
        if (!instance)
            return cx.raise(int32_t(0x80041002), QStringLiteral("%1 needs an instance of Win32_Process").arg(method));
        return is("Terminate") ? terminate(cx, *instance, result) : getOwner(cx, *instance, a, result);
    }
    if (cls.name == QLatin1String("Win32_Service")) {
        if (!instance)
            return cx.raise(int32_t(0x80041002), QStringLiteral("%1 needs an instance of Win32_Service").arg(method));
        return controlService(cx, *instance, is("StartService"), result);
    }
    if (cls.name == QLatin1String("Win32_OperatingSystem"))
        return accessDenied(cx, QStringLiteral("shutting down or restarting the computer is left to the desktop's own "
                                               "menu (%1 was not done)").arg(method));
    return notSupported(cx, method);
}

} // namespace winenv::wmi
