#include "wscript.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <QTextStream>

#include "consoleinput.h"
#include "context.h"
#include "convert.h"

using namespace vbs;

namespace {

// WScript.Arguments: Count, Length, Item(i) (the default), and For Each.
class ArgumentsObject : public Object {
public:
    explicit ArgumentsObject(const QStringList &items) : m_items(items) {}
    QString typeName() const override { return QStringLiteral("Object"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Count", "Length", "Item"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke, Args args, Value &result) override
    {
        if (id == 1 || id == 2) {
            result = Value::lng(int32_t(m_items.size()));
            return true;
        }
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

private:
    QStringList m_items;
};

QString echoText(const Value &v)
{
    if (v.isNull())
        return QStringLiteral("Null");
    return displayText(v);
}

void write(FILE *f, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f);
}

} // namespace

WScriptObject::WScriptObject(const QString &scriptPath, const QStringList &arguments)
    : m_path(scriptPath)
{
    m_arguments = Value::object(new ArgumentsObject(arguments));
    m_stdout = Value::object(new ConsoleStream(stdout));
    m_stderr = Value::object(new ConsoleStream(stderr));
    m_stdin = Value::object(new ConsoleStream(stdin));
}

WScriptObject::~WScriptObject() = default;

namespace {
enum WScriptId { Echo = 1, Quit, Arguments, ScriptName, ScriptFullName, Sleep, StdOut, StdErr, StdIn, Name, Version, Path, FullName };
}

int WScriptObject::memberId(const QString &name)
{
    static const MemberTable members{"Echo", "Quit", "Arguments", "ScriptName", "ScriptFullName", "Sleep",
                                     "StdOut", "StdErr", "StdIn", "Name", "Version", "Path", "FullName"};
    return members.id(name);
}

bool WScriptObject::invoke(Context &cx, int id, Invoke, Args args, Value &result)
{
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
        write(stdout, parts.join(QLatin1Char(' ')) + QLatin1Char('\n'));
        std::fflush(stdout);
        return true;
    }
    case Quit: {
        int32_t code = 0;
        if (args.has(0) && !toLong(cx, args[0], code))
            return false;
        m_quit = true;
        m_exitCode = code;
        return cx.stopScript(err::ScriptQuit, QStringLiteral("WScript.Quit"));
    }
    case Arguments: result = m_arguments; return true;
    case ScriptName: result = Value::string(QFileInfo(m_path).fileName()); return true;
    case ScriptFullName: result = Value::string(QFileInfo(m_path).absoluteFilePath()); return true;
    case Sleep: {
        int32_t ms;
        if (args.count != 1 || !toLong(cx, args[0], ms))
            return cx.hasError() || cx.raise(err::WrongArgs);
        return cx.sleep(ms);
    }
    case StdOut: result = m_stdout; return true;
    case StdErr: result = m_stderr; return true;
    case StdIn: result = m_stdin; return true;
    case Name: result = Value::string(QStringLiteral("Windows Script Host")); return true;
    case Version: result = Value::string(QStringLiteral("5.8")); return true;
    case Path: result = Value::string(QCoreApplication::applicationDirPath()); return true;
    case FullName: result = Value::string(QCoreApplication::applicationFilePath()); return true;
    default: return cx.raise(err::NoSuchMember);
    }
}

namespace {
enum StreamId { Write = 1, WriteLine, WriteBlankLines, ReadLine, ReadAll, AtEndOfStream, Line, Close };
}

int ConsoleStream::memberId(const QString &name)
{
    static const MemberTable members{"Write", "WriteLine", "WriteBlankLines", "ReadLine", "ReadAll", "AtEndOfStream", "Line", "Close"};
    return members.id(name);
}

bool ConsoleStream::invoke(Context &cx, int id, Invoke, Args args, Value &result)
{
    const bool reading = id == ReadLine || id == ReadAll || id == AtEndOfStream;
    if ((id == Write || id == WriteLine || id == WriteBlankLines || reading) && reading != (m_file == stdin))
        return cx.raise(54); // Bad file mode: StdIn is only read, StdOut and StdErr only written
    switch (id) {
    case Write:
    case WriteLine: {
        QString text;
        if (args.has(0) && !toText(cx, args[0], text))
            return false;
        if (id == WriteLine)
            text += QLatin1Char('\n');
        write(m_file, text);
        std::fflush(m_file);
        return true;
    }
    case WriteBlankLines: {
        int32_t n = 0;
        if (args.count != 1 || !toLong(cx, args[0], n))
            return cx.hasError() || cx.raise(err::WrongArgs);
        write(m_file, QString(qMax(0, n), QLatin1Char('\n')));
        return true;
    }
    case ReadLine: {
        const std::optional<QByteArray> line = ConsoleInput::standard().readLine(cx);
        if (!line)
            return cx.hasError() ? false : cx.raise(62); // Input past end of file
        ++m_line;
        result = Value::string(QString::fromUtf8(*line));
        return true;
    }
    case ReadAll: {
        const std::optional<QByteArray> all = ConsoleInput::standard().readAll(cx);
        if (!all)
            return false;
        result = Value::string(QString::fromUtf8(*all));
        return true;
    }
    case AtEndOfStream: {
        const std::optional<bool> ended = ConsoleInput::standard().atEnd(cx);
        if (!ended)
            return false;
        result = Value::boolean(*ended);
        return true;
    }
    case Line: result = Value::lng(m_line); return true;
    case Close: return true;
    default: return cx.raise(err::NoSuchMember);
    }
}
