// Built like the programs, with their stack guard: "overrun" writes past a stack buffer,
// anything else prints the guard value this run chose.
#include <cstdint>
#include <cstdio>
#include <cstring>

extern "C" std::uintptr_t __stack_chk_guard;

// Not inlined and fed from outside, so the compiler cannot see the overrun coming.
[[gnu::noinline]] int Overrun(const char* text, std::size_t length) {
    char buffer[16];
    std::memcpy(buffer, text, length);
    return buffer[length / 2];
}

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "overrun") == 0) {
        static const char long_text[64] = "far more than sixteen bytes, far more than sixteen";
        return Overrun(long_text, static_cast<std::size_t>(argc) * 24 + 16);
    }
    std::printf("%llx\n", static_cast<unsigned long long>(__stack_chk_guard));
    return 0;
}
