#pragma once
// Helpers shared by the tests that run under Wine.
#include "app/colours.h"
#include "app/layout.h"
#include "common/unique_handle.h"
#include "registry/cRegistry.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace skelvane::test {

// A Unix path of the build as Wine sees it (through drive Z:).
std::wstring WinePath(const char* unixPath);

// The product build's executable, e.g. ProductExe(L"Skelvane.exe").
std::wstring ProductExe(const wchar_t* name);

// A registry path under HKCU/HKLM that no other test tree uses at the same time.
std::wstring TestKey(const std::wstring& leaf);

// One registry text value changed for a test: what was there (or its absence) is
// put back at scope end.
class RegistryValueGuard {
  public:
    RegistryValueGuard(std::int32_t root, const std::wstring& key, const std::wstring& name);
    ~RegistryValueGuard();
    RegistryValueGuard(const RegistryValueGuard&) = delete;
    RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;
    void Set(const std::wstring& text);
    void Set(std::int32_t number);    // as REG_DWORD
    void Set(const ByteArray& bytes); // as REG_BINARY
    void Remove();

  private:
    cRegistry reg_;
    bool existed_ = false;
    Variant original_;
    std::int32_t type_ = 0;
};

// The user's Internet Options set to a named proxy (no bypass, no script), put back as they
// were at scope end.
class ProxySetting {
  public:
    explicit ProxySetting(const std::string& proxy);

  private:
    RegistryValueGuard value_;
};

// A fresh empty folder under the temp folder, removed with everything in it at scope end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};
void RemoveTree(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);

// A started program, ended and waited for at scope end if still running.
class ChildProcess {
  public:
    explicit ChildProcess(const std::wstring& commandLine, bool captureOutput = false,
                          int showCommand = -1, const wchar_t* startIn = nullptr);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool started() const { return static_cast<bool>(process_); }
    DWORD id() const { return id_; }
    bool Wait(DWORD ms);
    DWORD ExitCode() const;
    std::string Output(); // everything written to stdout, after the process ended

  private:
    void Drain();

    unique_kernel_handle process_;
    unique_kernel_handle outputRead_;
    DWORD id_ = 0;
    std::string output_;
};

// The top-level window of a class that belongs to the process, waiting up to timeoutMs.
HWND FindProcessWindow(DWORD processId, const wchar_t* windowClass, DWORD timeoutMs,
                       bool visibleOnly = true);

// The checker window's control, and its place in the window's client area.
HWND Item(HWND window, ControlId id);
PixelRect PlaceOf(HWND window, ControlId id);

// A window's client area as it is on screen, copied with BitBlt.
struct Shot {
    int width = 0, height = 0;
    std::vector<Colour> pixels;
    Colour at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    // The bounding box, within r, of the pixels that stand out from background by a
    // contrast of at least `ratio`; width 0 when none does.
    PixelRect Ink(const PixelRect& r, Colour background, double ratio = 1.1) const;
    int Count(const PixelRect& r, bool (*match)(Colour)) const;
};
Shot Capture(HWND window);

std::wstring WindowText(HWND hwnd);

// True when text (UTF-16, or UTF-8 bytes) holds a character that must not be shown raw:
// a control other than the line ends and tab, a direction mark, an invisible character or
// a lone surrogate.
// A JSON escape of a control ("\u001b") counts too: a consumer that prints it revives it.
bool ShowsUnsafe(std::wstring_view text);
bool ShowsUnsafe(std::string_view utf8);

// A file's version block, read with the system's functions (empty when it has none), and
// one text of its table 040904B0 ("<missing>" when absent).
std::vector<char> VersionBlock(const std::wstring& exe);
std::wstring VersionString(std::vector<char>& block, const std::wstring& key);

// The folders the framework and smart card rows look for, made for a test (those that
// were missing) and removed after it.
class ReaderAndFramework {
  public:
    ReaderAndFramework();
    ~ReaderAndFramework();
    ReaderAndFramework(const ReaderAndFramework&) = delete;
    ReaderAndFramework& operator=(const ReaderAndFramework&) = delete;

  private:
    std::vector<std::wstring> made_;
};

} // namespace skelvane::test
