#include "wshshell.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>

#include "context.h"
#include "convert.h"
#include "keys.h"
#include "processes.h"
#include "windows.h"

using namespace vbs;

namespace {

enum ShellId { Run = 1, Exec, SendKeys, AppActivate, Popup, ExpandEnvironmentStrings, Environment, CurrentDirectory };

bool raiseFailure(Context &cx, const platform::Failure &f)
{
    return cx.raise(f.number, f.description);
}

// %NAME% as the environment has it; unknown names stay as written.
QString expand(const QString &text)
{
    static const QRegularExpression variable(QStringLiteral("%([^%]+)%"));
    QString out = text;
    qsizetype offset = 0;
    QRegularExpressionMatch m;
    while ((m = variable.match(out, offset)).hasMatch()) {
        const QByteArray value = qgetenv(m.captured(1).toLocal8Bit().constData());
        if (value.isNull() && !qEnvironmentVariableIsSet(m.captured(1).toLocal8Bit().constData())) {
            offset = m.capturedEnd() - 1;
            continue;
        }
        const QString replacement = QString::fromLocal8Bit(value);
        out.replace(m.capturedStart(), m.capturedLength(), replacement);
        offset = m.capturedStart() + replacement.size();
    }
    return out;
}

// A text stream over a finished process's output.
class OutputStream : public Object {
public:
    explicit OutputStream(QProcess *process, bool errors) : m_process(process), m_errors(errors) {}
    QString typeName() const override { return QStringLiteral("TextStream"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"ReadAll", "ReadLine", "AtEndOfStream"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke, Args, Value &result) override
    {
        if (id != 3 && !cx.waitUntil([this](int slice) {
                return m_process->state() == QProcess::NotRunning || m_process->waitForFinished(slice);
            }))
            return false;
        m_buffer += QString::fromLocal8Bit(m_errors ? m_process->readAllStandardError() : m_process->readAllStandardOutput());
        switch (id) {
        case 1:
            result = Value::string(m_buffer);
            m_buffer.clear();
            return true;
        case 2: {
            const qsizetype nl = m_buffer.indexOf(QLatin1Char('\n'));
            QString line = nl < 0 ? m_buffer : m_buffer.left(nl);
            m_buffer.remove(0, nl < 0 ? m_buffer.size() : nl + 1);
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            result = Value::string(line);
            return true;
        }
        default:
            result = Value::boolean(m_buffer.isEmpty() && m_process->state() == QProcess::NotRunning
                                    && m_process->bytesAvailable() == 0);
            return true;
        }
    }

private:
    QProcess *m_process;
    bool m_errors;
    QString m_buffer;
};

// Exec's result: Status (0 running, 1 done), ExitCode, ProcessID, StdOut, StdErr, Terminate.
class ExecObject : public Object {
public:
    explicit ExecObject(QProcess *process) : m_process(process)
    {
        m_stdout = Value::object(new OutputStream(process, false));
        m_stderr = Value::object(new OutputStream(process, true));
    }
    ~ExecObject() override
    {
        m_stdout.clear();
        m_stderr.clear();
        if (m_process->state() != QProcess::NotRunning)
            m_process->waitForFinished(2000);
        delete m_process;
    }
    QString typeName() const override { return QStringLiteral("WshExec"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Status", "ExitCode", "ProcessID", "StdOut", "StdErr", "Terminate"};
        return members.id(name);
    }
    bool invoke(Context &, int id, Invoke, Args, Value &result) override
    {
        m_process->waitForFinished(0);
        switch (id) {
        case 1: result = Value::integer(m_process->state() == QProcess::NotRunning ? 1 : 0); return true;
        case 2: result = Value::lng(m_process->state() == QProcess::NotRunning ? m_process->exitCode() : 0); return true;
        case 3: result = Value::lng(int32_t(m_process->processId())); return true;
        case 4: result = m_stdout; return true;
        case 5: result = m_stderr; return true;
        default: m_process->kill(); return true;
        }
    }

private:
    QProcess *m_process;
    Value m_stdout, m_stderr;
};

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
        result = Value::string(qEnvironmentVariable(key.constData()));
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
                                     "ExpandEnvironmentStrings", "Environment", "CurrentDirectory"};
    return members.id(name);
}

bool WshShell::invoke(Context &cx, int id, Invoke kind, Args args, Value &result)
{
    QString text;
    if (id != CurrentDirectory && id != Environment && (args.count < 1 || !toText(cx, args[0], text)))
        return cx.raiseUnlessPending(err::WrongArgs);
    switch (id) {
    case Run: { // Run(command[, style[, wait]]): the exit code when waiting, else 0
        int32_t style = 1;
        bool wait = false;
        if ((args.has(1) && !toLong(cx, args[1], style)) || (args.has(2) && !toBool(cx, args[2], wait)))
            return false;
        const QStringList program = platform::processes::splitCommandLine(expand(text));
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
        const QStringList program = platform::processes::splitCommandLine(expand(text));
        const QStringList resolved = program.isEmpty() ? QStringList() : platform::processes::resolveProgram(program.first());
        if (resolved.isEmpty())
            return cx.raise(err::FileNotFound);
        auto *process = new QProcess;
        process->start(resolved.first(), resolved.mid(1) + program.mid(1));
        if (!process->waitForStarted()) {
            delete process;
            return cx.raise(err::FileNotFound);
        }
        process->closeWriteChannel();
        result = Value::object(new ExecObject(process));
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
            if (!cx.inDialog(*host, [&] { answer = host->msgBox(text, type, title); }))
                return false;
        }
        result = Value::integer(int16_t(answer));
        return true;
    }
    case ExpandEnvironmentStrings:
        result = Value::string(expand(text));
        return true;
    case Environment:
        result = Value::object(new EnvironmentObject);
        return true;
    case CurrentDirectory:
        if (kind & InvokeLet) {
            QString path;
            if (args.count != 1 || !toText(cx, args[0], path))
                return cx.raiseUnlessPending(err::WrongArgs);
            return QDir::setCurrent(path) || cx.raise(err::PathNotFound);
        }
        result = Value::string(QDir::currentPath());
        return true;
    default:
        return cx.raise(err::NoSuchMember);
    }
}
