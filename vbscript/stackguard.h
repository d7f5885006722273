#pragma once

#include <cstddef>
#include <cstdint>

namespace vbs {

// Bounds every recursive path of the engine by the real C++ stack rather than by a count:
// the lexer, parser, compiler and interpreter ask exhausted() before they go one level
// deeper and fail with 28 "Out of stack space" instead of overflowing. A reserve stays
// free below the guard for what runs without asking: the host's dialogs, library code,
// the deepest step between two checks.
class StackGuard {
public:
    static constexpr size_t Reserve = 1024 * 1024;
    // Never more than this much stack for script recursion, however large the thread's.
    static constexpr size_t MaxUse = 64 * 1024 * 1024;

    // Places the guard for the calling thread's stack, measured from the caller's frame.
    void arm();
    bool exhausted() const { return stackPointer() < m_limit; }

    // Read straight from the register where we can: asking for the frame address instead
    // makes every function that checks keep a frame pointer, a cost on the hottest paths.
    [[gnu::always_inline]] static uintptr_t stackPointer()
    {
        uintptr_t sp;
#if defined(__x86_64__)
        asm volatile("mov %%rsp, %0" : "=r"(sp));
#elif defined(__aarch64__)
        asm volatile("mov %0, sp" : "=r"(sp));
#else
        sp = uintptr_t(__builtin_frame_address(0));
#endif
        return sp;
    }

private:
    uintptr_t m_limit = 0;
};

} // namespace vbs
