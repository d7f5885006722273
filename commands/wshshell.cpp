#include "wshshell.h"

#include <QDir>
#include <QProcessEnvironment>
#include <syslog.h>

#include "context.h"
#include "convert.h"
#include "keys.h"
#include "network.h"
#include "registry.h"
#include "shellenv.h"
#include "winpath.h"
#include "wshexec.h"
#include "wshshortcut.h"
#include "processes.h"
#include "windows.h"

using namespace vbs;

namespace {

enum ShellId {
    Run = 1, Exec, SendKeys, AppActivate, Popup, ExpandEnvironmentStrings, Environment, CurrentDirectory,
    SpecialFolders, RegRead, RegWrite, RegDelete, CreateShortcut, LogEvent
};

bool raiseFailure(Context &cx, const platform::Failure &f)
{
    return cx.raise(f.number, f.description);
}

// The program and arguments a Run or Exec command line stands for: Windows environment
// names expanded, and cmd /c COMMAND run by the system shell.
QStringList programOf(const QString &commandLine)
{
    const QString line = winenv::shellenv::expand(commandLine);
    if (const std::optional<QStringList> shell = winenv::shellenv::cmdCommand(line))
        return *shell;
    QStringList words = platform::processes::splitCommandLine(line);
    for (QString &word : words)
        word = winpath::commandWord(word);
    return words;
}

// WshShell.SpecialFolders: Item(name or number) (the default), Count, For Each, over the
// folders Windows lists there.
Object *newSpecialFolders()
{
    static const QStringList names{"AllUsersDesktop", "AllUsersStartMenu", "AllUsersPrograms", "AllUsersStartup",
                                   "Desktop", "Favorites", "Fonts", "MyDocuments", "NetHood", "PrintHood",
                                   "Programs", "Recent", "SendTo", "StartMenu", "Startup", "Templates"};
    QStringList folders;
    for (const QString &name : names)
        folders << winenv::shellenv::specialFolder(name);
    return winenv::newWshCollection(folders, [](const QString &name) { return winenv::shellenv::specialFolder(name); });
}

// WshShell.Environment("PROCESS"): Item(name) reads and writes this process's variables.
class EnvironmentObject : public Object {
public:
    QString typeName() const override { return QStringLiteral("IWshEnvironment"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Item", "Count", "Remove"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (id == DefaultMember)
            id = 1;
        if (id == 2) {
            result = Value::lng(int32_t(QProcessEnvironment::systemEnvironment().keys().size()));
            return true;
        }
        QString name;
        if (args.count < 1 || !toText(cx, args[0], name))
            return cx.raiseUnlessPending(err::WrongArgs);
        const QByteArray key = name.toLocal8Bit();
        if (id == 3) {
            qunsetenv(key.constData());
            return true;
        }
        if (kind & InvokeLet) {
            QString value;
            if (args.count != 2 || !toText(cx, args[1], value))
                return cx.raiseUnlessPending(err::WrongArgs);
            qputenv(key.constData(), value.toLocal8Bit());
            return true;
        }
        result = Value::string(winenv::shellenv::variable(name).value_or(QString()));
        return true;
    }
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        for (const QString &entry : QProcessEnvironment::systemEnvironment().toStringList())
            items.push_back(Value::string(entry));
        return true;
    }
};

} // namespace

int WshShell::memberId(const QString &name)
{
    static const MemberTable members{"Run", "Exec", "SendKeys", "AppActivate", "Popup",
                                     "ExpandEnvironmentStrings", "Environment", "CurrentDirectory",
                                     "SpecialFolders", "RegRead", "RegWrite", "RegDelete", "CreateShortcut", "LogEvent"};
    return members.id(name);
}

bool WshShell::invoke(Context &cx, int id, Invoke kind, Args args, Value &result)
{
    QString text;
    if (id != CurrentDirectory && id != Environment && id != SpecialFolders && id != LogEvent
        && (args.count < 1 || !toText(cx, args[0], text)))
        return cx.raiseUnlessPending(err::WrongArgs);
    switch (id) {
    case Run: { // Run(command[, style[, wait]]): the exit code when waiting, else 0
        int32_t style = 1;
        bool wait = false;
        if ((args.has(1) && !toLong(cx, args[1], style)) || (args.has(2) && !toBool(cx, args[2], wait)))
            return false;
        const QStringList program = programOf(text);
        if (!wait) {
            qint64 pid;
            if (const platform::Failure f = platform::processes::startProgram(
                    program, platform::processes::WindowStyle(qBound(0, int(style), 6)), pid))
                return raiseFailure(cx, f);
            result = Value::integer(0);
            return true;
        }
        const QStringList resolved = program.isEmpty() ? QStringList() : platform::processes::resolveProgram(program.first());
        if (resolved.isEmpty())
            return cx.raise(err::FileNotFound);
        // Waiting counts against the time limit; a script stopped meanwhile leaves the
        // program running, as the user may have work in it.
        platform::processes::Child child;
        if (const platform::Failure f = child.start(resolved + program.mid(1)))
            return raiseFailure(cx, f);
        if (!cx.waitUntil([&child](int slice) { return child.wait(slice); }))
            return false;
        result = Value::lng(child.exitCode());
        return true;
    }
    case Exec: {
        const QStringList program = programOf(text);
        const QStringList resolved = program.isEmpty() ? QStringList() : platform::processes::resolveProgram(program.first());
        Object *exec = resolved.isEmpty() ? nullptr : wshexec::start(resolved + program.mid(1));
        if (!exec)
            return cx.raise(err::FileNotFound);
        result = Value::object(exec);
        return true;
    }
    case SendKeys: {
        QList<platform::keys::Stroke> strokes;
        platform::Failure f = platform::keys::parse(text, strokes);
        if (!f)
            f = platform::keys::send(strokes);
        return !f || raiseFailure(cx, f);
    }
    case AppActivate: { // returns whether a window was activated
        Value plain;
        if (!valueOf(cx, args[0], plain))
            return false;
        const platform::Failure f = plain.isNumeric()
                                        ? platform::windows::activateByProcess(qint64(text.toDouble()), 2000)
                                        : platform::windows::activateByTitle(text);
        if (f && f.number != platform::InvalidCall)
            return raiseFailure(cx, f);
        result = Value::boolean(!f);
        return true;
    }
    case Popup: { // Popup(text[, seconds[, title[, type]]])
        QString title;
        int32_t type = 0;
        if ((args.has(2) && !toText(cx, args[2], title)) || (args.has(3) && !toLong(cx, args[3], type)))
            return false;
        int answer = 1;
        if (Host *host = cx.host()) {
            if (!cx.inDialog(*host, [&] { answer = host->msgBox(cx, text, type, title); }))
                return false;
        }
        result = Value::integer(int16_t(answer));
        return true;
    }
    case ExpandEnvironmentStrings:
        result = Value::string(winenv::shellenv::expand(text));
        return true;
    case Environment:
        result = Value::object(new EnvironmentObject);
        return true;
    case CurrentDirectory:
        if (kind & InvokeLet) {
            QString path;
            if (args.count != 1 || !toText(cx, args[0], path))
                return cx.raiseUnlessPending(err::WrongArgs);
            return QDir::setCurrent(winpath::local(path).value_or(QString())) || cx.raise(err::PathNotFound);
        }
        result = Value::string(QDir::currentPath());
        return true;
    case SpecialFolders: {
        Value folders = Value::object(newSpecialFolders());
        if (args.count == 0) {
            result = folders;
            return true;
        }
        return folders.asObject()->invoke(cx, DefaultMember, kind, args, result);
    }
    case RegRead:
        return winenv::registry::read(cx, text, result);
    case RegWrite: {
        QString type;
        if (args.count < 2 || args.count > 3 || (args.has(2) && !toText(cx, args[2], type)))
            return cx.raiseUnlessPending(err::WrongArgs);
        Value value;
        return valueOf(cx, args[1], value) && winenv::registry::write(cx, text, value, type);
    }
    case RegDelete:
        return winenv::registry::remove(cx, text);
    case CreateShortcut:
        if (Object *shortcut = wshshortcut::create(cx, text)) {
            result = Value::object(shortcut);
            return true;
        }
        return false;
    case LogEvent: { // LogEvent(type, message[, target]): to the system log, as the event log
        int32_t type;
        QString message;
        if (args.count < 2 || !toLong(cx, args[0], type) || !toText(cx, args[1], message))
            return cx.raiseUnlessPending(err::WrongArgs);
        const int priority = type == 1 || type == 16 ? LOG_ERR : type == 2 ? LOG_WARNING : LOG_INFO;
        openlog("WSH", LOG_PID, LOG_USER);
        syslog(priority, "%s", message.toUtf8().constData());
        closelog();
        result = Value::boolean(true);
        return true;
    }
    default:
        return cx.raise(err::NoSuchMember);
    }
}
