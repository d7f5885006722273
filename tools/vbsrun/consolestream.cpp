#include "consolestream.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <poll.h>
#include <unistd.h>

#include "consoleinput.h"
#include "context.h"
#include "convert.h"

using namespace vbs;

namespace {

bool utf16Output = false;

enum StreamId {
    Write = 1, WriteLine, WriteBlankLines, ReadLine, ReadAll, Read, Skip, SkipLine, AtEndOfStream, AtEndOfLine,
    Line, Column, Close,
};

} // namespace

void ConsoleOutput::setUtf16(bool on)
{
    utf16Output = on;
}

bool ConsoleOutput::write(FILE *file, const QString &text, Context *cx)
{
    QByteArray bytes;
    if (utf16Output)
        bytes = QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    else
        bytes = text.toUtf8();
    std::fflush(file);
    const int fd = fileno(file);
    // Pieces no larger than a pipe takes at once when it says it has room: a write that
    // would block is waited for in slices, each of which can end at the time limit.
    for (qsizetype done = 0; done < bytes.size();) {
        if (cx && !cx->waitUntil([fd](int slice) {
                pollfd p{fd, POLLOUT, 0};
                return ::poll(&p, 1, slice) != 0;
            }))
            return false;
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(qMin<qsizetype>(bytes.size() - done, PIPE_BUF)));
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            const QString why = QString::fromLocal8Bit(std::strerror(errno));
            return cx && cx->raise(57, QStringLiteral("Device I/O error: the output cannot be written (%1)").arg(why));
        }
        done += n;
    }
    return true;
}

int ConsoleStream::memberId(const QString &name)
{
    static const MemberTable members{"Write", "WriteLine", "WriteBlankLines", "ReadLine", "ReadAll", "Read",
                                     "Skip", "SkipLine", "AtEndOfStream", "AtEndOfLine", "Line", "Column", "Close"};
    return members.id(name);
}

void ConsoleStream::count(const QByteArray &text)
{
    for (const char c : text) {
        if (c == '\n') {
            ++m_line;
            m_column = 1;
        } else {
            ++m_column;
        }
    }
}

bool ConsoleStream::invoke(Context &cx, int id, Invoke kind, Args args, Value &result)
{
    if (kind & (InvokeLet | InvokeSet))
        return cx.raise(err::NoSuchMember);
    const bool reading = id >= ReadLine && id <= AtEndOfLine;
    const bool writing = id >= Write && id <= WriteBlankLines;
    if ((reading || writing) && reading != (m_file == stdin))
        return cx.raise(54); // Bad file mode: StdIn is only read, StdOut and StdErr only written
    if (reading)
        return read(cx, id, args, result);
    switch (id) {
    case Write:
    case WriteLine: {
        QString text;
        if (args.has(0) && !toText(cx, args[0], text))
            return false;
        if (id == WriteLine)
            text += QLatin1Char('\n');
        return ConsoleOutput::write(m_file, text, &cx);
    }
    case WriteBlankLines: {
        int32_t n = 0;
        if (args.count != 1 || !toLong(cx, args[0], n))
            return cx.raiseUnlessPending(err::WrongArgs);
        constexpr int32_t Piece = 4096;
        for (int32_t left = qMax(0, n); left > 0; left -= Piece)
            if (!ConsoleOutput::write(m_file, QString(qMin(left, Piece), QLatin1Char('\n')), &cx) || !cx.spend(Piece))
                return false;
        return true;
    }
    case Line: result = Value::lng(m_line); return true;
    case Column: result = Value::lng(m_column); return true;
    case Close: return true;
    default: return cx.raise(err::NoSuchMember);
    }
}

bool ConsoleStream::read(Context &cx, int id, Args args, Value &result)
{
    ConsoleInput &in = ConsoleInput::standard();
    int32_t n = 0;
    if ((id == Read || id == Skip) && (args.count != 1 || !toLong(cx, args[0], n)))
        return cx.raiseUnlessPending(err::WrongArgs);
    if ((id == Read || id == Skip) && n < 0)
        return cx.raise(err::InvalidCall);
    switch (id) {
    case ReadLine:
    case SkipLine: {
        const std::optional<QByteArray> line = in.readLine(cx);
        if (!line)
            return cx.hasError() ? false : cx.raise(62); // Input past end of file
        count(*line + '\n');
        if (id == ReadLine)
            result = Value::string(QString::fromUtf8(*line));
        return true;
    }
    case ReadAll: {
        const std::optional<QByteArray> all = in.readAll(cx);
        if (!all)
            return false;
        count(*all);
        result = Value::string(QString::fromUtf8(*all));
        return true;
    }
    case Read:
    case Skip: {
        const std::optional<QByteArray> part = in.read(cx, n);
        if (!part)
            return false;
        count(*part);
        if (id == Read)
            result = Value::string(QString::fromUtf8(*part));
        return true;
    }
    case AtEndOfStream:
    case AtEndOfLine: {
        const std::optional<bool> at = id == AtEndOfStream ? in.atEnd(cx) : in.atEndOfLine(cx);
        if (!at)
            return false;
        result = Value::boolean(*at);
        return true;
    }
    default:
        return cx.raise(err::NoSuchMember);
    }
}
