// Fuzzes the whole engine: compiles the text, runs its top-level code and then Main, in a
// budget of 100 ms and small strings and arrays. Any text must end as a result or a clean
// error.
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::QuietHost host;
    const std::unique_ptr<vbs::Engine> engine = fuzz::sandboxedEngine(host);
    if (engine->addCode(fuzz::scriptText(data, size)))
        engine->run(QStringLiteral("Main"));
    return 0;
}
