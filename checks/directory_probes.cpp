#include "checks/directory_probes.h"

#include "common/ansi.h"

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

} // namespace skelvane
