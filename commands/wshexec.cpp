#include "wshexec.h"

#include <QProcess>
#include <memory>
#include <vector>

#include "context.h"
#include "convert.h"

using namespace vbs;

namespace wshexec {

namespace {

// Programs the script let go of while they ran. Deleting a QProcess would end its program,
// so they are kept (reachable, not leaked) until a later look finds them ended.
void keepRunning(QProcess *process)
{
    static auto *running = new std::vector<QProcess *>;
    std::erase_if(*running, [](QProcess *p) {
        p->waitForFinished(0);
        const bool ended = p->state() == QProcess::NotRunning;
        if (ended)
            delete p;
        return ended;
    });
    running->push_back(process);
}

// The running program, shared by the Exec object and its streams; when the last of them
// goes, a program still running is left to run.
class Program {
public:
    explicit Program(QProcess *process) : m_process(process), m_pid(process->processId()) {}
    ~Program()
    {
        m_process->waitForFinished(0);
        if (m_process->state() == QProcess::NotRunning)
            delete m_process;
        else
            keepRunning(m_process);
    }
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    QProcess *process() const { return m_process; }
    qint64 pid() const { return m_pid; }
    bool running() const
    {
        m_process->waitForFinished(0);
        return m_process->state() != QProcess::NotRunning;
    }
    // Moves what the program has written into the buffers.
    void collect()
    {
        m_out += m_process->readAllStandardOutput();
        m_err += m_process->readAllStandardError();
    }
    QByteArray &buffer(bool errors) { return errors ? m_err : m_out; }

private:
    QProcess *m_process;
    qint64 m_pid;
    QByteArray m_out, m_err;
};

// StdOut or StdErr: reads wait (within the time limit) until there is enough to read or
// the program has ended.
class OutputStream : public Object {
public:
    OutputStream(std::shared_ptr<Program> program, bool errors) : m_program(std::move(program)), m_errors(errors) {}
    QString typeName() const override { return QStringLiteral("TextStream"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"ReadAll", "ReadLine", "AtEndOfStream", "Read", "SkipLine"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        QByteArray &buffer = m_program->buffer(m_errors);
        int32_t count = 0;
        if (id == 4 && (args.count != 1 || !toLong(cx, args[0], count)))
            return cx.raiseUnlessPending(err::WrongArgs);
        // How much is enough: everything (ReadAll), a line, some text, or count characters.
        const auto enough = [&]() -> bool {
            switch (id) {
            case 1: return false;
            case 2: case 5: return buffer.contains('\n');
            case 3: return !buffer.isEmpty();
            default: return QString::fromLocal8Bit(buffer).size() >= count;
            }
        };
        if (!cx.waitUntil([&](int slice) {
                m_program->collect();
                if (enough() || !m_program->running()) {
                    m_program->collect();
                    return true;
                }
                QProcess *p = m_program->process();
                p->setReadChannel(m_errors ? QProcess::StandardError : QProcess::StandardOutput);
                p->waitForReadyRead(qMin(slice, 50));
                return false;
            }))
            return false;
        switch (id) {
        case 1:
            result = Value::string(QString::fromLocal8Bit(buffer));
            buffer.clear();
            return true;
        case 2:
        case 5: {
            if (buffer.isEmpty())
                return cx.raise(err::InputPastEnd);
            const qsizetype nl = buffer.indexOf('\n');
            QByteArray line = nl < 0 ? buffer : buffer.left(nl);
            buffer.remove(0, nl < 0 ? buffer.size() : nl + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            if (id == 2)
                result = Value::string(QString::fromLocal8Bit(line));
            return true;
        }
        case 3:
            result = Value::boolean(buffer.isEmpty());
            return true;
        default: {
            const QString text = QString::fromLocal8Bit(buffer);
            const QString taken = text.left(qMax(0, count));
            buffer = text.mid(taken.size()).toLocal8Bit();
            result = Value::string(taken);
            return true;
        }
        }
    }

private:
    std::shared_ptr<Program> m_program;
    bool m_errors;
};

// StdIn: what the script writes reaches the program at once; Close ends its input.
class InputStream : public Object {
public:
    explicit InputStream(std::shared_ptr<Program> program) : m_program(std::move(program)) {}
    QString typeName() const override { return QStringLiteral("TextStream"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Write", "WriteLine", "Close", "WriteBlankLines"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        QProcess *p = m_program->process();
        if (id == 3) {
            p->closeWriteChannel();
            return true;
        }
        QString text;
        int32_t lines = 0;
        if (id == 4 ? (args.count != 1 || !toLong(cx, args[0], lines)) : (args.count > 1 || (args.count == 1 && !toText(cx, args[0], text))))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (id == 2)
            text += QLatin1Char('\n');
        if (id == 4)
            text = QString(qBound(0, int(lines), 1 << 20), QLatin1Char('\n'));
        if (p->state() != QProcess::Running)
            return cx.raise(err::BadFileMode, QStringLiteral("The program has ended; its input is closed"));
        p->write(text.toLocal8Bit());
        return cx.waitUntil([p](int slice) { return p->bytesToWrite() == 0 || !p->waitForBytesWritten(slice) || p->bytesToWrite() == 0; });
    }

private:
    std::shared_ptr<Program> m_program;
};

class ExecObject : public Object {
public:
    explicit ExecObject(std::shared_ptr<Program> program) : m_program(std::move(program))
    {
        m_stdin = Value::object(new InputStream(m_program));
        m_stdout = Value::object(new OutputStream(m_program, false));
        m_stderr = Value::object(new OutputStream(m_program, true));
    }
    QString typeName() const override { return QStringLiteral("WshExec"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Status", "ExitCode", "ProcessID", "StdIn", "StdOut", "StdErr", "Terminate"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        const bool running = m_program->running();
        switch (id) {
        case 1: result = Value::integer(running ? 0 : 1); return true;
        case 2: result = Value::lng(running ? 0 : m_program->process()->exitCode()); return true;
        case 3: result = Value::lng(int32_t(m_program->pid())); return true;
        case 4: result = m_stdin; return true;
        case 5: result = m_stdout; return true;
        case 6: result = m_stderr; return true;
        default:
            if (running) {
                m_program->process()->terminate();
                if (!m_program->process()->waitForFinished(500))
                    m_program->process()->kill();
            }
            return true;
        }
    }

private:
    std::shared_ptr<Program> m_program;
    Value m_stdin, m_stdout, m_stderr;
};

} // namespace

Object *start(const QStringList &program)
{
    auto *process = new QProcess;
    process->start(program.first(), program.mid(1));
    if (!process->waitForStarted()) {
        delete process;
        return nullptr;
    }
    return new ExecObject(std::make_shared<Program>(process));
}

} // namespace wshexec
