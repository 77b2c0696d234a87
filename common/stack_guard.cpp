// Linked into each program: the guard value the compiler's stack protector checks, and
// what happens when a check fails. The runtime's own would ask the system's cryptography
// for the value, which loads a chain of DLLs before the window can show (about 20 ms under
// Wine). The value is mixed, as the Microsoft compiler mixes its own, from what differs
// between runs and processes: the time, the counters, the process and thread, and where
// ASLR put the stack and the program.
#include <windows.h>

#include <cstdint>

extern "C" {

std::uintptr_t __stack_chk_guard = 0xBB40E64Eu; // until the first initialiser replaces it

// An overrun has been found: nothing more of this process may run, not even its handlers.
[[noreturn]] void __stack_chk_fail() {
    ::TerminateProcess(::GetCurrentProcess(), 0xC0000409); // STATUS_STACK_BUFFER_OVERRUN
    for (;;) {
    }
}

} // extern "C"

namespace {

// Not protected itself: the guard it changes would no longer match the one it started with.
[[gnu::constructor(101), gnu::no_stack_protector]] void ChooseStackGuard() {
    FILETIME time{};
    ::GetSystemTimeAsFileTime(&time);
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    std::uint64_t value = (std::uint64_t{time.dwHighDateTime} << 32) ^ time.dwLowDateTime;
    value ^= static_cast<std::uint64_t>(counter.QuadPart) * 0x9E3779B97F4A7C15u;
    value ^= std::uint64_t{::GetCurrentProcessId()} << 32 ^ ::GetCurrentThreadId();
    value ^= ::GetTickCount();
    value ^= reinterpret_cast<std::uintptr_t>(&value) ^
             reinterpret_cast<std::uintptr_t>(&ChooseStackGuard);
    value ^= value >> 29;
    value *= 0xBF58476D1CE4E5B9u;
    value ^= value >> 32;
    if (static_cast<std::uintptr_t>(value) == 0) value = 0xBB40E64Eu; // never the blank value
    __stack_chk_guard = static_cast<std::uintptr_t>(value);
}

} // namespace
