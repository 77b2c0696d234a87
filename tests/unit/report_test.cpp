#include "app/report.h"
#include "checks/next_step.h"
#include "common/number_text.h"
#include "common/shown_text.h"
#include "common/utf8.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
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

// One rule: --name or /name, any letter case; help's short forms too. The first argument
// not known is quoted as any text from outside is shown, and cut when long.
TEST(ReportArguments, EveryOptionInBothFormsAndAnyCase) {
    const auto read = [](const std::vector<std::wstring>& arguments) {
        const ReportOptions o = ParseReportArguments(arguments);
        return std::wstring(o.json ? L"json " : L"") + (o.help ? L"help " : L"") +
               (o.version ? L"version " : L"") + o.unknown.value_or(L"");
    };
    const std::wstring a60(60, L'a'), a59(59, L'a');
    const std::pair<std::vector<std::wstring>, std::wstring> cases[] = {
        {{}, L""},
        {{L"--json"}, L"json "},
        {{L"/JSON", L"--Json"}, L"json "},
        {{L"/Help", L"-H", L"/?", L"-?"}, L"help "},
        {{L"--VERSION", L"/version"}, L"version "},
        {{L"--json", L"--jsno", L"x"}, L"json \"--jsno\""},
        {{L""}, L"\"\""},
        {{L"-json", L"json", L"/h", L"--json="}, L"\"-json\""},
        {{L"\x1b]0;x\a\u202e"}, L"\"\uFFFD]0;x\uFFFD\uFFFD\""},
        {{a60}, L"\"" + a60 + L"\""},
        {{std::wstring(32000, L'a')}, L"\"" + a60 + L"\"... (32000 characters)"},
        {{a59 + L"\xD83D\xDE00"
                L"b"},
         L"\"" + a59 + L"\"... (62 characters)"}, // a pair stays whole
    };
    for (const auto& [arguments, options] : cases)
        EXPECT_EQ(read(arguments), options)
            << (arguments.empty() ? L"" : arguments[0].substr(0, 9));
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
    EXPECT_EQ(ReportText({}, L" SP2"), L"Operating system: (not recognised) SP2\n");

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

// Each run of code points never shown raw, at both ends and just outside them, and a few
// inside where Unicode's own list changes kind.
TEST(ShownText, EveryUnsafeRangeAtItsEdges) {
    const std::pair<std::uint32_t, std::uint32_t> unsafe[] = {
        {0x0000, 0x0008},   {0x000A, 0x001F},   {0x007F, 0x009F}, {0x00AD, 0x00AD},
        {0x034F, 0x034F},   {0x061C, 0x061C},   {0x115F, 0x1160}, {0x17B4, 0x17B5},
        {0x180B, 0x180F},   {0x200B, 0x200F},   {0x2028, 0x202E}, {0x2060, 0x206F},
        {0x3164, 0x3164},   {0xD800, 0xDFFF},   {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF},
        {0xFFA0, 0xFFA0},   {0xFFF0, 0xFFFB},   {0xFFFE, 0xFFFF}, {0x1BCA0, 0x1BCA3},
        {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
    };
    for (const auto& [first, last] : unsafe) {
        EXPECT_TRUE(IsUnsafeToShow(first) && IsUnsafeToShow(last)) << std::hex << first;
        EXPECT_FALSE(first > 0 && IsUnsafeToShow(first - 1)) << std::hex << first;
        EXPECT_FALSE(IsUnsafeToShow(last + 1)) << std::hex << last;
    }
    for (const std::uint32_t c : {0x180E, 0x2065, 0xFFF8, 0xE0001, 0xE007F, 0xE0100, 0xE01EF})
        EXPECT_TRUE(IsUnsafeToShow(c)) << std::hex << c;
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
        {u"\xDB40\xDC01\xDB40\xDDEF", u"\uFFFD\uFFFD"}, // U+E0001, U+E01EF
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
// general one, and a pass gets none; none gives advice that fails where it is shown. The
// window and the report word a step alike, except how to check again: F5 means nothing to
// the report.
TEST(NextStep, OneForEveryFailureAndSystem) {
    using enum FailureKind;
    using enum WindowsFamily;
    struct Case {
        FailureKind kind;
        std::set<WindowsFamily> families;
        const wchar_t* says; // in the window
        const wchar_t* never = L"KB3140245";
    };
    const Case cases[] = {
        {NameNotResolved, {Xp}, L"ask IT whether a proxy is needed"},
        {NoConnection, {EightOneOrLater}, L"firewall or proxy"},
        {CertificateDate, {Older, Seven}, L"certificate may have expired: contact Quorrel"},
        {CertificateDate, {Server2012R2OrLater}, L"right in Date and Time. Then press F5 to"},
        {CertificateAuthority, {Xp}, L"for Windows XP (KB931125)", L"Windows Update"},
        {CertificateAuthority, {Server2003}, L"ask IT to install current root", L"KB931125"},
        {CertificateAuthority, {Vista, Server2008, Seven, Server2008R2}, L"ctldl.windowsupdate"},
        {CertificateAuthority, {Eight, EightOneOrLater}, L"intercepting secure connections: ask"},
        {CertificateName, {Xp, Server2003}, L"(SNI)"},
        {CertificateName, {Vista, Server2012}, L"server of another name: ask IT"},
        {SecureChannel, {Older, Xp, Server2003, Vista}, L"use this program on a newer Windows"},
        {SecureChannel, {Server2008}, L"Windows Server 2008 SP2 (KB4019276)"},
        {SecureChannel, {Seven, Server2008R2}, L"TLS 1.2 is off by default here"},
        {SecureChannel, {Eight}, L"no \"Enabled\" value of 0 under", L"default"},
        {ProxyNeedsPassword, {Seven}, L"without a typed password"},
        {ServicePage, {Seven}, L"sign-in page is in the way"},
        {OsUnsupported, {Xp, Server2003}, L"Service Pack 2"},
        {OsUnsupported, {Older}, L"Windows XP or Server 2003 with Service Pack 2"},
        {InstallerTooOld, {Older, Xp, Server2003}, L"Install Windows Installer 3.1 or later."},
        {InstallerTooOld, {Vista, Server2008R2}, L"(\"sfc /scannow\")", L"DISM"},
        {InstallerTooOld, {Eight, Eleven26H1OrLater}, L"RestoreHealth\", then \"sfc"},
        {InstallerBroken, {Xp, Server2003}, L"4.5 (KB942288) from the Microsoft Download", L"sfc"},
        {InstallerBroken, {Vista, Seven}, L"administrator, run \"sfc /scannow\". Then", L"DISM"},
        {InstallerBroken, {Server2012, EightOneOrLater}, L"RestoreHealth\", then \"sfc /scannow\""},
        {DotNetMissing, {Older}, L"does not run on this Windows"},
        {DotNetMissing, {Xp, Server2003}, L"Windows Installer 3.1 if it is not there yet, then"},
        {DotNetMissing, {Vista, Server2008}, L"Install .NET Framework 3.5 SP1."},
        {DotNetMissing, {Seven}, L"turn on \"Microsoft .NET Framework 3.5.1\" in Windows Features"},
        {DotNetMissing, {Server2008R2}, L"select \".NET Framework 3.5.1\" only."},
        {DotNetMissing, {Eight, EightOneOrLater}, L"3.5 (includes .NET 2.0 and 3.0)\" in Windows"},
        {DotNetMissing, {Eleven26H1OrLater}, L"stand-alone .NET Framework 3.5 installer"},
        {DotNetMissing, {Server2012, Server2012R2OrLater}, L"Roles and Features and select \".NET"},
        {ReaderToolsMissing, {Vista}, L"card reader tools. Then press F5 to check again."},
    };
    for (const Case& c : cases)
        for (WindowsFamily family : c.families) {
            const std::wstring step = NextStep(c.kind, family, StepReader::Window);
            EXPECT_NE(step.find(c.says), std::wstring::npos)
                << static_cast<int>(c.kind) << " " << static_cast<int>(family);
            EXPECT_EQ(step.find(c.never), std::wstring::npos)
                << static_cast<int>(c.kind) << " " << static_cast<int>(family);
        }

    const std::set<std::pair<FailureKind, WindowsFamily>> general = {
        {SecureChannel, Server2012},
        {SecureChannel, EightOneOrLater},
        {SecureChannel, Server2012R2OrLater},
        {SecureChannel, Eleven26H1OrLater},
        {InstallerBroken, Older}};
    constexpr std::wstring_view kF5 = L" Then press F5 to check again.";
    constexpr std::wstring_view kRunAgain = L" Then run this report again.";
    for (int k = static_cast<int>(Unfinished); k <= static_cast<int>(ReaderToolsMissing); ++k)
        for (int f = 0; f < kWindowsFamilies; ++f) {
            const auto kind = static_cast<FailureKind>(k);
            const auto family = static_cast<WindowsFamily>(f);
            const std::wstring window = NextStep(kind, family, StepReader::Window);
            const std::wstring report = NextStep(kind, family, StepReader::Report);
            const bool expectGeneral =
                kind == Unfinished || kind == WebOther || general.count({kind, family});
            EXPECT_EQ(report == kGeneralStep, expectGeneral) << k << " " << f;
            EXPECT_TRUE(report.ends_with(L".")) << k << " " << f;
            EXPECT_EQ(report.find(L"F5"), std::wstring::npos);
            const bool again = window.ends_with(kF5);
            EXPECT_EQ(report.ends_with(kRunAgain), again) << k << " " << f;
            if (again)
                EXPECT_EQ(window.substr(0, window.size() - kF5.size()),
                          report.substr(0, report.size() - kRunAgain.size()));
            else
                EXPECT_EQ(window, report);
        }
    EXPECT_TRUE(NextStep(None, Seven, StepReader::Window).empty());
}

// Clients apart from the servers that share their numbers; a domain controller is a
// server, and XP x64 (5.2, workstation) is XP.
TEST(NextStep, FamilyFromTheTrueVersionAndProductType) {
    using enum WindowsFamily;
    struct Case {
        unsigned major, minor, productType, build;
        WindowsFamily family;
    };
    const Case cases[] = {
        {4, 0, 1, 1381, Older},
        {5, 0, 3, 2195, Older},
        {5, 1, 1, 2600, Xp},
        {5, 2, 1, 3790, Xp},
        {5, 2, 3, 3790, Server2003},
        {5, 2, 2, 3790, Server2003},
        {6, 0, 1, 6002, Vista},
        {6, 0, 3, 6003, Server2008},
        {6, 1, 1, 7601, Seven},
        {6, 1, 2, 7601, Server2008R2},
        {6, 1, 0, 7601, Seven},
        {6, 2, 1, 9200, Eight},
        {6, 2, 3, 9200, Server2012},
        {6, 3, 1, 9600, EightOneOrLater},
        {6, 3, 3, 9600, Server2012R2OrLater},
        {10, 0, 1, 27999, EightOneOrLater},
        {10, 0, 1, 28000, Eleven26H1OrLater},
        {10, 0, 3, 28000, Server2012R2OrLater},
        {10, 0, 2, 26100, Server2012R2OrLater},
        {11, 0, 1, 0, EightOneOrLater},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FamilyOf(c.major, c.minor, c.productType, c.build), c.family)
            << c.major << "." << c.minor << " type " << c.productType << " build " << c.build;
}

} // namespace
} // namespace skelvane
