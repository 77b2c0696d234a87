#include "app/row_action_start.h"

#include "checks/modOS.h"
#include "common/registry_text.h"
#include "common/system_library.h"

#include <objbase.h>
#include <shellapi.h>

namespace skelvane {

namespace {

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A file under a folder the system names, when it is there.
std::wstring InFolder(UINT(WINAPI* folder)(LPWSTR, UINT), const wchar_t* under,
                      std::wstring_view name) {
    wchar_t path[MAX_PATH];
    const UINT length = folder(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::wstring file(path, length);
    file.append(under).append(name);
    return IsFile(file) ? file : std::wstring();
}

// A 32-bit process on 64-bit Windows sees the 32-bit system folder under the system
// folder's name; a tool only the 64-bit folder holds is reached through its alias, which
// Windows has from Vista on (and started from there, it is the 64-bit tool that runs).
std::wstring SystemProgram(std::wstring_view name) {
    std::wstring path = InFolder(&::GetSystemDirectoryW, L"\\", name);
    return path.empty() ? InFolder(&::GetWindowsDirectoryW, L"\\Sysnative\\", name) : path;
}

// A scheme has a handler when it is registered as a URL protocol (its "URL Protocol" text).
bool HasHandler(std::wstring_view address) {
    const std::wstring scheme(address.substr(0, address.find(L':')));
    return ReadRegistryText(HKEY_CLASSES_ROOT, scheme.c_str(), L"URL Protocol").has_value();
}

template <typename Function> Function Export(const wchar_t* dll, const char* name) {
    const HMODULE module = LoadSystemLibrary(dll); // kept: what it starts may still use it
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
               : nullptr;
}

} // namespace

ReadyAction ReadyActionFor(FailureKind kind, WindowsFamily family) {
    const RowAction* action = ActionFor(kind, family);
    if (!action) return {};
    const std::uint32_t major = modOS::GetTrueVersion().major;
    for (const Place& place : action->places) {
        if (place.target.empty() || major < place.fromMajor) continue;
        std::wstring file = place.kind == PlaceKind::Program ? SystemProgram(place.target)
                            : HasHandler(place.target)       ? std::wstring(place.target)
                                                             : std::wstring();
        if (!file.empty()) return {action->caption, std::move(file), place.arguments};
    }
    return {};
}

bool StartAction(HWND owner, const ReadyAction& action) {
    // Shell extensions that a start may go through want a single-threaded apartment. Shell32
    // and ole32 are loaded only here, from the system folder, so starting up needs neither.
    using InitializeFunction = HRESULT(WINAPI*)(void*, DWORD);
    using ExecuteFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    // Asked each time (a thread that has one is told so); a start without one may still work.
    if (const auto initialize = Export<InitializeFunction>(L"ole32.dll", "CoInitializeEx"))
        initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const auto execute = Export<ExecuteFunction>(L"shell32.dll", "ShellExecuteExW");
    if (!execute || action.caption.empty()) return false;
    const std::wstring arguments(action.arguments);
    wchar_t system[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI; // no error box of the system's either
    info.hwnd = owner;
    info.lpFile = action.file.c_str();
    info.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
    info.lpDirectory = length && length < MAX_PATH ? system : nullptr; // never the current folder
    info.nShow = SW_SHOWNORMAL;
    return execute(&info) != FALSE;
}

} // namespace skelvane
