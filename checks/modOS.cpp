#include "checks/modOS.h"

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
// documented request, which tells the truth on the systems that lack the kernel's.
TrueVersion GetTrueVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof version;
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const auto get = ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                                 reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))
                           : nullptr;
    bool answered = get && get(&version) == 0;
    if (!answered) {
        version = {};
        version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        answered = ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));
#pragma GCC diagnostic pop
    }
    if (!answered) return {};
    return {version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber,
            version.wProductType};
}

} // namespace skelvane::modOS
