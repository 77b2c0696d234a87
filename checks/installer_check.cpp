#include "checks/installer_check.h"

#include "common/ansi.h"
#include "common/unique_handle.h"

#include <windows.h>

namespace skelvane {

std::wstring FindNormalFile(const std::wstring& path) {
    if (path.find_first_of(L"*?") != std::wstring::npos) return {};
    const std::optional<std::string> name = ToAnsiExactly(path);
    if (!name) return {};
    WIN32_FIND_DATAA found{};
    unique_find_handle search(::FindFirstFileA(name->c_str(), &found));
    if (!search) return {};
    constexpr DWORD kNotNormal =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (found.dwFileAttributes & kNotNormal) return {};
    return FromAnsi(found.cFileName);
}

} // namespace skelvane
