#pragma once

// What the fuzzing harnesses share: input bytes as script text, and an engine that runs
// any text in a small budget of time and memory without touching the machine.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine.h"

namespace fuzz {

inline QString scriptText(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Answers every box at once and stops a runaway script.
class QuietHost : public vbs::Host {
public:
    int msgBox(vbs::Context &, const QString &, int, const QString &) override { return 1; }
    std::optional<QString> inputBox(vbs::Context &, const QString &, const QString &, const QString &d) override
    {
        return d;
    }
    bool stopRunawayScript() override { return true; }
    void idle(int) override {} // Sleep passes at once
};

// An engine with a 100 ms time limit, strings and arrays capped far below the fuzzer's
// memory limit, and no FileSystemObject.
inline std::unique_ptr<vbs::Engine> sandboxedEngine(QuietHost &host)
{
    auto engine = std::make_unique<vbs::Engine>();
    engine->setHost(&host);
    engine->setTimeout(100);
    vbs::Limits limits;
    limits.maxStringLength = 1 << 18;
    limits.maxArrayElements = 1 << 16;
    engine->setLimits(limits);
    engine->registerClass(QStringLiteral("Scripting.FileSystemObject"), nullptr);
    return engine;
}

} // namespace fuzz
