// The .NET Framework and reader tools rows against folders made in the prefix's drive.
#include "checks/directory_probes.h"
#include "checks/prerequisites.h"
#include "checks/program_files.h"
#include "checks/reader_tools.h"
#include "common/ansi.h"
#include "support.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace skelvane::test {
namespace {

// Makes each folder of a path that is missing, and removes just those again.
class MadeFolders {
  public:
    explicit MadeFolders(const std::wstring& path) {
        for (std::size_t at = path.find(L'\\', 3);; at = path.find(L'\\', at + 1)) {
            const std::wstring part = path.substr(0, at);
            if (::GetFileAttributesW(part.c_str()) == INVALID_FILE_ATTRIBUTES) {
                ::CreateDirectoryW(part.c_str(), nullptr);
                made_.push_back(part);
            }
            if (at == std::wstring::npos) break;
        }
    }
    ~MadeFolders() {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it)
            RemoveTree(*it);
    }
    bool madeAll() const { return !made_.empty(); }

  private:
    std::vector<std::wstring> made_;
};

TEST(WindowsDirectory, IsWhatTheSystemSays) {
    wchar_t expected[MAX_PATH];
    const UINT n = ::GetWindowsDirectoryW(expected, MAX_PATH);
    EXPECT_EQ(WindowsDirectory(), std::wstring(expected, n));
}

TEST(DirExists, OnlyDirectoriesAreTrue) {
    TempFolder folder;
    WriteFileBytes(folder / L"file", "x");
    EXPECT_TRUE(DirExists(folder.path()));
    EXPECT_TRUE(DirExists(folder.path() + L"\\"));
    EXPECT_FALSE(DirExists(folder / L"file"));
    EXPECT_FALSE(DirExists(folder / L"absent"));
    EXPECT_FALSE(DirExists(L""));
    EXPECT_FALSE(DirExists(L"C:\\<>|\"?*"));
    EXPECT_FALSE(DirExists(L"\\\\?\\"));
    EXPECT_FALSE(DirExists(std::wstring(3000, L'x')));
}

TEST(CheckDotNetFramework, TheVersionFolderUnderWindows) {
    const std::wstring path = WindowsDirectory() + L"\\Microsoft.NET\\Framework\\v3.5";
    if (DirExists(path)) GTEST_SKIP() << "this prefix has the framework installed";
    EXPECT_FALSE(Prerequisites().CheckDotNet().passed);
    {
        MadeFolders made(path); // an empty folder counts
        const CheckResult r = Prerequisites().CheckDotNet();
        EXPECT_TRUE(r.passed);
        EXPECT_EQ(r.reason, L"directory found: " + path);
    }
    {
        MadeFolders parent(WindowsDirectory() + L"\\Microsoft.NET\\Framework");
        ASSERT_TRUE(WriteFileBytes(path, "a file, not a folder"));
        EXPECT_FALSE(Prerequisites().CheckDotNet().passed);
        ::DeleteFileW(path.c_str());
    }
    EXPECT_EQ(Prerequisites().CheckDotNet().reason, L"directory not found: " + path);
}

// In the 64-bit prefix, both builds read the (x86) folder and "C:\Program Files", which is
// the literal one: four places, each probed by its full path.
TEST(CheckReaderTools, EveryPlaceInOrder) {
    const ProgramFilesFolders system = SystemProgramFiles();
    EXPECT_EQ(system.x86, L"C:\\Program Files (x86)");
    EXPECT_EQ(system.x64, L"C:\\Program Files");
    const std::wstring places[] = {kReaderToolsPaths[0], kReaderToolsPaths[1],
                                   L"C:\\Program Files (x86)\\Gemplus\\ReaderTools",
                                   L"C:\\Program Files (x86)\\GemAlto\\ReaderTools"};
    for (const std::wstring& place : places)
        if (DirExists(place)) GTEST_SKIP() << "reader tools already present";
    const CheckResult none = Prerequisites().CheckSmartCard();
    EXPECT_FALSE(none.passed);
    EXPECT_EQ(none.reason, L"directory not found: " + places[0] + L" or " + places[1] + L" or " +
                               places[2] + L" or " + places[3]);
    std::printf("nothing installed: %s\n", ToAnsi(none.reason).c_str());
    for (const std::wstring& place : places) {
        {
            MadeFolders made(place);
            const CheckResult r = Prerequisites().CheckSmartCard();
            EXPECT_TRUE(r.passed);
            EXPECT_EQ(r.reason, L"directory found: " + place);
        }
        MadeFolders parent(place.substr(0, place.rfind(L'\\')));
        ASSERT_TRUE(WriteFileBytes(place, "a file, not a folder"));
        EXPECT_FALSE(Prerequisites().CheckSmartCard().passed) << ToAnsi(place);
        ::DeleteFileW(place.c_str());
    }
    // Found at two places, the earlier names the pass.
    MadeFolders later(places[2]), earlier(places[1]);
    EXPECT_EQ(Prerequisites().CheckSmartCard().reason, L"directory found: " + places[1]);
}

} // namespace
} // namespace skelvane::test
