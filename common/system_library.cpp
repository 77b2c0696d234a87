#include "common/system_library.h"

#include "common/system_function.h"

#include <delayimp.h>

#include <iterator>

namespace skelvane {

namespace {

constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32

template <typename Function> Function Kernel32Function(const char* name) {
    return SystemFunction<Function>(L"kernel32.dll", name);
}

// True where the system restricts the DLL search itself and knows the LOAD_LIBRARY_SEARCH_*
// flags (Windows 8 and later, Vista and 7 with the loader update).
bool SearchFlagsKnown() {
    return Kernel32Function<void*>("SetDefaultDllDirectories") != nullptr;
}

// The delay-load helper asks here before it loads a DLL by its bare name.
FARPROC WINAPI OnDelayLoad(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary) return nullptr;
    wchar_t name[MAX_PATH] = {}; // no allocation here: nothing may throw through the helper
    for (std::size_t i = 0; info->szDll[i] && i + 1 < MAX_PATH; ++i)
        name[i] = static_cast<wchar_t>(static_cast<unsigned char>(info->szDll[i])); // ASCII
    if (HMODULE module = LoadSystemLibrary(name)) return reinterpret_cast<FARPROC>(module);
    // Left to itself, the helper would now load the bare name, from the program's folder
    // first. Fail as it fails, for good: no frame handler may continue the exception, and
    // should anything resume it all the same (a vectored handler can), the process ends
    // with the same code.
    constexpr DWORD kNotFound = VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND);
    ULONG_PTR argument = reinterpret_cast<ULONG_PTR>(info);
    ::RaiseException(kNotFound, EXCEPTION_NONCONTINUABLE, 1, &argument);
    ::TerminateProcess(::GetCurrentProcess(), kNotFound);
    for (;;)
        ::Sleep(INFINITE);
}

} // namespace

void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);
    if (const auto restrictSearch =
            Kernel32Function<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories"))
        restrictSearch(kSearchSystem32);
    if (const auto setDirectory = Kernel32Function<SetDllDirectoryFunction>("SetDllDirectoryW"))
        setDirectory(L""); // an empty text takes the current folder out of the search
}

// Allocates nothing, as the delay-load hook calls it.
HMODULE LoadSystemLibrary(const wchar_t* name) {
    wchar_t path[2 * MAX_PATH];
    UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    path[length++] = L'\\';
    for (; *name && length + 1 < std::size(path); ++name)
        path[length++] = *name;
    if (*name) return nullptr;
    path[length] = L'\0';
    // The DLL's own dependencies come from the system folder only; where the system lacks
    // that flag, the altered search path looks for them beside the DLL first, in the system
    // folder, never beside the program.
    return ::LoadLibraryExW(path, nullptr,
                            SearchFlagsKnown() ? kSearchSystem32 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace skelvane

// Replaces the runtime's empty hook, for every DLL of the programs' delay-load tables (the
// runtime's helper reads it by this name, declared with C linkage in delayimp.h).
PfnDliHook __pfnDliNotifyHook2 = skelvane::OnDelayLoad;
