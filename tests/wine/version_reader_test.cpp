// The version resource reader on libraries the build made for the purpose.
#include "checks/version_info.h"
#include "common/ansi.h"
#include "support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <vector>

namespace skelvane::test {
namespace {

std::wstring Fixture(const wchar_t* name) {
    return WinePath(SKELVANE_FIXTURE_DIR) + L"\\" + name;
}

struct Read {
    std::int32_t result;
    VersionInfo info;
};
Read ReadFixture(const std::wstring& path) {
    Read r;
    r.info.CompanyName = L"left over from before";
    r.result = ReadVersionInfo(path, r.info);
    return r;
}

TEST(ReadVersionInfo, NormalResource) {
    // The key is asked for as "OriginalFileName"; the platform's lookup ignores letter case.
    for (const wchar_t* name : {L"normal.dll", L"capital_n.dll"}) {
        const Read r = ReadFixture(Fixture(name));
        EXPECT_EQ(r.result, kVersionRead) << name;
        EXPECT_EQ(r.info.CompanyName, L"Fixture Company");
        EXPECT_EQ(r.info.FileDescription, L"Fixture description");
        EXPECT_EQ(r.info.FileVersion, L"4.5.6001.22159");
        EXPECT_EQ(r.info.InternalName, L"fixture");
        EXPECT_EQ(r.info.LegalCopyright, L"Copyright fixture");
        EXPECT_EQ(r.info.OriginalFileName, L"fixture.dll");
        EXPECT_EQ(r.info.ProductName, L"Fixture product");
        EXPECT_EQ(r.info.ProductVersion, L"9.8");
    }
}

TEST(ReadVersionInfo, StopsAtTheFirstMissingPiece) {
    Read r = ReadFixture(Fixture(L"no_translation.dll"));
    EXPECT_EQ(r.result, kVersionFailed);
    EXPECT_EQ(r.info.CompanyName, L"");
    EXPECT_EQ(r.info.FileVersion, L"");

    r = ReadFixture(Fixture(L"no_company.dll"));
    EXPECT_EQ(r.result, kVersionFailed);
    EXPECT_EQ(r.info.FileVersion, L""); // present, but after the missing key

    r = ReadFixture(Fixture(L"no_copyright.dll"));
    EXPECT_EQ(r.result, kVersionFailed);
    EXPECT_EQ(r.info.CompanyName, L"Fixture Company");
    EXPECT_EQ(r.info.FileDescription, L"Fixture description");
    EXPECT_EQ(r.info.FileVersion, L"4.5.6001.22159");
    EXPECT_EQ(r.info.InternalName, L"fixture");
    EXPECT_EQ(r.info.LegalCopyright, L"");
    EXPECT_EQ(r.info.OriginalFileName, L"");
    EXPECT_EQ(r.info.ProductVersion, L"");
}

TEST(ReadVersionInfo, OddShapes) {
    Read r = ReadFixture(Fixture(L"several.dll"));
    EXPECT_EQ(r.result, kVersionRead);
    EXPECT_EQ(r.info.CompanyName, L"Erste Firma"); // the first translation's table only

    // A translation cut to two bytes: the missing code page counts as zero, "04090000".
    r = ReadFixture(Fixture(L"short_translation.dll"));
    EXPECT_EQ(r.result, kVersionFailed); // whole, it names "040904B0", which it lacks
    std::string bytes = ReadFileBytes(Fixture(L"short_translation.dll"));
    const std::u16string key = u"Translation";
    const std::size_t at =
        bytes.find(std::string(reinterpret_cast<const char*>(key.data()), key.size() * 2));
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(bytes.substr(at - 4, 2), std::string("\x04\x00", 2)); // wValueLength
    bytes[at - 4] = 2;
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / L"cut.dll", bytes));
    r = ReadFixture(folder / L"cut.dll");
    EXPECT_EQ(r.result, kVersionRead);
    EXPECT_EQ(r.info.CompanyName, L"Fixture Company");

    r = ReadFixture(Fixture(L"embedded_nul.dll"));
    EXPECT_EQ(r.info.FileVersion, L"3.1");

    r = ReadFixture(Fixture(L"long_value.dll"));
    EXPECT_EQ(r.result, kVersionRead);
    EXPECT_EQ(r.info.CompanyName.size(), 283u); // read whole, not cut at 254
    EXPECT_TRUE(r.info.CompanyName.ends_with(L"END"));
    EXPECT_EQ(r.info.FileVersion, L"4.5.6001.22159");
}

TEST(ReadVersionInfo, FilesWithoutAResource) {
    TempFolder folder;
    WriteFileBytes(folder / L"plain.txt", "not a program");
    for (const std::wstring& path :
         {folder / L"plain.txt", folder / L"absent.dll", std::wstring(), folder.path()}) {
        const Read r = ReadFixture(path);
        EXPECT_EQ(r.result, kVersionFailed);
        EXPECT_EQ(r.info.CompanyName, L"");
    }
}

// A file another program holds open for writing (or locked) could change between the
// check and the read: it is not read, until that program lets go. One held to be deleted
// or only read is read, as the loader would load it.
TEST(ReadVersionInfo, SharesAsTheLoaderDoes) {
    TempFolder folder;
    const std::wstring busy = folder / L"busy.dll";
    ASSERT_TRUE(::CopyFileW(Fixture(L"normal.dll").c_str(), busy.c_str(), FALSE));
    constexpr DWORD kAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const struct {
        DWORD access, share;
        VersionRead read;
    } holders[] = {
        {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, VersionRead::BeingWritten},
        {GENERIC_READ, 0, VersionRead::BeingWritten},
        {DELETE, kAll, VersionRead::Read},
        {GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, VersionRead::Read},
        {GENERIC_READ, FILE_SHARE_READ, VersionRead::Read},
    };
    for (const auto& holder : holders) {
        const unique_file held(::CreateFileW(busy.c_str(), holder.access, holder.share, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        VersionInfo info;
        EXPECT_EQ(ReadVersionResource(busy, info), holder.read)
            << std::hex << holder.access << " " << holder.share;
        EXPECT_EQ(info.FileVersion, holder.read == VersionRead::Read ? L"4.5.6001.22159" : L"");
    }
    EXPECT_EQ(ReadFixture(busy).result, kVersionRead);
}

// The system's version functions take the name in the system code page: a name without an
// exact form there is not handed over, lest a look-alike or a stand-in name another file.
TEST(ReadVersionInfo, OnlyByTheExactName) {
    TempFolder folder;
    ASSERT_TRUE(
        ::CopyFileW(Fixture(L"several.dll").c_str(), (folder / L"vera.dll").c_str(), FALSE));
    for (const wchar_t* name : {L"ver\u0101.dll", L"\U0001F600.dll", L"\u4f8b.dll"}) {
        const std::wstring path = folder / name;
        ASSERT_TRUE(::CopyFileW(Fixture(L"normal.dll").c_str(), path.c_str(), FALSE));
        const Read r = ReadFixture(path);
        EXPECT_EQ(r.result, kVersionFailed) << ToAnsi(path);
        EXPECT_EQ(r.info.CompanyName, L"");
    }
}

std::uint32_t Le(const std::string& b, std::size_t at, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = v << 8 | static_cast<std::uint8_t>(b.at(at + i));
    return v;
}

// The length and size fields of a PE file's headers, section table, resource directory
// (the path to the version resource) and version block, as (offset, width) pairs.
std::vector<std::pair<std::size_t, int>> LengthFields(const std::string& b) {
    std::vector<std::pair<std::size_t, int>> fields;
    const std::size_t pe = Le(b, 0x3C, 4), sections = Le(b, pe + 6, 2);
    const std::size_t optional = pe + 24, table = optional + Le(b, pe + 20, 2);
    fields.insert(fields.end(), {{0x3C, 4},
                                 {pe + 6, 2},
                                 {pe + 20, 2},
                                 {optional + 92, 4},
                                 {optional + 96 + 16, 4},
                                 {optional + 96 + 20, 4}});
    std::size_t rva = 0, raw = 0;
    for (std::size_t i = 0; i < sections; ++i) {
        const std::size_t s = table + 40 * i;
        for (std::size_t field : {8, 12, 16, 20})
            fields.push_back({s + field, 4});
        if (b.compare(s, 5, ".rsrc") == 0) rva = Le(b, s + 12, 4), raw = Le(b, s + 20, 4);
    }
    std::size_t directory = raw, entry = 0;
    for (int level = 0; level < 3; ++level) {
        fields.insert(fields.end(), {{directory + 12, 2}, {directory + 14, 2}});
        entry = directory + 16 + 8 * Le(b, directory + 12, 2);
        if (level == 0)
            while (Le(b, entry, 4) != 16)
                entry += 8;
        fields.push_back({entry + 4, 4});
        directory = raw + (Le(b, entry + 4, 4) & 0x7FFFFFFF);
    }
    fields.insert(fields.end(), {{directory, 4}, {directory + 4, 4}}); // the data entry
    const std::size_t block = raw + Le(b, directory, 4) - rva, blockEnd = block + Le(b, block, 2);
    // Every node: its length and value length, then on to its key, value and children.
    for (std::size_t at = block; at < blockEnd;) {
        fields.insert(fields.end(), {{at, 2}, {at + 2, 2}});
        std::size_t key = at + 6;
        while (Le(b, key, 2))
            key += 2;
        const std::size_t value = (key + 2 + 3) & ~std::size_t{3};
        const std::size_t valueBytes = Le(b, at + 2, 2) * (Le(b, at + 4, 2) ? 2 : 1);
        const std::size_t next = (value + valueBytes + 3) & ~std::size_t{3};
        // A node with children steps into them; a leaf steps past itself.
        at = next < at + Le(b, at, 2) ? next : (at + Le(b, at, 2) + 3) & ~std::size_t{3};
    }
    return fields;
}

std::string Hex(std::uint32_t value, int width) {
    std::string hex;
    for (int i = 0; i < width; ++i, value >>= 8) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", value & 0xFF);
        hex += pair;
    }
    return hex;
}

// Each length field of the headers, the section table, the resource directory and the
// version block, damaged in turn, and the file cut at each of them and inside the
// block. Each copy is read in a child process of its own that checks its heaps after
// the read, so a crash, a corrupted heap or a hang fails the test; none can pass by luck.
TEST(ReadVersionInfo, DamagedFilesAreReadSafelyInChildProcesses) {
    const std::wstring original = Fixture(L"normal.dll");
    const std::string bytes = ReadFileBytes(original);
    std::vector<std::string> damages;
    for (auto [at, width] : LengthFields(bytes)) {
        const std::uint32_t values[] = {
            0, 7, 0xFFFF, 0x10000, 0x8000000, 0xFFFFFFF0, static_cast<std::uint32_t>(bytes.size())};
        for (std::uint32_t v : values)
            if (width == 4 || v <= 0xFFFF)
                damages.push_back("put " + std::to_string(at) + " " + Hex(v, width));
        damages.push_back("cut " + std::to_string(at + width / 2));
    }
    TempFolder folder;
    std::map<std::string, int> outcomes;
    for (const std::string& damage : damages) {
        ChildProcess child(L"\"" + WinePath(SKELVANE_TOOLS_DIR) + L"\\read_versions.exe\" \"" +
                               original + L"\" \"" + std::wstring(damage.begin(), damage.end()) +
                               L"\" \"" + (folder / L"copy.dll") + L"\"",
                           true);
        ASSERT_TRUE(child.started());
        ASSERT_TRUE(child.Wait(30000)) << "hung on " << damage;
        const std::string said = child.Output();
        EXPECT_EQ(child.ExitCode(), 0u) << damage << ": " << said;
        ++outcomes[said.substr(0, said.find_first_of("\r\n"))];
    }
    EXPECT_GT(outcomes["read"], 0);    // damage that misses the version resource leaves it readable
    EXPECT_GT(outcomes["damaged"], 0); // and damage to it is seen
    std::printf("%zu damaged copies read: %d whole, %d damaged, %d without a version\n",
                damages.size(), outcomes["read"], outcomes["damaged"], outcomes["failed"]);
}

// The reader must agree with the system's version functions, used alone, on every
// sound program and library of the system folders.
std::int32_t PlatformOnlyRead(const std::wstring& path, VersionInfo& info) {
    info = VersionInfo{};
    const std::string file = ToAnsi(path);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size < 1) return kVersionFailed;
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return kVersionFailed;
    void* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length))
        return kVersionFailed;
    const std::string table =
        TranslationTableName(static_cast<const std::uint8_t*>(translation), length);
    for (std::size_t i = 0; i < std::size(kVersionKeys); ++i) {
        void* value = nullptr;
        UINT characters = 0;
        const std::string key = "\\StringFileInfo\\" + table + "\\" + kVersionKeys[i];
        if (!::VerQueryValueA(block.data(), key.c_str(), &value, &characters))
            return kVersionFailed;
        VersionField(info, i) = FromAnsi(static_cast<const char*>(value));
    }
    return kVersionRead;
}

TEST(ReadVersionInfo, AgreesWithTheSystemOnEverySystemFile) {
    std::size_t files = 0, agreed = 0, withVersion = 0;
    for (const wchar_t* folder : {L"C:\\windows\\system32\\", L"C:\\windows\\syswow64\\"}) {
        for (const wchar_t* pattern : {L"*.dll", L"*.exe"}) {
            WIN32_FIND_DATAW found{};
            unique_find_handle search(
                ::FindFirstFileW((std::wstring(folder) + pattern).c_str(), &found));
            for (bool more = static_cast<bool>(search); more;
                 more = ::FindNextFileW(search.get(), &found)) {
                const std::wstring path = folder + std::wstring(found.cFileName);
                VersionInfo ours, theirs;
                const std::int32_t a = ReadVersionInfo(path, ours),
                                   b = PlatformOnlyRead(path, theirs);
                ++files;
                withVersion += b == kVersionRead;
                const bool same = a == b && ours.FileVersion == theirs.FileVersion &&
                                  ours.CompanyName == theirs.CompanyName &&
                                  ours.ProductVersion == theirs.ProductVersion;
                agreed += same;
                EXPECT_TRUE(same) << ToAnsi(path);
            }
        }
    }
    EXPECT_GT(files, 500u);
    EXPECT_GT(withVersion, 300u);
    std::printf("%zu system files, %zu with a version resource: %zu agree\n", files, withVersion,
                agreed);
}

} // namespace
} // namespace skelvane::test
