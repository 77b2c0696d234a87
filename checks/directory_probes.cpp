#include "directory_probes.h"

#include "../common/ansi.h"
#include "path_template.h"

#include <windows.h>

namespace skelvane {

std::wstring WindowsDirectory() {
    char buffer[512] = {};
    const UINT n = ::GetWindowsDirectoryA(buffer, sizeof buffer);
    // A result as large as the buffer is the size it would need: nothing usable was written.
    if (n == 0 || n >= sizeof buffer) return {};
    return FromAnsi({buffer, n});
}

bool DirExists(const std::wstring& DirName) {
    const DWORD attributes = ::GetFileAttributesA(ToAnsi(DirName).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

CheckResult CheckDotNetFramework() {
    const std::wstring path = ReplaceAll(kDotNetPathTemplate, kWindowsToken, WindowsDirectory());
    if (DirExists(path)) return Pass(L"directory found: " + path);
    return Fail(L"directory not found: " + path);
}

CheckResult CheckReaderTools() {
    // Both names are probed every time, the older one first.
    const bool first = DirExists(kReaderToolsPaths[0]);
    const bool second = DirExists(kReaderToolsPaths[1]);
    if (first) return Pass(std::wstring(L"directory found: ") + kReaderToolsPaths[0]);
    if (second) return Pass(std::wstring(L"directory found: ") + kReaderToolsPaths[1]);
    return Fail(std::wstring(L"directory not found: ") + kReaderToolsPaths[0] + L" or " +
                kReaderToolsPaths[1]);
}

} // namespace skelvane
