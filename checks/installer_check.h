#pragma once
// The Windows Installer 3.1 row.
#include "check_result.h"
#include "installer_version.h"

#include <string>

namespace skelvane {

inline constexpr wchar_t kInstallerKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer";
inline constexpr wchar_t kInstallerValue[] = L"InstallerLocation";
inline constexpr wchar_t kInstallerLibrary[] = L"\\msi.dll";

// The exact path when it names a file with the normal attribute set (not hidden,
// system or a directory); empty text otherwise. Wildcards never match.
std::wstring FindNormalFile(const std::wstring& path);

CheckResult CheckWindowsInstaller();

} // namespace skelvane
