#include "checks/program_files.h"

#include "common/registry_text.h"
#include "common/system_function.h"

namespace skelvane {

namespace {

constexpr wchar_t kCurrentVersionKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr wchar_t kProgramFilesValue[] = L"ProgramFilesDir";

bool On64BitWindows() {
    if constexpr (sizeof(void*) == 8) return true;
    // Looked up at run time: a Windows that lacks it (XP before SP2) is 32-bit Windows.
    using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64 = SystemFunction<IsWow64ProcessFunction>(L"kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(::GetCurrentProcess(), &wow64) && wow64;
}

std::wstring ProgramFilesIn(REGSAM view) {
    return ReadRegistryText(HKEY_LOCAL_MACHINE, kCurrentVersionKey, kProgramFilesValue, view)
        .value_or(std::wstring());
}

} // namespace

// The registry rather than the environment, which is whatever started the program made it
// (and %ProgramW6432% only exists from Windows 7 on). On 64-bit Windows each registry view
// of HKLM\SOFTWARE names its own folder: a 32-bit program sees the (x86) one, whichever
// build asks, and reaches the 64-bit view only by asking for it.
ProgramFilesFolders SystemProgramFiles() {
    if (!On64BitWindows()) return {ProgramFilesIn(0), {}};
    return {ProgramFilesIn(KEY_WOW64_32KEY), ProgramFilesIn(KEY_WOW64_64KEY)};
}

} // namespace skelvane
