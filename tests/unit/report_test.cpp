#include "app/report.h"
#include "checks/next_step.h"
#include "common/number_text.h"
#include "common/shown_text.h"
#include "common/utf8.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

namespace skelvane {
namespace {

constexpr ProgramName kProgram{L"Skelvane", L"1.00"};

std::vector<ReportRow> Rows(bool lastPasses) {
    return {{"app_url", L"Internet Access (Application)", Pass(L"page found"), {}},
            {"smartcard",
             L"Smart Card Driver",
             {lastPasses, L"directory \"x\"\\y"},
             lastPasses ? L"" : L"Install the tools."}};
}

TEST(ReportArguments, OptionsAndMistakes) {
    EXPECT_FALSE(ParseReportArguments({}).json);
    EXPECT_TRUE(ParseReportArguments({L"--json"}).json);
    EXPECT_TRUE(ParseReportArguments({L"/json"}).json);
    for (const wchar_t* help : {L"--help", L"-h", L"/?", L"-?"})
        EXPECT_TRUE(ParseReportArguments({help}).help);
    EXPECT_EQ(ParseReportArguments({L"--json", L"--jsno", L"x"}).error, L"--jsno");
    // The argument is shown as any text from outside is.
    EXPECT_EQ(ParseReportArguments({L"\x1b]0;x\a\u202e"}).error, L"\uFFFD]0;x\uFFFD\uFFFD");
    EXPECT_EQ(ParseReportArguments({L""}).error, L"");
}

TEST(ReportExitCode, ZeroOnlyWhenAllPass) {
    EXPECT_EQ(ReportExitCode(Rows(true)), kExitAllPassed);
    EXPECT_EQ(ReportExitCode(Rows(false)), kExitSomeFailed);
    EXPECT_EQ(ReportExitCode({}), kExitAllPassed);
}

TEST(ReportText, AlignedLinesNextStepsThenTheSystem) {
    const std::wstring lines = L"PASS  Internet Access (Application)  page found\n"
                               L"FAIL  Smart Card Driver              directory \"x\"\\y\n"
                               L"      Next step: Install the tools.\n"
                               L"Operating system: Windows XP SP3\n";
    EXPECT_EQ(ReportText(Rows(false), L"Windows XP SP3"), lines);
    EXPECT_EQ(ReportText({}, L""), L"Operating system: (not recognised)\n");

    // Copied to the clipboard: the same lines, the program and the time, as Windows text.
    std::wstring crlf;
    for (wchar_t c : lines)
        crlf += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
    EXPECT_EQ(CopiedResults(Rows(false), L"Windows XP SP3", kProgram, {2026, 3, 4, 5, 6, 7}),
              crlf + L"Program: Skelvane 1.00\r\nChecked: 2026-03-04 05:06:07\r\n");
}

TEST(ReportJson, OneObjectWithEscapedTextsThenTheProgram) {
    EXPECT_EQ(ReportJson(Rows(true), L"Windows 7", kProgram),
              "{\"passed\": true, \"os\": \"Windows 7\", \"checks\": ["
              "{\"id\": \"app_url\", \"name\": \"Internet Access (Application)\", \"passed\": "
              "true, \"reason\": \"page found\"}, "
              "{\"id\": \"smartcard\", \"name\": \"Smart Card Driver\", \"passed\": true, "
              "\"reason\": \"directory \\\"x\\\"\\\\y\"}], "
              "\"program\": {\"name\": \"Skelvane\", \"version\": \"1.00\"}, \"schema\": 1}\n");
    const std::string failing = ReportJson(Rows(false), L"", kProgram);
    EXPECT_EQ(failing.substr(0, 28), "{\"passed\": false, \"os\": \"\", ");
    EXPECT_NE(failing.find("\"passed\": false, \"reason\": \"directory \\\"x\\\"\\\\y\", "
                           "\"next_step\": \"Install the tools.\"}"),
              std::string::npos);
}

TEST(JsonString, EscapesAndEncodes) {
    EXPECT_EQ(JsonString(L""), "\"\"");
    EXPECT_EQ(JsonString(L"a\tb\nc\r\x01\x1b"), "\"a\\tb\\nc\\r\\u0001\\u001B\"");
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

TEST(NumberText, WithoutPrintf) {
    EXPECT_EQ(DecimalText(0), L"0");
    EXPECT_EQ(DecimalText(-32768), L"-32768");
    EXPECT_EQ(DecimalText(4294967295LL), L"4294967295");
    EXPECT_EQ(DecimalText(-9223372036854775807LL - 1), L"-9223372036854775808");
    EXPECT_EQ(DecimalText(7, 2), L"07");
    EXPECT_EQ(DecimalText(2026, 2), L"2026");
    EXPECT_EQ(HexText(0x409, 4), "0409");
    EXPECT_EQ(HexText(0xABCDE, 2), "ABCDE");
    EXPECT_EQ(HexText(0, 2), "00");
    const std::pair<double, const wchar_t*> doubles[] = {
        {0.1, L"0.1"},
        {1e20, L"1e+20"},
        {-2.5e-300, L"-2.5e-300"},
        {1e-5, L"1e-05"},
        {1e100, L"1e+100"},
        {std::numeric_limits<double>::infinity(), L"inf"},
        {-std::numeric_limits<double>::infinity(), L"-inf"},
        {-std::numeric_limits<double>::quiet_NaN(), L"nan"},
    };
    for (const auto& [value, text] : doubles)
        EXPECT_EQ(DoubleText(value), text);
}

// A reason is made showable where it is made: a control character, a direction mark or an
// invisible character from outside becomes U+FFFD in place; tab and everything else stays.
TEST(CheckResult, ReasonsFromOutsideAreMadeShowable) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\Program Files\\x", L"C:\\Program Files\\x"},
        {L"a\tb", L"a\tb"},
        {L"\x1b[2J\a\x7f", L"\uFFFD[2J\uFFFD\uFFFD"},
        {L"line\r\nFAKE PASS", L"line\uFFFD\uFFFDFAKE PASS"},
        {L"\u0085\u009f\u00a0", L"\uFFFD\uFFFD\u00a0"},
        {L"exe.\u202etxt\u2066\u2069\u200e\u200f\u061c\u202a",
         std::wstring(L"exe.\uFFFDtxt") + std::wstring(6, L'\uFFFD')},
        {L"pay\u200bpal\u2028\ufeff", L"pay\uFFFDpal\uFFFD\uFFFD"},
        {L"caf\u00e9 \u20ac \u05d0", L"caf\u00e9 \u20ac \u05d0"},
    };
    for (const auto& [from, shown] : cases) {
        EXPECT_EQ(Fail(FailureKind::WebOther, from).reason, shown);
        EXPECT_EQ(Pass(from).reason, shown);
    }
    EXPECT_EQ(Pass(L"x").kind, FailureKind::None);
    EXPECT_EQ(CheckResult(false, L"x").kind, FailureKind::Unfinished);
}

// Each run of code points never shown raw, at both ends and just outside them, as UTF-16
// and as this platform's wchar_t.
TEST(ShownText, EveryUnsafeRangeAtItsEdges) {
    const std::pair<std::uint32_t, std::uint32_t> unsafe[] = {
        {0x0000, 0x0008}, {0x000A, 0x001F}, {0x007F, 0x009F}, {0x061C, 0x061C},
        {0x200B, 0x200F}, {0x2028, 0x202E}, {0x2060, 0x2064}, {0x2066, 0x206F},
        {0xD800, 0xDFFF}, {0xFEFF, 0xFEFF}, {0xFFF9, 0xFFFB},
    };
    const auto shown = [](std::uint32_t c) {
        const std::u16string utf16 = ShownText(std::u16string(1, static_cast<char16_t>(c)));
        EXPECT_EQ(ShownText(std::wstring(1, static_cast<wchar_t>(c))),
                  std::wstring(utf16.begin(), utf16.end()))
            << std::hex << c;
        return utf16 == std::u16string(1, static_cast<char16_t>(c));
    };
    for (const auto& [first, last] : unsafe) {
        EXPECT_FALSE(shown(first)) << std::hex << first;
        EXPECT_FALSE(shown(last)) << std::hex << last;
        if (first > 0) EXPECT_TRUE(shown(first - 1)) << std::hex << first - 1;
        EXPECT_TRUE(shown(last + 1)) << std::hex << last + 1;
    }
}

// Code points, not code units: a pair stands, a surrogate alone is one U+FFFD, and where
// wchar_t holds 32 bits nothing beyond Unicode passes.
TEST(ShownText, SurrogatesByCodePoint) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"\xD83D\xDE00", u"\xD83D\xDE00"},
        {u"\xD800\xDC00\xDBFF\xDFFF", u"\xD800\xDC00\xDBFF\xDFFF"},
        {u"a\xD83D", u"a\uFFFD"},
        {u"\xD83D"
         u"b",
         u"\uFFFDb"},
        {u"\xDE00\xD83D", u"\uFFFD\uFFFD"},
        {u"\xD83D\xD83D\xDE00\xDE00", u"\uFFFD\xD83D\xDE00\uFFFD"},
        {u"\xD83D\u200B\xDE00", u"\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& [from, shown] : cases)
        EXPECT_EQ(ShownText(from), shown);
    if constexpr (sizeof(wchar_t) == 4) {
        for (const char32_t kept : {0x1F600u, 0x10FFFFu})
            EXPECT_EQ(ShownText(std::wstring(1, static_cast<wchar_t>(kept))),
                      std::wstring(1, static_cast<wchar_t>(kept)));
        EXPECT_EQ(ShownText(std::wstring(1, static_cast<wchar_t>(0x110000))), L"\uFFFD");
    }
}

// Every failure on every Windows has a step; only the ones not known precisely get the
// general one, and a pass gets none.
TEST(NextStep, OneForEveryFailureAndSystem) {
    using enum FailureKind;
    using enum WindowsFamily;
    struct Case {
        FailureKind kind;
        WindowsFamily family;
        const wchar_t* says;
    };
    const Case cases[] = {
        {NameNotResolved, XpOr2003, L"ask IT whether a proxy is needed"},
        {NoConnection, EightOneOrLater, L"firewall or proxy"},
        {CertificateDate, Seven, L"date and time"},
        {CertificateAuthority, Vista, L"intercepting secure connections: ask IT"},
        {CertificateName, Eight, L"ask IT"},
        {SecureChannel, Seven, L"KB3140245"},
        {SecureChannel, Eight, L"KB3140245"},
        {SecureChannel, XpOr2003, L"newer Windows"},
        {SecureChannel, Vista, L"newer Windows"},
        {ProxyNeedsPassword, Seven, L"without a typed password"},
        {ServicePage, Seven, L"sign-in page is in the way"},
        {OsUnsupported, XpOr2003, L"Service Pack 2"},
        {OsUnsupported, Older, L"Windows XP or Server 2003 with Service Pack 2"},
        {InstallerTooOld, XpOr2003, L"Windows Installer 3.1 or later"},
        {InstallerBroken, Seven, L"sfc /scannow"},
        {DotNetMissing, Seven, L"Install .NET Framework 3.5 SP1"},
        {DotNetMissing, XpOr2003, L"Install .NET Framework 3.5 SP1"},
        {DotNetMissing, Eight, L"Turn on \".NET Framework 3.5\" in Windows Features"},
        {DotNetMissing, EightOneOrLater, L"Turn on \".NET Framework 3.5\" in Windows Features"},
        {ReaderToolsMissing, Vista, L"card reader tools"},
    };
    for (const Case& c : cases)
        EXPECT_NE(NextStep(c.kind, c.family).find(c.says), std::wstring_view::npos)
            << static_cast<int>(c.kind) << " " << static_cast<int>(c.family);

    const std::set<std::pair<FailureKind, WindowsFamily>> general = {
        {SecureChannel, EightOneOrLater}};
    for (int k = static_cast<int>(Unfinished); k <= static_cast<int>(ReaderToolsMissing); ++k)
        for (int f = 0; f < kWindowsFamilies; ++f) {
            const auto kind = static_cast<FailureKind>(k);
            const auto family = static_cast<WindowsFamily>(f);
            const bool expectGeneral =
                kind == Unfinished || kind == WebOther || general.count({kind, family});
            EXPECT_EQ(NextStep(kind, family) == kGeneralStep, expectGeneral) << k << " " << f;
            EXPECT_FALSE(NextStep(kind, family).empty());
        }
    EXPECT_TRUE(NextStep(None, Seven).empty());
}

TEST(NextStep, FamilyFromTheTrueVersion) {
    using enum WindowsFamily;
    const std::pair<std::pair<unsigned, unsigned>, WindowsFamily> cases[] = {
        {{4, 0}, Older},    {{5, 0}, Older},           {{5, 1}, XpOr2003},
        {{5, 2}, XpOr2003}, {{6, 0}, Vista},           {{6, 1}, Seven},
        {{6, 2}, Eight},    {{6, 3}, EightOneOrLater}, {{10, 0}, EightOneOrLater},
    };
    for (const auto& [version, family] : cases)
        EXPECT_EQ(FamilyOf(version.first, version.second), family) << version.first;
}

} // namespace
} // namespace skelvane
