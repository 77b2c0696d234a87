#include "support.h"

#include "checks/directory_probes.h"
#include "checks/installer_check.h"
#include "checks/reader_tools.h"
#include "common/shown_text.h"

#include <algorithm>
#include <string>

namespace skelvane::test {

std::wstring WinePath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p)
        path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

bool ShowsUnsafe(std::wstring_view text) {
    std::wstring lines(text);
    for (wchar_t& c : lines)
        if (c == L'\r' || c == L'\n') c = L' ';
    if (ShownText(lines) != lines) return true;
    return text.find(L"\\u00") != std::wstring_view::npos;
}

bool ShowsUnsafe(std::string_view utf8) {
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                          length);
    return ShowsUnsafe(text);
}

std::vector<char> VersionBlock(const std::wstring& exe) {
    DWORD ignored = 0;
    std::vector<char> block(::GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    if (block.empty() ||
        !::GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
        block.clear();
    return block;
}

std::wstring VersionString(std::vector<char>& block, const std::wstring& key) {
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), (L"\\StringFileInfo\\040904B0\\" + key).c_str(), &value,
                          &length))
        return L"<missing>";
    return static_cast<const wchar_t*>(value);
}

ReaderAndFramework::ReaderAndFramework() {
    for (const std::wstring& path :
         {WindowsDirectory() + L"\\Microsoft.NET",
          WindowsDirectory() + L"\\Microsoft.NET\\Framework",
          WindowsDirectory() + L"\\Microsoft.NET\\Framework\\v3.5",
          std::wstring(L"C:\\Program Files\\GemAlto"), std::wstring(kReaderToolsPaths[1])})
        if (::CreateDirectoryW(path.c_str(), nullptr)) made_.push_back(path);
}

ReaderAndFramework::~ReaderAndFramework() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it)
        ::RemoveDirectoryW(it->c_str());
}

std::wstring ProductExe(const wchar_t* name) {
    return WinePath(SKELVANE_PRODUCT_DIR) + L"\\" + name;
}

std::wstring TestKey(const std::wstring& leaf) {
    std::wstring prefix;
    for (const char* p = SKELVANE_TEST_PREFIX; *p; ++p)
        prefix += static_cast<wchar_t>(*p);
    return L"Software\\SkelvaneTests\\" + prefix + std::to_wstring(::GetCurrentProcessId()) +
           L"\\" + leaf;
}

RegistryValueGuard::RegistryValueGuard(std::int32_t root, const std::wstring& key,
                                       const std::wstring& name) {
    reg_.ClassKey(root);
    reg_.SectionKey(key);
    reg_.ValueKey(name);
    original_ = reg_.Value();
    type_ = reg_.ValueType();
    existed_ = !std::holds_alternative<std::monostate>(original_);
}

RegistryValueGuard::~RegistryValueGuard() {
    if (!existed_) {
        Remove();
    } else {
        reg_.ValueType(type_);
        reg_.Value(original_);
    }
}

void RegistryValueGuard::Set(const std::wstring& text) {
    reg_.ValueType(kRegSz);
    reg_.Value(text);
}

void RegistryValueGuard::Set(std::int32_t number) {
    reg_.ValueType(kRegDword);
    reg_.Value(number);
}

void RegistryValueGuard::Set(const ByteArray& bytes) {
    reg_.ValueType(kRegBinary);
    reg_.Value(bytes);
}

ProxySetting::ProxySetting(const std::string& proxy)
    : value_(kHkeyCurrentUser,
             L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections",
             L"DefaultConnectionSettings") {
    // Version, counter, flags (direct and named proxy), the proxy, no bypass, no script.
    const std::string blob = std::string("\x46\0\0\0\1\0\0\0\3\0\0\0", 12) +
                             static_cast<char>(proxy.size()) + std::string(3, '\0') + proxy +
                             std::string(40, '\0');
    value_.Set(ByteArray(blob.begin(), blob.end()));
}

void RegistryValueGuard::Remove() {
    try {
        reg_.DeleteValue();
    } catch (const RegistryError&) {
        // Already absent.
    }
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
    ::DeleteFileW(path.c_str());
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    path_ = std::wstring(base) + L"skelvane-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    RemoveTree(path_);
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    unique_kernel_handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return false;
    }
    DWORD written = 0;
    return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) &&
           written == bytes.size();
}

std::string ReadFileBytes(const std::wstring& path) {
    unique_kernel_handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return {};
    }
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

ChildProcess::ChildProcess(const std::wstring& commandLine, bool captureOutput, int showCommand,
                           const wchar_t* startIn) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (showCommand >= 0) {
        si.dwFlags |= STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(showCommand);
    }
    unique_kernel_handle outputWrite;
    if (captureOutput) {
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        if (::CreatePipe(&read, &write, &sa, 0)) {
            outputRead_.reset(read);
            outputWrite.reset(write);
            ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
            si.dwFlags |= STARTF_USESTDHANDLES;
            si.hStdOutput = write;
            si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
            si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        }
    }
    // Wine, on a loaded machine, now and then fails a start that succeeds a moment later:
    // a test that starts hundreds of children must not fail on that.
    for (int attempt = 0; attempt < 5 && !process_; ++attempt) {
        if (attempt > 0) ::Sleep(200);
        std::wstring line = commandLine;
        PROCESS_INFORMATION pi{};
        if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, captureOutput, 0, nullptr,
                             startIn, &si, &pi)) {
            process_.reset(pi.hProcess);
            ::CloseHandle(pi.hThread);
            id_ = pi.dwProcessId;
        }
    }
}

ChildProcess::~ChildProcess() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 99);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

void ChildProcess::Drain() {
    DWORD available = 0;
    while (::PeekNamedPipe(outputRead_.get(), nullptr, 0, nullptr, &available, nullptr) &&
           available) {
        char buffer[4096];
        DWORD got = 0;
        if (!::ReadFile(outputRead_.get(), buffer, sizeof buffer, &got, nullptr) || !got) break;
        output_.append(buffer, got);
    }
}

bool ChildProcess::Wait(DWORD ms) {
    if (!process_) return false;
    if (!outputRead_) return ::WaitForSingleObject(process_.get(), ms) == WAIT_OBJECT_0;
    // Drain the pipe while waiting, so a talkative child never blocks on a full pipe.
    const DWORD start = ::GetTickCount();
    for (;;) {
        Drain();
        if (::WaitForSingleObject(process_.get(), 20) == WAIT_OBJECT_0) break;
        if (::GetTickCount() - start > ms) return false;
    }
    Drain();
    return true;
}

DWORD ChildProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

std::string ChildProcess::Output() {
    return output_;
}

namespace {
struct WindowSearch {
    DWORD pid;
    const wchar_t* cls;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM data) {
    auto* s = reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (pid == s->pid && std::wstring(cls) == s->cls &&
        (!s->visibleOnly || ::IsWindowVisible(hwnd))) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindProcessWindow(DWORD processId, const wchar_t* windowClass, DWORD timeoutMs,
                       bool visibleOnly) {
    WindowSearch search{processId, windowClass, visibleOnly, nullptr};
    const DWORD start = ::GetTickCount();
    while (!search.found && ::GetTickCount() - start < timeoutMs) {
        ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) ::Sleep(50);
    }
    return search.found;
}

HWND Item(HWND window, ControlId id) {
    return ::GetDlgItem(window, static_cast<int>(id));
}

PixelRect PlaceOf(HWND window, ControlId id) {
    RECT r;
    ::GetWindowRect(Item(window, id), &r);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

PixelRect Shot::Ink(const PixelRect& r, Colour background, double ratio) const {
    int left = r.left + r.width, right = -1, top = r.top + r.height, bottom = -1;
    for (int y = r.top; y < r.top + r.height; ++y)
        for (int x = r.left; x < r.left + r.width; ++x)
            if (ContrastRatio(at(x, y), background) >= ratio) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    return right < 0 ? PixelRect{} : PixelRect{left, top, right - left + 1, bottom - top + 1};
}

int Shot::Count(const PixelRect& r, bool (*match)(Colour)) const {
    int n = 0;
    for (int y = r.top; y < r.top + r.height; ++y)
        for (int x = r.left; x < r.left + r.width; ++x)
            n += match(at(x, y));
    return n;
}

Shot Capture(HWND window) {
    RECT client;
    ::GetClientRect(window, &client);
    Shot shot{client.right, client.bottom, {}};
    BITMAPINFO bi{};
    bi.bmiHeader = {
        sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const client_dc screen(window);
    const unique_memory_dc memory(::CreateCompatibleDC(screen.get()));
    const unique_gdi dib(::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bits) return shot;
    const selected_object selected(memory.get(), dib.get());
    ::BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < shot.width * shot.height; ++i) // 0x00RRGGBB to 0x00BBGGRR
        shot.pixels.push_back((px[i] & 0xFF) << 16 | (px[i] & 0xFF00) | (px[i] >> 16 & 0xFF));
    return shot;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[512] = {};
    ::GetWindowTextW(hwnd, text, 512);
    return text;
}

} // namespace skelvane::test
