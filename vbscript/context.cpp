#include "context.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstring>
#include <unistd.h>

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

qint64 Limits::defaultMemoryCap()
{
    static const qint64 cap = [] {
        qint64 total = qint64(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGE_SIZE);
        // A control group's own limit (a container, a CI job) comes first where it is lower.
        QFile group(QStringLiteral("/sys/fs/cgroup/memory.max"));
        if (group.open(QIODevice::ReadOnly)) {
            bool ok = false;
            const qint64 limit = group.readAll().trimmed().toLongLong(&ok);
            if (ok && limit > 0 && (total <= 0 || limit < total))
                total = limit;
        }
        return total > 0 ? total / 2 : qint64(4) << 30;
    }();
    return cap;
}

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return 0;
    char text[128] = {};
    const qint64 n = statm.read(text, sizeof text - 1);
    if (n <= 0)
        return 0;
    const char *second = std::strchr(text, ' ');
    return second ? std::strtoll(second + 1, nullptr, 10) * sysconf(_SC_PAGE_SIZE) : 0;
}

bool Context::reserveMemory(qint64 bytes)
{
    if (bytes < (qint64(1) << 20)) // small ones are seen by the clock's own look
        return true;
    // The figure the clock keeps is recent enough to say yes to a middling piece; a large
    // one, or a no, is looked at again.
    if (m_resident > 0 && bytes < (qint64(16) << 20) && m_resident + bytes <= limits.maxMemoryBytes)
        return true;
    m_resident = residentBytes();
    if (m_resident + bytes > limits.maxMemoryBytes)
        return raise(err::OutOfMemory);
    return true;
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
    Host *h = host();
    const bool counts = !h || h->sleepCounts();
    if (!counts)
        pauseClock();
    const bool ok = waitUntil([&](int slice) {
        const qint64 left = milliseconds - slept.elapsed();
        if (left <= 0)
            return true;
        if (h)
            h->idle(int(std::min<qint64>(slice, left)));
        else
            QThread::msleep(ulong(std::min<qint64>(slice, left)));
        return slept.elapsed() >= milliseconds;
    });
    if (!counts)
        resumeClock();
    return ok;
}

// VBScript's documented generator: a 24-bit linear congruential sequence,
//   seed = (seed * &H43FD43FD + &HC39EC3) Mod 2^24,   Rnd = seed / 2^24,
// starting from &H50000 in every run. A negative argument first sets the seed from the
// bits of the argument as a Single; 0 gives the last number again.
float Context::nextRandom(double argument)
{
    if (argument < 0) {
        const float single = float(argument);
        uint32_t bits;
        std::memcpy(&bits, &single, sizeof bits);
        m_seed = (bits + (bits >> 24)) & 0xFFFFFF;
    }
    if (argument != 0)
        m_seed = (m_seed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFF;
    return float(m_seed) / 16777216.0f;
}

// Randomize number: the middle 16 bits of the seed come from the upper half of the
// number's Double bits, folded; the lowest byte stays.
void Context::randomize(double number)
{
    uint64_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    const uint32_t high = uint32_t(bits >> 32);
    const uint32_t folded = ((high & 0xFFFF) ^ (high >> 16)) << 8;
    m_seed = (m_seed & 0xFF) | (folded & 0xFFFF00);
}

} // namespace vbs
