#pragma once
// The directory probes behind the .NET Framework 3.5 and reader tools rows: only
// whether a directory exists counts.
#include <string>

namespace skelvane {

inline constexpr wchar_t kDotNetPathTemplate[] = L"$WIN$\\Microsoft.NET\\Framework\\v3.5";
inline constexpr wchar_t kWindowsToken[] = L"$WIN$";

// The Windows directory as the system gives it; empty text when the call fails.
std::wstring WindowsDirectory();

// True only when the path names an existing directory; every failure is False.
bool DirExists(const std::wstring& DirName);

} // namespace skelvane
