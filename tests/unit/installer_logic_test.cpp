#include "checks/installer_version.h"
#include "checks/path_template.h"
#include "checks/version_info.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace skelvane {
namespace {

TEST(IsInstallerOK, ComparesTheFirstTwoParts) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"3.1.4000.2435", true},
        {L"3.01.4000.1823", true},
        {L"3.0.3790.2180", false},
        {L"2.0.2600.2", false},
        {L"4.5.6001.22159", true},
        {L"5.0.7601.17514 (win7sp1_rtm.101119-1850)", true},
        {L"4", true},
        {L"3.a1", false},
        {L"3. 1", true},
        {L" 3\t.\n1", true},
        {L"3.1 0", true},
        {L"3. 0 1", true}, // blanks are ignored inside a part: " 0 1" reads as 1
        {L"", false},      // a failed read leaves no version: not proven
        {L"3", false},     // 3 with no minor part is 3.0
        {L"3.", false},
        {L"10.0", true},
        {L"x.9", false},
        {L"99999999999999999999.0", true}, // saturates, never overflows
        {L"3.99999999999999999999", true},
        {L"-4.0", false},
    };
    for (const auto& [version, ok] : cases)
        EXPECT_EQ(IsInstallerOK(version), ok) << version;
}

TEST(TranslationTableName, EightUpperCaseHexDigits) {
    const std::vector<std::uint8_t> usUnicode{0x09, 0x04, 0xB0, 0x04};
    EXPECT_EQ(TranslationTableName(usUnicode.data(), 4), "040904B0");
    const std::vector<std::uint8_t> neutral{0x00, 0x00, 0xB0, 0x04};
    EXPECT_EQ(TranslationTableName(neutral.data(), 4), "000004B0");
    const std::vector<std::uint8_t> zero{0, 0, 0, 0};
    EXPECT_EQ(TranslationTableName(zero.data(), 4), "00000000");
    // Further entries are ignored; a short one counts its missing bytes as zero.
    const std::vector<std::uint8_t> two{0x07, 0x04, 0xE4, 0x04, 0x09, 0x04, 0xB0, 0x04};
    EXPECT_EQ(TranslationTableName(two.data(), two.size()), "040704E4");
    EXPECT_EQ(TranslationTableName(usUnicode.data(), 3), "040900B0");
    EXPECT_EQ(TranslationTableName(usUnicode.data(), 1), "00090000");
    EXPECT_EQ(TranslationTableName(usUnicode.data(), 0), "00000000");
    EXPECT_EQ(TranslationTableName(nullptr, 4), "00000000");
    const std::vector<std::uint8_t> high{0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(TranslationTableName(high.data(), 4), "FFFFFFFF");
}

TEST(BoundedText, StopsAtTheNulOrTheEndOfTheBlock) {
    const char block[] = {'a', 'b', '\0', 'c', 'd', 'e'};
    const char* end = block + sizeof block;
    EXPECT_EQ(BoundedText(block, end), "ab");      // text after an embedded NUL is dropped
    EXPECT_EQ(BoundedText(block + 3, end), "cde"); // no terminator inside: ends at the block
    EXPECT_EQ(BoundedText(block + 2, end), "");
    EXPECT_EQ(BoundedText(end, end), "");
    EXPECT_EQ(BoundedText(nullptr, end), "");
    EXPECT_EQ(BoundedText(block + 4, block + 3), "");
    const std::string long_value(300, 'x');
    EXPECT_EQ(BoundedText(long_value.c_str(), long_value.c_str() + long_value.size() + 1).size(),
              300u);
}

TEST(VersionField, KeysAndFieldsLineUp) {
    VersionInfo info;
    for (std::size_t i = 0; i < std::size(kVersionKeys); ++i)
        VersionField(info, i) =
            std::wstring(kVersionKeys[i], kVersionKeys[i] + std::strlen(kVersionKeys[i]));
    EXPECT_EQ(info.CompanyName, L"CompanyName");
    EXPECT_EQ(info.FileVersion, L"FileVersion");
    EXPECT_EQ(info.OriginalFileName, L"OriginalFileName");
    EXPECT_EQ(info.ProductVersion, L"ProductVersion");
}

TEST(ReplaceAll, WindowsToken) {
    EXPECT_EQ(ReplaceAll(L"$WIN$\\Microsoft.NET\\Framework\\v3.5", L"$WIN$", L"C:\\windows"),
              L"C:\\windows\\Microsoft.NET\\Framework\\v3.5");
    EXPECT_EQ(ReplaceAll(L"$WIN$\\Microsoft.NET\\Framework\\v3.5", L"$WIN$", L""),
              L"\\Microsoft.NET\\Framework\\v3.5");
    EXPECT_EQ(ReplaceAll(L"$WIN$;$WIN$", L"$WIN$", L"X"), L"X;X");
    EXPECT_EQ(ReplaceAll(L"$win$", L"$WIN$", L"X"), L"$win$");
    EXPECT_EQ(ReplaceAll(L"$WIN$", L"$WIN$", L"$WIN$$WIN$"), L"$WIN$$WIN$"); // no rescanning
    EXPECT_EQ(ReplaceAll(L"abc", L"", L"X"), L"abc");
}

} // namespace
} // namespace skelvane
