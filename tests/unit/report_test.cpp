#include "app/report.h"
#include "common/utf8.h"

#include <gtest/gtest.h>

namespace skelvane {
namespace {

std::vector<ReportRow> Rows(bool lastPasses) {
    return {{"app_url", L"Internet Access (Application)", Pass(L"page found")},
            {"smartcard", L"Smart Card Driver", {lastPasses, L"directory \"x\"\\y"}}};
}

TEST(ReportArguments, OptionsAndMistakes) {
    EXPECT_FALSE(ParseReportArguments({}).json);
    EXPECT_TRUE(ParseReportArguments({L"--json"}).json);
    EXPECT_TRUE(ParseReportArguments({L"/json"}).json);
    for (const wchar_t* help : {L"--help", L"-h", L"/?", L"-?"})
        EXPECT_TRUE(ParseReportArguments({help}).help);
    EXPECT_EQ(ParseReportArguments({L"--json", L"--jsno", L"x"}).error, L"--jsno");
    EXPECT_EQ(ParseReportArguments({L""}).error, L"");
}

TEST(ReportExitCode, ZeroOnlyWhenAllPass) {
    EXPECT_EQ(ReportExitCode(Rows(true)), kExitAllPassed);
    EXPECT_EQ(ReportExitCode(Rows(false)), kExitSomeFailed);
    EXPECT_EQ(ReportExitCode({}), kExitAllPassed);
}

TEST(ReportText, AlignedLinesThenTheSystem) {
    EXPECT_EQ(ReportText(Rows(false), L"Windows XP SP3"),
              L"PASS  Internet Access (Application)  page found\n"
              L"FAIL  Smart Card Driver              directory \"x\"\\y\n"
              L"Operating system: Windows XP SP3\n");
    EXPECT_EQ(ReportText({}, L""), L"Operating system: (not recognised)\n");
}

TEST(ReportJson, OneObjectWithEscapedTexts) {
    EXPECT_EQ(ReportJson(Rows(true), L"Windows 7"),
              "{\"passed\": true, \"os\": \"Windows 7\", \"checks\": ["
              "{\"id\": \"app_url\", \"name\": \"Internet Access (Application)\", \"passed\": "
              "true, \"reason\": \"page found\"}, "
              "{\"id\": \"smartcard\", \"name\": \"Smart Card Driver\", \"passed\": true, "
              "\"reason\": \"directory \\\"x\\\"\\\\y\"}]}\n");
    EXPECT_EQ(ReportJson(Rows(false), L"").substr(0, 28), "{\"passed\": false, \"os\": \"\", ");
}

TEST(JsonString, EscapesAndEncodes) {
    EXPECT_EQ(JsonString(L""), "\"\"");
    EXPECT_EQ(JsonString(L"a\tb\nc\r\x01"), "\"a\\tb\\nc\\r\\u0001\"");
    EXPECT_EQ(JsonString(L"C:\\Program Files"), "\"C:\\\\Program Files\"");
    EXPECT_EQ(JsonString(L"caf\u00e9 \u20ac"), "\"caf\xc3\xa9 \xe2\x82\xac\"");
}

TEST(Utf8, SurrogatesAndBadInput) {
    EXPECT_EQ(Utf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xef\xbf\xbd");
    if constexpr (sizeof(wchar_t) == 2) {
        EXPECT_EQ(Utf8(L"\xD83D\xDE00"), "\xf0\x9f\x98\x80");
    } else {
        EXPECT_EQ(Utf8(std::wstring(1, static_cast<wchar_t>(0x1F600))), "\xf0\x9f\x98\x80");
    }
}

} // namespace
} // namespace skelvane
