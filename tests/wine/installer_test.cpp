// The Windows Installer row end to end: the registry value, the file search, the version.
#include "checks/installer_check.h"
#include "checks/prerequisites.h"
#include "checks/version_info.h"
#include "support.h"

#include <gtest/gtest.h>

namespace skelvane::test {
namespace {

// Points "InstallerLocation" elsewhere for one test and puts it back afterwards.
struct InstallerLocation : RegistryValueGuard {
    InstallerLocation() : RegistryValueGuard(kHkeyLocalMachine, kInstallerKey, kInstallerValue) {}
};

std::wstring FixtureFolder(const wchar_t* name) {
    return WinePath(SKELVANE_FIXTURE_DIR) + L"\\" + name;
}

TEST(CheckWindowsInstaller, TheSystemsOwnLibrary) {
    const CheckResult r = Prerequisites().CheckInstaller();
    EXPECT_TRUE(r.passed) << r.reason; // Wine's msi.dll is version 4.5
    EXPECT_TRUE(r.reason.starts_with(L"msi.dll version ")) << r.reason;
}

TEST(CheckWindowsInstaller, LocationsOfEveryKind) {
    InstallerLocation location;
    TempFolder empty;
    struct Case {
        std::wstring where;
        bool passed;
        std::wstring reason;
    };
    const Case cases[] = {
        {empty.path(), false, L"msi.dll not found: " + empty.path() + L"\\msi.dll"},
        {FixtureFolder(L"msi30"), false, L"msi.dll version 3.0.3790.2180 is below 3.1"},
        {FixtureFolder(L"msi31"), true, L"msi.dll version 3.1.4000.2435"},
        {FixtureFolder(L"msi31") + L"\\", true,
         L"msi.dll version 3.1.4000.2435"}, // doubled backslash
        // Characters the code page has no form for reach the row as '?', never searched.
        {empty / L"\U0001F600", false,
         L"the path holds a character the system's code page cannot represent: " + empty.path() +
             L"\\??\\msi.dll"},
        {empty / L"\u4f8b", false,
         L"the path holds a character the system's code page cannot represent: " + empty.path() +
             L"\\?\\msi.dll"},
    };
    for (const Case& c : cases) {
        location.Set(c.where);
        const CheckResult r = Prerequisites().CheckInstaller();
        EXPECT_EQ(r.passed, c.passed) << c.where;
        EXPECT_EQ(r.reason, c.reason);
    }
    location.Remove();
    const CheckResult r = Prerequisites().CheckInstaller();
    EXPECT_FALSE(r.passed);
    EXPECT_EQ(r.reason, L"msi.dll not found: \\msi.dll");
}

TEST(CheckWindowsInstaller, OnlyANormalFileCounts) {
    InstallerLocation location;
    TempFolder folder;
    location.Set(folder.path());
    const std::string library = ReadFileBytes(FixtureFolder(L"msi31") + L"\\msi.dll");
    ASSERT_FALSE(library.empty());
    const std::wstring path = folder / L"msi.dll";
    ASSERT_TRUE(WriteFileBytes(path, library));
    EXPECT_TRUE(Prerequisites().CheckInstaller().passed);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(Prerequisites().CheckInstaller().passed);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Prerequisites().CheckInstaller().passed);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Held open for writing elsewhere, it is not read; held to be deleted, it is.
    const struct {
        DWORD access, share;
        bool passed;
    } holders[] = {
        {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
        {DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true},
    };
    for (const auto& holder : holders) {
        const unique_file held(::CreateFileW(path.c_str(), holder.access, holder.share, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        const CheckResult r = Prerequisites().CheckInstaller();
        EXPECT_EQ(r.passed, holder.passed) << r.reason;
        if (!holder.passed) {
            EXPECT_EQ(r.reason,
                      L"msi.dll is held open for writing, or locked, by another program: " + path);
        }
    }

    // A library with no version resource at all.
    ASSERT_TRUE(WriteFileBytes(path, "MZ not really a library"));
    const CheckResult r = Prerequisites().CheckInstaller();
    EXPECT_FALSE(r.passed);
    EXPECT_EQ(r.reason, L"msi.dll has no file version: " + path);

    // A folder named msi.dll is no library.
    ::DeleteFileW(path.c_str());
    ::CreateDirectoryW(path.c_str(), nullptr);
    EXPECT_FALSE(Prerequisites().CheckInstaller().passed);
}

// Read through the code page, what the registry stores may name another folder: a
// character the code page lacks becomes a look-alike (A with macron, A).
TEST(CheckWindowsInstaller, TheLocationAsStored) {
    InstallerLocation location;
    TempFolder folder;
    const std::wstring lookAlike = folder / L"A", stored = folder / L"\u0100";
    ASSERT_TRUE(::CreateDirectoryW(lookAlike.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW((FixtureFolder(L"msi31") + L"\\msi.dll").c_str(),
                            (lookAlike + L"\\msi.dll").c_str(), FALSE));
    const auto store = [](DWORD type, const std::wstring& text) {
        unique_hkey key;
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstallerKey, 0, KEY_SET_VALUE, key.put());
        EXPECT_EQ(::RegSetValueExW(key.get(), kInstallerValue, 0, type,
                                   reinterpret_cast<const BYTE*>(text.c_str()),
                                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    };
    store(REG_SZ, stored);
    EXPECT_EQ(Prerequisites().CheckInstaller().reason,
              L"the path reads as another in the system's code page: " + stored + L"\\msi.dll as " +
                  lookAlike + L"\\msi.dll");
    store(REG_EXPAND_SZ, L"%SystemRoot%\\system32"); // both reads expand it alike
    EXPECT_TRUE(Prerequisites().CheckInstaller().passed);
}

// Another program may rename the library and put another under its name once the row has
// checked it: before the system's first read or between its two. The row then reads no
// further. (Left alone, this msi30 would show as version 3.1.)
std::wstring gLibrary, gReplacement;
int gSwapAt = -1;
void SwapLibrary(int point) {
    if (point != gSwapAt) return;
    ::MoveFileW(gLibrary.c_str(), (gLibrary + L".moved").c_str());
    if (!gReplacement.empty()) ::CopyFileW(gReplacement.c_str(), gLibrary.c_str(), FALSE);
}

TEST(CheckWindowsInstaller, TheLibraryReadIsTheOneChecked) {
    InstallerLocation location;
    TempFolder folder;
    location.Set(folder.path());
    gLibrary = folder / L"msi.dll";
    const std::wstring msi31 = FixtureFolder(L"msi31") + L"\\msi.dll",
                       replaced = L"msi.dll was moved or replaced while it was read: " + gLibrary;
    const struct {
        int at;
        std::wstring replacement, reason;
    } cases[] = {
        {-1, msi31, L"msi.dll version 3.0.3790.2180 is below 3.1"},
        {0, msi31, replaced},
        {1, msi31, replaced},
        {0, L"", replaced}, // moved away, nothing in its place
    };
    gVersionReadPause = SwapLibrary;
    for (const auto& c : cases) {
        ::CopyFileW((FixtureFolder(L"msi30") + L"\\msi.dll").c_str(), gLibrary.c_str(), FALSE);
        gSwapAt = c.at;
        gReplacement = c.replacement;
        EXPECT_EQ(Prerequisites().CheckInstaller().reason, c.reason) << c.at;
        ::DeleteFileW(gLibrary.c_str());
        ::DeleteFileW((gLibrary + L".moved").c_str());
    }
    gVersionReadPause = nullptr;
}

TEST(FindNormalFile, ExactPathsOnly) {
    TempFolder folder;
    WriteFileBytes(folder / L"msi.dll", "x");
    EXPECT_EQ(FindNormalFile(folder / L"msi.dll"), L"msi.dll");
    EXPECT_EQ(FindNormalFile(folder / L"m*.dll"), L"");
    EXPECT_EQ(FindNormalFile(folder / L"msi.dl?"), L"");
    EXPECT_EQ(FindNormalFile(folder / L"other.dll"), L"");
    EXPECT_EQ(FindNormalFile(L""), L"");
    // Only by its exact name: not by a look-alike the code page has, nor by a stand-in.
    WriteFileBytes(folder / L"msia.dll", "x");
    WriteFileBytes(folder / L"\U0001F600.dll", "x");
    EXPECT_EQ(FindNormalFile(folder / L"msi\u0101.dll"), L"");
    EXPECT_EQ(FindNormalFile(folder / L"\U0001F600.dll"), L"");
}

} // namespace
} // namespace skelvane::test
