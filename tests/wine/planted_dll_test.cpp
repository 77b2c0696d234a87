// Both programs run as a download runs: from a folder anyone can write to, beside DLLs
// planted under every name they or the system's DLLs might ask for, and started in a
// second such folder. Wine is told to prefer a DLL it finds over its own for each name
// Windows keeps off its known list, which is what Windows does for those names. Nothing
// planted may load, and the checks must still see the real system.
#include "app/check_table.h"
#include "app/status_text.h"
#include "loopback_server.h"
#include "support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <span>

namespace skelvane::test {
namespace {

// On Windows' known list: loaded from the system folder whatever lies elsewhere.
constexpr const wchar_t* kKnown[] = {L"kernel32", L"user32", L"gdi32", L"advapi32", L"msvcrt"};
// What the programs' own tables name (comctl32 by the manifest, winhttp and version by
// the delay-load table), then what system DLLs commonly load on a program's behalf.
constexpr const wchar_t* kSearched[] = {
    L"comctl32", L"winhttp", L"version", L"uxtheme",  L"dwmapi",  L"cryptbase", L"cryptsp",
    L"rsaenh",   L"bcrypt",  L"crypt32", L"secur32",  L"sspicli", L"iphlpapi",  L"dnsapi",
    L"mswsock",  L"webio",   L"jsproxy", L"schannel", L"ncrypt",  L"userenv",   L"wintrust",
    L"msasn1",   L"winmm",   L"propsys", L"ws2_32"};
// Wine resolves its own DLLs' delay-loaded imports from the program's folder first,
// whatever search the program set, where Windows takes them from the system folder only;
// these are what Wine's WinHTTP, user32, common controls and sockets load that way, and
// what those import. Told to prefer a planted copy, Wine would load one into any program
// that uses those DLLs, which says nothing of the program: Wine is not told so for them.
constexpr const wchar_t* kWineDelayLoads[] = {L"crypt32", L"bcrypt",  L"secur32", L"iphlpapi",
                                              L"dnsapi",  L"uxtheme", L"winmm"};
// Wine's own user32 imports version.dll, where Windows' does not: in a window program
// Wine loads it before the program's first instruction. The report, which has no window,
// is tried with it.
constexpr const wchar_t* kWineWindowStartUp[] = {L"version"};

// Tells Wine to prefer a DLL found on the search path for these names, in one program
// (by its file name), until scope end.
class PreferPlanted {
  public:
    PreferPlanted(const wchar_t* exe, const std::set<std::wstring>& names)
        : program_(std::wstring(L"Software\\Wine\\AppDefaults\\") + exe),
          key_(program_ + L"\\DllOverrides") {
        unique_hkey key;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          key.put(), nullptr);
        for (const std::wstring& name : names)
            ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(L"native,builtin"),
                             sizeof L"native,builtin");
    }
    ~PreferPlanted() {
        ::RegDeleteKeyW(HKEY_CURRENT_USER, key_.c_str()); // values go with it
        ::RegDeleteKeyW(HKEY_CURRENT_USER, program_.c_str());
    }
    PreferPlanted(const PreferPlanted&) = delete;
    PreferPlanted& operator=(const PreferPlanted&) = delete;

  private:
    std::wstring program_, key_;
};

// The copies carry names of their own, so what Wine is told of them reaches no other test.
constexpr wchar_t kWindow[] = L"PlantedSkelvane.exe";
constexpr wchar_t kReport[] = L"PlantedSkelvaneReport.exe";

class PlantedFolders {
  public:
    PlantedFolders() {
        const std::wstring planted = WinePath(SKELVANE_FIXTURE_DIR) + L"\\planted.dll";
        using NameList = std::span<const wchar_t* const>;
        for (const TempFolder* folder : {&program_, &startIn_})
            for (const NameList names : {NameList(kKnown), NameList(kSearched)})
                for (const wchar_t* name : names)
                    ::CopyFileW(planted.c_str(), (*folder / (std::wstring(name) + L".dll")).c_str(),
                                FALSE);
        const std::pair<const wchar_t*, const wchar_t*> copies[] = {
            {L"Skelvane.exe", kWindow}, {L"SkelvaneReport.exe", kReport}};
        for (const auto& [exe, copy] : copies)
            ::CopyFileW(ProductExe(exe).c_str(), (program_ / copy).c_str(), FALSE);
    }
    std::wstring Program(const wchar_t* exe) const { return L"\"" + program_ / exe + L"\""; }
    const wchar_t* StartIn() const { return startIn_.path().c_str(); }

    // The names whose planted copy was loaded since the last call; their markers go.
    std::set<std::wstring> TakeLoaded() {
        std::set<std::wstring> loaded;
        for (const TempFolder* folder : {&program_, &startIn_}) {
            WIN32_FIND_DATAW found;
            const unique_find_handle search(
                ::FindFirstFileW((*folder / L"*.loaded").c_str(), &found));
            if (!search) continue;
            do {
                const std::wstring marker = found.cFileName;
                loaded.insert(marker.substr(0, marker.find(L'.')));
                ::DeleteFileW((*folder / marker).c_str());
            } while (::FindNextFileW(search.get(), &found));
        }
        return loaded;
    }

  private:
    TempFolder program_, startIn_;
};

std::string Names(const std::set<std::wstring>& names) {
    std::string text;
    for (const std::wstring& name : names)
        text += (text.empty() ? "" : ", ") + std::string(name.begin(), name.end());
    return text.empty() ? "none" : text;
}

TEST(PlantedDlls, NeitherProgramLoadsOne) {
    LoopbackServer app(47801); // the test build's http host; the https one is served around us
    ASSERT_TRUE(app.running());
    ReaderAndFramework folders;
    PlantedFolders planted;

    std::set<std::wstring> searched(std::begin(kSearched), std::end(kSearched));
    for (const wchar_t* name : kWineDelayLoads)
        searched.erase(name);

    {
        const PreferPlanted prefer(kReport, searched);
        ChildProcess report(planted.Program(kReport) + L" --json", true, -1, planted.StartIn());
        EXPECT_TRUE(report.Wait(150000));
        const std::string json = report.Output();
        EXPECT_EQ(report.ExitCode(), 0u) << json; // every row passes, so each saw the real system
        EXPECT_NE(json.find("\"installer\", \"name\": \"Windows Installer 3.1\", \"passed\": true"),
                  std::string::npos)
            << json;
        const std::set<std::wstring> loaded = planted.TakeLoaded();
        EXPECT_TRUE(loaded.empty()) << "the report loaded " << Names(loaded);
        std::printf("SkelvaneReport.exe: %zu names planted twice, %zu tried, %zu loaded\n",
                    std::size(kKnown) + std::size(kSearched), searched.size(), loaded.size());
    }

    std::set<std::wstring> windowSearched = searched;
    for (const wchar_t* name : kWineWindowStartUp)
        windowSearched.erase(name);
    const PreferPlanted prefer(kWindow, windowSearched);
    ChildProcess window(planted.Program(kWindow), false, -1, planted.StartIn());
    HWND main = FindProcessWindow(window.id(), L"SkelvaneMain", 20000);
    ASSERT_TRUE(main);
    HWND close = ::GetDlgItem(main, static_cast<int>(ControlId::cmdClose));
    for (const DWORD start = ::GetTickCount();
         !::IsWindowEnabled(close) && ::GetTickCount() - start < 120000;)
        ::Sleep(50);
    for (ControlId box : kStatusBoxes) {
        const std::wstring said = WindowText(::GetDlgItem(main, static_cast<int>(box)));
        // "Row: passed: ..."
        EXPECT_NE(said.find(std::wstring(L": ") + kPassedText + L": "), std::wstring::npos)
            << std::string(said.begin(), said.end());
    }
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(window.Wait(10000));
    const std::set<std::wstring> loaded = planted.TakeLoaded();
    EXPECT_TRUE(loaded.empty()) << "the window loaded " << Names(loaded);
    std::printf("Skelvane.exe: %zu names planted twice, %zu tried, %zu loaded\n",
                std::size(kKnown) + std::size(kSearched), windowSearched.size(), loaded.size());
}

// A delay-loaded DLL the system folder lacks, its planted copy beside the program: the
// hook ends the process with the delay-load failure whatever handler tries to resume it,
// and nothing loads the copy. The bare load shows the copy would be found.
TEST(PlantedDlls, DelayLoadFailureIsFinal) {
    constexpr DWORD kNotFound = 0xC06D007E;       // the delay-load helper's "module not found"
    constexpr DWORD kNonContinuable = 0xC0000025; // STATUS_NONCONTINUABLE_EXCEPTION
    const struct {
        const wchar_t* mode;
        DWORD exitCode;
        bool loaded;
        bool only32; // a frame handler in the chain is the 32-bit way only
    } cases[] = {{L"bare", 0, true, false},
                 {L"delay", kNotFound, false, false},
                 {L"vectored-continue", kNotFound, false, false},
                 {L"frame-continue", kNonContinuable, false, true}};
    TempFolder folder;
    const std::wstring probe = folder / L"delay_load_probe.exe";
    ASSERT_TRUE(::CopyFileW((WinePath(SKELVANE_TOOLS_DIR) + L"\\delay_load_probe.exe").c_str(),
                            probe.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW((WinePath(SKELVANE_FIXTURE_DIR) + L"\\planted.dll").c_str(),
                            (folder / L"absent_probe.dll").c_str(), FALSE));
    const std::wstring marker = folder / L"absent_probe.dll.loaded";
    for (const auto& c : cases) {
        if (c.only32 && sizeof(void*) == 8) continue;
        SCOPED_TRACE(std::string(c.mode, c.mode + std::wcslen(c.mode)));
        ::DeleteFileW(marker.c_str());
        ChildProcess child(L"\"" + probe + L"\" " + c.mode, false, -1, folder.path().c_str());
        ASSERT_TRUE(child.Wait(30000));
        EXPECT_EQ(child.ExitCode(), c.exitCode);
        EXPECT_EQ(::GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES, c.loaded);
    }
}

} // namespace
} // namespace skelvane::test
