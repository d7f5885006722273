#include "wscript.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>

#include "context.h"
#include "convert.h"

using namespace vbs;

namespace {

// A list of values by position: WScript.Arguments.Unnamed, and the base of Arguments.
class ArgumentList : public Object {
public:
    explicit ArgumentList(QStringList items) : m_items(std::move(items)) {}
    QString typeName() const override { return QStringLiteral("Object"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Count", "Length", "Item"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        if (id == 1 || id == 2) {
            result = Value::lng(int32_t(m_items.size()));
            return true;
        }
        if (id != 3 && id != DefaultMember)
            return cx.raise(err::NoSuchMember);
        if (args.count != 1)
            return cx.raise(err::WrongArgs);
        int32_t i;
        if (!toLong(cx, args[0], i))
            return false;
        if (i < 0 || i >= m_items.size())
            return cx.raise(err::SubscriptOutOfRange);
        result = Value::string(m_items[i]);
        return true;
    }
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        for (const QString &s : m_items)
            items.push_back(Value::string(s));
        return true;
    }

protected:
    QStringList m_items;
};

// WScript.Arguments.Named: /name:value, /name (Empty), /name+ (True), /name- (False), by
// name in any letter case; For Each gives the names.
class NamedArguments : public Object {
public:
    void add(const QString &name, const Value &value)
    {
        const QString key = name.toLower();
        if (!m_values.contains(key))
            m_names << name;
        m_values.insert(key, value);
    }
    QString typeName() const override { return QStringLiteral("Object"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Count", "Length", "Item", "Exists"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        if (id == 1 || id == 2) {
            result = Value::lng(int32_t(m_names.size()));
            return true;
        }
        if (id != 3 && id != 4 && id != DefaultMember)
            return cx.raise(err::NoSuchMember);
        QString name;
        if (args.count != 1 || !toText(cx, args[0], name))
            return cx.raiseUnlessPending(err::WrongArgs);
        const auto found = m_values.constFind(name.toLower());
        if (id == 4)
            result = Value::boolean(found != m_values.constEnd());
        else
            result = found == m_values.constEnd() ? Value() : *found;
        return true;
    }
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        for (const QString &n : m_names)
            items.push_back(Value::string(n));
        return true;
    }

private:
    QStringList m_names;
    QHash<QString, Value> m_values;
};

// WScript.Arguments: every argument by position, and Named, Unnamed and ShowUsage.
class Arguments : public ArgumentList {
public:
    Arguments(const QStringList &all, QString scriptName, WScriptSetup *setup)
        : ArgumentList(all), m_scriptName(std::move(scriptName)), m_setup(setup)
    {
        auto *named = new NamedArguments;
        m_named = Value::object(named);
        QStringList unnamed;
        for (const QString &a : all) {
            if (!a.startsWith(QLatin1Char('/')) || a.size() < 2) {
                unnamed << a;
                continue;
            }
            const QString body = a.mid(1);
            const qsizetype colon = body.indexOf(QLatin1Char(':'));
            if (colon > 0)
                named->add(body.left(colon), Value::string(unquoted(body.mid(colon + 1))));
            else if (body.endsWith(QLatin1Char('+')) && body.size() > 1)
                named->add(body.chopped(1), Value::boolean(true));
            else if (body.endsWith(QLatin1Char('-')) && body.size() > 1)
                named->add(body.chopped(1), Value::boolean(false));
            else
                named->add(body, Value());
        }
        m_unnamed = Value::object(new ArgumentList(unnamed));
    }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Named", "Unnamed", "ShowUsage"};
        const int own = members.id(name);
        return own > 0 ? 100 + own : ArgumentList::memberId(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        switch (id) {
        case 101:
        case 102: {
            // Named("out") is Named.Item("out"), as for any property that takes no arguments.
            const Value &list = id == 101 ? m_named : m_unnamed;
            if (args.count > 0)
                return list.asObject()->invoke(cx, DefaultMember, kind, args, result);
            result = list;
            return true;
        }
        case 103: // ShowUsage: the usage line a script without its own description gets
            return echo(cx, QStringLiteral("Usage: ") + m_scriptName);
        default: return ArgumentList::invoke(cx, id, kind, args, result);
        }
    }

private:
    // /a:"x y" as the shell leaves it: the quotes around the value go.
    static QString unquoted(const QString &v)
    {
        return v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')) ? v.mid(1, v.size() - 2) : v;
    }
    bool echo(Context &cx, const QString &text);

    QString m_scriptName;
    WScriptSetup *m_setup;
    Value m_named, m_unnamed;
};

bool echoLine(Context &cx, const WScriptSetup &setup, const QString &text)
{
    if (!setup.interactive) // batch mode: the script shows nothing of its own accord
        return true;
    if (setup.echo)
        return setup.echo(cx, text);
    if (Host *host = cx.host()) {
        int ignored = 0;
        return cx.inDialog(*host, [&] { ignored = host->msgBox(cx, text, 0, QString()); });
    }
    return true;
}

bool Arguments::echo(Context &cx, const QString &text)
{
    return echoLine(cx, *m_setup, text);
}

// The console host converts Echo's arguments without VBScript's own texts for Booleans:
// True is -1, False 0 (MsgBox True and CStr(True) still say "True").
QString echoText(const Value &v)
{
    if (v.isNull())
        return QStringLiteral("Null");
    if (v.type() == VType::Boolean)
        return v.asBool() ? QStringLiteral("-1") : QStringLiteral("0");
    return displayText(v);
}

enum Id {
    Echo = 1, Quit, ArgumentsId, ScriptName, ScriptFullName, Sleep, StdOut, StdErr, StdIn, Name, Version, Path,
    FullName, BuildVersion, Interactive, Timeout, CreateObject, GetObject, ConnectObject, DisconnectObject,
};

} // namespace

WScriptObject::WScriptObject(WScriptSetup setup) : m_setup(std::move(setup))
{
    const QString name = m_setup.scriptPath.isEmpty() ? m_setup.scriptName : QFileInfo(m_setup.scriptPath).fileName();
    m_arguments = Value::object(new Arguments(m_setup.arguments, name, &m_setup));
}

WScriptObject::~WScriptObject() = default;

int WScriptObject::memberId(const QString &name)
{
    static const MemberTable members{"Echo", "Quit", "Arguments", "ScriptName", "ScriptFullName", "Sleep",
                                     "StdOut", "StdErr", "StdIn", "Name", "Version", "Path", "FullName",
                                     "BuildVersion", "Interactive", "Timeout", "CreateObject", "GetObject",
                                     "ConnectObject", "DisconnectObject"};
    return members.id(name);
}

bool WScriptObject::invoke(Context &cx, int id, Invoke kind, Args args, Value &result)
{
    const bool assigning = kind & (InvokeLet | InvokeSet);
    if (id == DefaultMember)
        id = Name;
    if (assigning && id != Interactive && id != Timeout)
        return cx.raise(err::NoSuchMember);
    switch (id) {
    case Echo: {
        QStringList parts;
        for (int i = 0; i < args.count; ++i) {
            Value v;
            if (!valueOf(cx, args[i], v))
                return false;
            if (v.isArray())
                return cx.raise(err::TypeMismatch);
            parts << echoText(v);
        }
        return echoLine(cx, m_setup, parts.join(QLatin1Char(' ')));
    }
    case Quit: {
        int32_t code = 0;
        if (args.has(0) && !toLong(cx, args[0], code))
            return false;
        m_quit = true;
        m_exitCode = code;
        return cx.stopScript(err::ScriptQuit, QStringLiteral("WScript.Quit"));
    }
    case ArgumentsId: // Arguments(0) is Arguments.Item(0)
        if (args.count > 0)
            return m_arguments.asObject()->invoke(cx, DefaultMember, kind, args, result);
        result = m_arguments;
        return true;
    case ScriptName:
        result = Value::string(m_setup.scriptPath.isEmpty() ? m_setup.scriptName : QFileInfo(m_setup.scriptPath).fileName());
        return true;
    case ScriptFullName:
        // With Windows' separator, so that the idioms that cut it at the last "\" find the
        // script's folder; every path a script hands back (files, folders, command lines)
        // takes "\" as "/".
        result = Value::string(m_setup.scriptPath.isEmpty() ? m_setup.scriptName
                                                           : QFileInfo(m_setup.scriptPath).absoluteFilePath().replace(QLatin1Char('/'), QLatin1Char('\\')));
        return true;
    case Sleep: {
        int32_t ms;
        if (args.count != 1 || !toLong(cx, args[0], ms))
            return cx.raiseUnlessPending(err::WrongArgs);
        return cx.sleep(std::max(0, ms));
    }
    case StdOut:
    case StdErr:
    case StdIn: {
        const Value &stream = id == StdOut ? m_setup.stdOut : id == StdErr ? m_setup.stdErr : m_setup.stdIn;
        if (stream.isEmpty()) // a window has no standard streams, as Windows' desktop host has none
            return cx.raise(int32_t(0x80070006), QStringLiteral("The handle is invalid"));
        result = stream;
        return true;
    }
    case Name: result = Value::string(HostName); return true;
    case Version: result = Value::string(HostVersion); return true;
    case BuildVersion: result = Value::lng(16384); return true;
    case Path: result = Value::string(QCoreApplication::applicationDirPath()); return true;
    case FullName: result = Value::string(QCoreApplication::applicationFilePath()); return true;
    case Interactive:
        if (assigning) {
            bool on;
            if (!toBool(cx, args[args.count - 1], on))
                return false;
            m_setup.interactive = on;
            return true;
        }
        result = Value::boolean(m_setup.interactive);
        return true;
    case Timeout:
        if (assigning) // the limit is the host's: set on its command line (//T:nn)
            return cx.raise(err::NoSuchMember);
        result = Value::lng(m_timeout);
        return true;
    case CreateObject: { // CreateObject(progId[, prefix]): events need the prefix, which is not there
        QString progId;
        if (args.count < 1 || args.count > 2 || !toText(cx, args[0], progId))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (args.has(1))
            return cx.raise(err::InvalidCall, QStringLiteral("Event handling with a prefix is not available here"));
        Object *o = cx.createObject(progId);
        if (!o)
            return cx.raiseNamed(err::CantCreateObject, progId);
        result = Value::object(o);
        return true;
    }
    case GetObject: { // GetObject(pathname[, progId[, prefix]]): as the built-in, without events
        QString moniker;
        if (args.count < 1 || args.count > 3 || !toText(cx, args[0], moniker))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (args.has(2))
            return cx.raise(err::InvalidCall, QStringLiteral("Event handling with a prefix is not available here"));
        if (args.has(1)) {
            QString progId;
            return toText(cx, args[1], progId) && cx.raiseNamed(err::CantCreateObject, progId);
        }
        return cx.getObject(moniker, result);
    }
    case ConnectObject:
    case DisconnectObject:
        return cx.raise(err::InvalidCall, QStringLiteral("Event handling is not available here"));
    default:
        return cx.raise(err::NoSuchMember);
    }
}
