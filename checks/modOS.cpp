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

TrueVersion GetTrueVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const auto get = ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                                 reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))
                           : nullptr;
    if (!get || get(&version) != 0) return {};
    return {version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber};
}

} // namespace skelvane::modOS
