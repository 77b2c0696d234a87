#pragma once
// Where the Windows Installer 3.1 row looks for the installer library.

#include <string>

namespace skelvane {

inline constexpr wchar_t kInstallerKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer";
inline constexpr wchar_t kInstallerValue[] = L"InstallerLocation";
inline constexpr wchar_t kInstallerLibrary[] = L"\\msi.dll";

// The exact path when it names a file with the normal attribute set (not hidden,
// system or a directory); empty text otherwise. Wildcards never match, nor does a path
// that the system code page cannot hold exactly.
std::wstring FindNormalFile(const std::wstring& path);

} // namespace skelvane
