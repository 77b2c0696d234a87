#include "checks/check_result.h"
#include "checks/os_info.h"

#include <gtest/gtest.h>

namespace skelvane {
namespace {

struct OsCase {
    std::uint32_t platform, major, minor;
    const char* csd;
    const wchar_t* description;
    bool ok;
};

void PrintTo(const OsCase& c, std::ostream* os) {
    *os << c.platform << "." << c.major << "." << c.minor << " '" << c.csd << "'";
}

class OsDescription : public ::testing::TestWithParam<OsCase> {};

TEST_P(OsDescription, NamesAndJudgesTheSystem) {
    const OsCase& c = GetParam();
    const OsInfo info = MakeOsInfo(c.platform, c.major, c.minor, 2600, c.csd);
    EXPECT_EQ(info.description, c.description);
    EXPECT_EQ(info.ok, c.ok);
    EXPECT_EQ(OsVerdict(info).passed, c.ok);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRowOfTheTable, OsDescription,
    ::testing::Values(
        OsCase{1, 4, 0, "", L"Windows 95", false}, OsCase{1, 4, 10, "", L"Windows 98", false},
        OsCase{1, 4, 10, " A", L"Windows 98", false}, OsCase{1, 4, 90, "", L"Windows Me", false},
        OsCase{1, 4, 3, "", L"", false}, OsCase{2, 3, 51, "", L"Windows NT 3.51", false},
        OsCase{2, 3, 0, "", L"Windows NT 3.51", false},
        OsCase{2, 4, 0, "Service Pack 6", L"Windows NT 4 SP6", false},
        OsCase{2, 5, 0, "Service Pack 4", L"Windows 2000 SP4", false},
        OsCase{2, 5, 1, "", L"Windows XP", false},
        OsCase{2, 5, 1, "Service Pack 1", L"Windows XP SP1", false},
        OsCase{2, 5, 1, "Service Pack 2", L"Windows XP SP2", true},
        OsCase{2, 5, 1, "Service Pack 3", L"Windows XP SP3", true},
        OsCase{2, 5, 2, "Service Pack 1", L"Windows Server 2003 SP1", false},
        OsCase{2, 5, 2, "Service Pack 2", L"Windows Server 2003 SP2", true},
        OsCase{2, 5, 3, "Service Pack 2", L" SP2", false},
        OsCase{2, 6, 0, "", L"Windows Vista/7", true},
        OsCase{2, 6, 1, "Service Pack 1", L"Windows Vista/7 SP1", true},
        OsCase{2, 6, 2, "", L"Windows Vista/7", true},
        OsCase{2, 6, 3, "", L"Windows Vista/7", true}, OsCase{2, 7, 0, "", L"Windows 7", true},
        OsCase{2, 2, 0, "", L"", false}, OsCase{2, 10, 0, "", L"", false},
        OsCase{2, 10, 0, "Service Pack 2", L" SP2", false},
        OsCase{0, 5, 1, "Service Pack 2", L" SP2", false}, OsCase{3, 6, 1, "", L"", false},
        OsCase{0, 0, 0, "", L"", false}));

TEST(ServicePack, ReadsOnlyTheFirstCharacterAfterTwelve) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},
        {"Service Pack", 0},
        {"Service Pack ", 0},
        {"Service Pack 2", 2},
        {"Service Pack    7", 7},
        {"Service Pack 10", 1},
        {"Service Pack 12", 1},
        {"Service Pack A", 0},
        {"Service PackX3", 0},
        {"Anything else 5", 0},
        {"xxxxxxxxxxxx9", 9},
        {"\xff\xfe garbage \x01\x02", 0},
    };
    for (const auto& [text, sp] : cases)
        EXPECT_EQ(ParseServicePack(text), sp) << text;
}

TEST(NarrowTo16, KeepsTheLowWordOfLargeNumbers) {
    EXPECT_EQ(NarrowTo16(2600), 2600);
    EXPECT_EQ(NarrowTo16(32767), 32767);
    EXPECT_EQ(NarrowTo16(32768), -32768);
    EXPECT_EQ(NarrowTo16(0x040A08AEu), 0x08AE); // Windows 98 SE: version in the high word
    EXPECT_EQ(NarrowTo16(0xFFFFFFFFu), -1);
    EXPECT_EQ(MakeOsInfo(2, 10, 0, 26100, "").Build, 26100);
    EXPECT_EQ(MakeOsInfo(1, 4, 10, 0x040A08AEu, "").Build, 0x08AE);
}

TEST(OsVerdict, NamesAnUnrecognisedSystemByItsNumbers) {
    const OsInfo info = MakeOsInfo(2, 10, 0, 19045, "");
    const CheckResult r = OsVerdict(info);
    EXPECT_FALSE(r.passed);
    EXPECT_NE(r.reason.find(L"platform 2, version 10.0"), std::wstring::npos) << r.reason;
}

} // namespace
} // namespace skelvane
