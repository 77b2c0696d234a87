// Prints what this system says it is, for the family test: the documented request's
// version and product type (a second road to what the kernel reports), then the family
// the next steps are chosen for. "MAJOR MINOR BUILD PRODUCTTYPE FAMILY"; exit code 1 when
// the request fails.
#include "app/check_table.h"

#include <windows.h>

#include <cstdio>

int main() {
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) return 1;
#pragma GCC diagnostic pop
    std::printf("%lu %lu %lu %u %d\n", version.dwMajorVersion, version.dwMinorVersion,
                version.dwBuildNumber, static_cast<unsigned>(version.wProductType),
                static_cast<int>(skelvane::ThisWindows()));
    return 0;
}
