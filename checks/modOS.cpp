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

} // namespace skelvane::modOS
