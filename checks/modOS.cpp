#include "checks/modOS.h"

#include "common/system_function.h"

#include <windows.h>

#include <cstring>

namespace skelvane::modOS {

OsInfo GetOsInfo() {
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    // The answer is not consulted: on failure the record stays zero and
    // describes nothing, which fails the row.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&vi);
#pragma GCC diagnostic pop
    const std::string_view csd(vi.szCSDVersion, strnlen(vi.szCSDVersion, sizeof vi.szCSDVersion));
    return MakeOsInfo(vi.dwPlatformId, vi.dwMajorVersion, vi.dwMinorVersion, vi.dwBuildNumber, csd);
}

// The kernel's answer where it has RtlGetVersion (ntdll is in every process); else the
// documented request (the ANSI one the row already uses), which tells the truth on the
// systems that lack the kernel's.
TrueVersion GetTrueVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    OSVERSIONINFOEXW kernel{};
    kernel.dwOSVersionInfoSize = sizeof kernel;
    const auto get = SystemFunction<RtlGetVersionFunction>(L"ntdll.dll", "RtlGetVersion");
    if (get && get(&kernel) == 0)
        return {kernel.dwMajorVersion, kernel.dwMinorVersion, kernel.dwBuildNumber,
                kernel.wProductType};
    OSVERSIONINFOEXA documented{};
    documented.dwOSVersionInfoSize = sizeof documented;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&documented))) return {};
#pragma GCC diagnostic pop
    return {documented.dwMajorVersion, documented.dwMinorVersion, documented.dwBuildNumber,
            documented.wProductType};
}

} // namespace skelvane::modOS
