// Reads one REG_SZ value N times through cRegistry::Value and through RegGetValueA,
// in the same run, and prints reads per second of each.
#include "registry/cRegistry.h"

#include <windows.h>

#include <cstdio>

#ifndef RRF_RT_REG_SZ
#define RRF_RT_REG_SZ 0x00000002
#endif

namespace {
double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / f.QuadPart;
}
using RegGetValueAFn = LONG(WINAPI*)(HKEY, LPCSTR, LPCSTR, DWORD, LPDWORD, PVOID, LPDWORD);
} // namespace

int main() {
    using namespace skelvane;
    const int n = 20000;
    cRegistry reg;
    reg.ClassKey(static_cast<std::int32_t>(0x80000001u));
    reg.SectionKey(L"Software\\SkelvaneBench");
    reg.ValueKey(L"text");
    reg.ValueType(kRegSz);
    reg.Value(std::wstring(L"C:\\Program Files\\Quorrel\\Client"));
    // Looked up at run time: XP's advapi32 has no RegGetValueA, and this program links like the
    // product.
    auto regGetValue = reinterpret_cast<RegGetValueAFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"advapi32.dll"), "RegGetValueA")));
    if (!regGetValue) return 1;

    LARGE_INTEGER a, b, c;
    ::QueryPerformanceCounter(&a);
    std::size_t total = 0;
    for (int i = 0; i < n; ++i)
        total += ToText(reg.Value()).size();
    ::QueryPerformanceCounter(&b);
    for (int i = 0; i < n; ++i) {
        char data[256];
        DWORD size = sizeof data;
        regGetValue(HKEY_CURRENT_USER, "Software\\SkelvaneBench", "text", RRF_RT_REG_SZ, nullptr,
                    data, &size);
        total += size;
    }
    ::QueryPerformanceCounter(&c);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\SkelvaneBench");
    const double classRate = n / Seconds(a, b), directRate = n / Seconds(b, c);
    std::printf("%.0f %.0f %zu\n", classRate, directRate, total);
    return 0;
}
