// The .NET Framework and reader tools rows against folders made in the prefix's drive.
#include "checks/directory_probes.h"
#include "checks/prerequisites.h"
#include "support.h"

#include <gtest/gtest.h>

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

TEST(CheckReaderTools, EitherOfTheTwoNames) {
    for (const wchar_t* path : kReaderToolsPaths)
        if (DirExists(path)) GTEST_SKIP() << "reader tools already present";
    for (int present = 0; present < 4; ++present) {
        std::unique_ptr<MadeFolders> first, second;
        if (present & 1) first = std::make_unique<MadeFolders>(kReaderToolsPaths[0]);
        if (present & 2) second = std::make_unique<MadeFolders>(kReaderToolsPaths[1]);
        const CheckResult r = Prerequisites().CheckSmartCard();
        EXPECT_EQ(r.passed, present != 0) << present;
        EXPECT_EQ(r.reason,
                  present == 0 ? L"directory not found: C:\\Program Files\\Gemplus\\ReaderTools or "
                                 L"C:\\Program Files\\GemAlto\\ReaderTools"
                  : present & 1 ? L"directory found: C:\\Program Files\\Gemplus\\ReaderTools"
                                : L"directory found: C:\\Program Files\\GemAlto\\ReaderTools");
    }
}

} // namespace
} // namespace skelvane::test
