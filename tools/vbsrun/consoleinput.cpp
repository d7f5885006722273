#include "consoleinput.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

#include "context.h"

ConsoleInput &ConsoleInput::standard()
{
    static ConsoleInput input(STDIN_FILENO);
    return input;
}

bool ConsoleInput::readSome(int milliseconds)
{
    pollfd p{m_fd, POLLIN, 0};
    const int ready = poll(&p, 1, milliseconds);
    if (ready < 0 && errno == EINTR)
        return false;
    if (ready == 0)
        return false;
    char chunk[65536];
    const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return false;
    if (n <= 0)
        m_ended = true; // end of input, or input that cannot be read
    else
        m_buffer.append(chunk, n);
    return true;
}

template <typename Enough>
bool ConsoleInput::fill(vbs::Context &cx, Enough enough)
{
    return cx.waitUntil([&](int slice) {
        while (!m_ended && !enough()) {
            if (!readSome(slice))
                return false;
        }
        return true;
    });
}

std::optional<QByteArray> ConsoleInput::readLine(vbs::Context &cx)
{
    if (!fill(cx, [this] { return m_buffer.contains('\n'); }))
        return std::nullopt;
    if (m_buffer.isEmpty() && m_ended)
        return std::nullopt;
    const qsizetype nl = m_buffer.indexOf('\n');
    QByteArray line = nl < 0 ? m_buffer : m_buffer.left(nl);
    m_buffer.remove(0, nl < 0 ? m_buffer.size() : nl + 1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

std::optional<QByteArray> ConsoleInput::readAll(vbs::Context &cx)
{
    if (!fill(cx, [] { return false; }))
        return std::nullopt;
    QByteArray all;
    all.swap(m_buffer);
    return all;
}

std::optional<QByteArray> ConsoleInput::read(vbs::Context &cx, qsizetype count)
{
    if (!fill(cx, [this, count] { return m_buffer.size() >= count; }))
        return std::nullopt;
    QByteArray part = m_buffer.left(count);
    m_buffer.remove(0, part.size());
    return part;
}

std::optional<bool> ConsoleInput::atEnd(vbs::Context &cx)
{
    if (!fill(cx, [this] { return !m_buffer.isEmpty(); }))
        return std::nullopt;
    return m_buffer.isEmpty();
}

std::optional<bool> ConsoleInput::atEndOfLine(vbs::Context &cx)
{
    if (!fill(cx, [this] { return !m_buffer.isEmpty(); }))
        return std::nullopt;
    return m_buffer.isEmpty() || m_buffer.startsWith('\n') || m_buffer.startsWith('\r');
}
