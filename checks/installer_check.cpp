#include "installer_check.h"

#include "../common/ansi.h"
#include "../common/unique_handle.h"
#include "../registry/cRegistry.h"
#include "version_info.h"

#include <windows.h>

namespace skelvane {

std::wstring FindNormalFile(const std::wstring& path) {
    if (path.find_first_of(L"*?") != std::wstring::npos) return {};
    WIN32_FIND_DATAA found{};
    unique_find_handle search(::FindFirstFileA(ToAnsi(path).c_str(), &found));
    if (!search) return {};
    constexpr DWORD kNotNormal =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (found.dwFileAttributes & kNotNormal) return {};
    return FromAnsi(found.cFileName);
}

CheckResult CheckWindowsInstaller() {
    std::wstring location;
    {
        cRegistry registry;
        registry.ClassKey(kHkeyLocalMachine);
        registry.SectionKey(kInstallerKey);
        registry.ValueKey(kInstallerValue);
        registry.ValueType(kRegSz);
        location = ToText(registry.Value());
    }
    // Joined as they are: a trailing backslash doubles, an empty location leaves the root.
    const std::wstring library = location + kInstallerLibrary;
    if (FindNormalFile(library).empty()) return Fail(L"msi.dll not found: " + library);

    VersionInfo info;
    if (ReadVersionResource(library, info) == VersionRead::Damaged)
        return Fail(L"the version resource is damaged: " + library);
    if (info.FileVersion.empty()) return Fail(L"msi.dll has no file version: " + library);
    if (IsInstallerOK(info.FileVersion)) return Pass(L"msi.dll version " + info.FileVersion);
    return Fail(L"msi.dll version " + info.FileVersion + L" is below 3.1");
}

} // namespace skelvane
