// The version resource reader on libraries the build made for the purpose.
#include "checks/version_info.h"
#include "support.h"

#include <gtest/gtest.h>

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

// Damages every length field of the version block in turn; the reader must neither
// crash nor read outside the block, whatever the sizes claim.
TEST(ReadVersionInfo, LyingSizesAreSurvived) {
    const std::string original = ReadFileBytes(Fixture(L"normal.dll"));
    const std::u16string marker = u"VS_VERSION_INFO";
    const std::string needle(reinterpret_cast<const char*>(marker.data()), marker.size() * 2);
    const std::size_t at = original.find(needle);
    ASSERT_NE(at, std::string::npos);
    const std::size_t block = at - 6; // wLength, wValueLength, wType precede the key
    TempFolder folder;
    int read = 0;
    for (std::size_t offset = 0; offset < 900; offset += 2) {
        for (const char* bytes : {"\xFF\xFF", "\x00\x00", "\x07\x00"}) {
            std::string damaged = original;
            damaged.replace(block + offset, 2, bytes, 2);
            const std::wstring path = folder / (L"damaged" + std::to_wstring(offset) + L".dll");
            ASSERT_TRUE(WriteFileBytes(path, damaged));
            VersionInfo info;
            const std::int32_t result = ReadVersionInfo(path, info);
            EXPECT_TRUE(result == kVersionRead || result == kVersionFailed);
            read += result == kVersionRead;
            ::DeleteFileW(path.c_str());
        }
    }
    EXPECT_GT(read, 0); // damage outside the table leaves it readable
}

} // namespace
} // namespace skelvane::test
