#include "context.h"

#include <QElapsedTimer>
#include <QThread>

namespace vbs {

bool Context::raise(int32_t number, const QString &description, const QString &source)
{
    // An empty description is filled in later: with the name of the failing call where
    // there is one ("Invalid procedure call or argument: 'Mid'"), else VBScript's text.
    m_hasError = true;
    m_error = ScriptError();
    m_error.number = number;
    m_error.description = description;
    m_error.source = source;
    return false;
}

void Host::idle(int milliseconds)
{
    QThread::msleep(ulong(std::max(0, milliseconds)));
}

bool Context::waitUntil(const std::function<bool(int)> &ready)
{
    constexpr qint64 Slice = 50;
    for (;;) {
        const qint64 left = msUntilDeadline();
        const qint64 slice = left < 0 ? Slice : std::min(Slice, left + 1);
        if (ready(int(slice)))
            return true;
        if (!checkTime())
            return false;
    }
}

bool Context::sleep(qint64 milliseconds)
{
    QElapsedTimer slept;
    slept.start();
    return waitUntil([&](int slice) {
        const qint64 left = milliseconds - slept.elapsed();
        if (left <= 0)
            return true;
        if (Host *h = host())
            h->idle(int(std::min<qint64>(slice, left)));
        else
            QThread::msleep(ulong(std::min<qint64>(slice, left)));
        return slept.elapsed() >= milliseconds;
    });
}

float Context::nextRandom(double argument)
{
    if (argument == 0)
        return m_lastRandom;
    if (argument < 0) {
        std::mt19937 fixed(uint32_t(int64_t(argument * 1000)));
        m_lastRandom = std::uniform_real_distribution<float>(0.0f, 1.0f)(fixed);
        return m_lastRandom;
    }
    m_lastRandom = std::uniform_real_distribution<float>(0.0f, 1.0f)(m_random);
    if (m_lastRandom >= 1.0f)
        m_lastRandom = 0.0f;
    return m_lastRandom;
}

} // namespace vbs
