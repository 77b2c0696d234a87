// SkelvaneReport.exe run as a management tool would run it, with each check made to pass and fail.
#include "checks/directory_probes.h"
#include "checks/installer_check.h"
#include "checks/next_step.h"
#include "common/utf8.h"
#include "loopback_server.h"
#include "support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <sstream>
#include <tuple>

namespace skelvane::test {
namespace {

struct Outcome {
    DWORD code;
    std::string output;
};

Outcome Report(const std::wstring& arguments) {
    ChildProcess report(L"\"" + ProductExe(L"SkelvaneReport.exe") + L"\" " + arguments, true);
    EXPECT_TRUE(report.started());
    EXPECT_TRUE(report.Wait(150000));
    return {report.ExitCode(), report.Output()};
}

std::string Line(const std::string& output, const std::string& start) {
    const std::size_t at = output.find(start);
    if (at == std::string::npos) return {};
    return output.substr(at, output.find('\n', at) - at);
}

// Kept for the schema check that runs after this test (check_report_json.py).
void SaveJson(const char* name, const std::string& json) {
    WriteFileBytes(WinePath(SKELVANE_TOOLS_DIR) + L"\\report-" +
                       std::wstring(name, name + std::strlen(name)) + L".json",
                   json);
}

// The version the programs' own version resource carries.
std::string FileVersionOf(const std::wstring& exe) {
    std::vector<char> block = VersionBlock(exe);
    const std::wstring version = VersionString(block, L"FileVersion");
    return std::string(version.begin(), version.end());
}

// The http host redirects through an address full of terminal escapes and direction
// marks before it gives the page: the row still passes, and nothing of them is printed.
TEST(Report, AllSixPass) {
    LoopbackServer app(47801, LoopbackServer::kHostile); // the http host of the test build
    ASSERT_TRUE(app.running());
    ReaderAndFramework folders;
    const Outcome text = Report(L"");
    EXPECT_EQ(text.code, 0u) << text.output;
    EXPECT_FALSE(ShowsUnsafe(text.output)) << text.output;
    EXPECT_NE(Line(text.output, "PASS  Internet Access (Application)")
                  .find("page found with its marker: http://127.0.0.1:47801/x%1B[2J%1B]0;owned%07"),
              std::string::npos)
        << text.output;
    for (const char* row :
         {"PASS  Internet Access (Application)", "PASS  Internet Access (Secure Web Service)",
          "PASS  Operating System", "PASS  Windows Installer 3.1", "PASS  Dot Net Framework V3.5",
          "PASS  Smart Card Driver"})
        EXPECT_NE(Line(text.output, row), "") << row << "\n" << text.output;
    EXPECT_NE(text.output.find("Operating system: "), std::string::npos);
    EXPECT_NE(Line(text.output, "PASS  Smart Card Driver")
                  .find("directory found: C:\\Program Files\\GemAlto\\ReaderTools"),
              std::string::npos);

    const Outcome json = Report(L"--json");
    EXPECT_EQ(json.code, 0u);
    EXPECT_FALSE(ShowsUnsafe(json.output)) << json.output;
    EXPECT_EQ(json.output.rfind("{\"passed\": true, \"os\": ", 0), 0u) << json.output;
    EXPECT_NE(
        json.output.find(
            "{\"id\": \"smartcard\", \"name\": \"Smart Card Driver\", \"passed\": true, "
            "\"reason\": \"directory found: C:\\\\Program Files\\\\GemAlto\\\\ReaderTools\"}"),
        std::string::npos)
        << json.output; // a passing row has no next step
    EXPECT_NE(json.output.find("], \"program\": {\"name\": \"Skelvane\", \"version\": \"" +
                               FileVersionOf(ProductExe(L"SkelvaneReport.exe")) +
                               "\"}, \"schema\": 1}"),
              std::string::npos)
        << json.output;
    EXPECT_EQ(app.rawTargets(), 0); // the redirect target was encoded before it was sent
    SaveJson("passing", json.output);
}

TEST(Report, FailuresSayWhy) {
    // No http server and no folders; no installer library where the registry points;
    // Wine told to report Windows 2000 to this program. The https page is still served.
    TempFolder empty;
    RegistryValueGuard installer(kHkeyLocalMachine, kInstallerKey, kInstallerValue);
    installer.Set(empty.path() + L"\\\x1b[2J\x07"); // shown in the reason, and made safe there
    RegistryValueGuard version(static_cast<std::int32_t>(0x80000001u),
                               L"Software\\Wine\\AppDefaults\\SkelvaneReport.exe", L"Version");
    version.Set(L"win2k");
    const Outcome text = Report(L"");
    EXPECT_EQ(text.code, 1u);
    EXPECT_FALSE(ShowsUnsafe(text.output));
    const std::pair<const char*, const char*> rows[] = {
        {"FAIL  Internet Access (Application)",
         "could not connect to the server: http://127.0.0.1:47801/"},
        {"PASS  Internet Access (Secure Web Service)", ""},
        {"FAIL  Windows Installer 3.1", "\\\xEF\xBF\xBD[2J\xEF\xBF\xBD\\msi.dll"},
        {"FAIL  Dot Net Framework V3.5", "directory not found: "},
        {"FAIL  Smart Card Driver", "directory not found: "}};
    for (const auto& [row, says] : rows) // a row that is missing has no text after its start
        EXPECT_NE(Line(text.output, row).find(says, std::strlen(row)), std::string::npos)
            << row << "\n"
            << text.output;
    // A next step on its own indented line under each failure, and under nothing else.
    std::istringstream lines(text.output);
    int failed = 0, steps = 0, stepsAfterFailures = 0;
    for (std::string line, previous; std::getline(lines, line); previous = line) {
        failed += line.starts_with("FAIL  ");
        steps += line.starts_with("      Next step: ");
        stepsAfterFailures +=
            line.starts_with("      Next step: ") && previous.starts_with("FAIL  ");
    }
    EXPECT_EQ(failed, 5) << text.output;
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(stepsAfterFailures, 5);
    EXPECT_NE(text.output.find("      Next step: Install the card reader tools"),
              std::string::npos);

    const Outcome json = Report(L"--json");
    EXPECT_EQ(json.code, 1u);
    EXPECT_EQ(json.output.rfind("{\"passed\": false", 0), 0u);
    EXPECT_NE(
        json.output.find(
            "{\"id\": \"app_url\", \"name\": \"Internet Access (Application)\", \"passed\": false"),
        std::string::npos);
    EXPECT_NE(json.output.find("\", \"next_step\": \"Check the network connection"),
              std::string::npos)
        << json.output;
    SaveJson("failing", json.output);
}

// Servers apart: Wine 8 reports 6.1 for both "win7" and "win2008r2" but makes one of them
// a server (the other way round from the names), so the two settings must get 7's .NET
// step and Server 2008 R2's, one each, whichever way Wine has them.
TEST(Report, ClientAndServerOfOneVersionGetTheirOwnSteps) {
    RegistryValueGuard version(static_cast<std::int32_t>(0x80000001u),
                               L"Software\\Wine\\AppDefaults\\SkelvaneReport.exe", L"Version");
    std::set<std::string> steps;
    for (const wchar_t* setting : {L"win7", L"win2008r2"}) {
        version.Set(setting);
        const std::string output = Report(L"").output;
        const std::size_t row = output.find("FAIL  Dot Net Framework V3.5");
        ASSERT_NE(row, std::string::npos) << output;
        const std::size_t step = output.find('\n', row) + 1;
        steps.insert(output.substr(step, output.find('\r', step) - step));
    }
    const auto stepOf = [](WindowsFamily family) {
        return "      Next step: " +
               Utf8(NextStep(FailureKind::DotNetMissing, family, StepReader::Report));
    };
    EXPECT_EQ(steps, (std::set{stepOf(WindowsFamily::Seven), stepOf(WindowsFamily::Server2008R2)}));
}

// A proxy that asks for sign-in: by name and password only, it is not answered; by
// Windows sign-in, it is answered once per web check with the user's own, never twice.
TEST(Report, ProxiesThatAskForSignIn) {
    struct Case {
        const char* offers;
        const char* reason;
        long requests;
    };
    const Case cases[] = {
        {"Basic realm=\"corp\"", "the proxy asks for a user name and password: ", 2},
        {"Digest realm=\"corp\", nonce=\"1\"", "the proxy asks for a user name and password: ", 2},
        {"NTLM", "the proxy did not accept this user's Windows sign-in: ", 4},
    };
    for (const Case& c : cases) {
        LoopbackServer proxy(0, std::string("HTTP/1.1 407 Proxy Authentication Required\r\n") +
                                    "Proxy-Authenticate: " + c.offers +
                                    "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        ASSERT_TRUE(proxy.running());
        ProxySetting setting("127.0.0.1:" + std::to_string(proxy.port()));
        const Outcome text = Report(L"");
        EXPECT_EQ(text.code, 1u) << c.offers;
        // Wine fails the secure tunnel itself where Windows hands back the 407, so only
        // the http row's reason is checked; the https row must fail all the same.
        EXPECT_NE(Line(text.output, "FAIL  Internet Access (Application)").find(c.reason),
                  std::string::npos)
            << c.offers << "\n"
            << text.output;
        EXPECT_NE(Line(text.output, "FAIL  Internet Access (Secure Web Service)"), "");
        EXPECT_LE(proxy.requests(), c.requests) << c.offers;
        EXPECT_GE(proxy.requests(), 2) << c.offers;
    }
}

TEST(Report, HelpVersionAndBadArguments) {
    const Outcome help = Report(L"--help");
    EXPECT_EQ(help.code, 0u);
    EXPECT_NE(help.output.find("Usage: SkelvaneReport [--json]"), std::string::npos);
    EXPECT_NE(help.output.find("Exit code: 0 when all six checks pass"), std::string::npos);
    const Outcome version = Report(L"/Version");
    EXPECT_EQ(version.code, 0u);
    EXPECT_EQ(version.output,
              "SkelvaneReport " + FileVersionOf(ProductExe(L"SkelvaneReport.exe")) + "\r\n");
    const Outcome bad = Report(L"--frobnicate");
    EXPECT_EQ(bad.code, 2u);
    EXPECT_EQ(bad.output, ""); // the complaint goes to standard error
}

// Standard output on a device that is always full: exit code 3 and one line on standard
// error, whether the checks ran or not. A bad argument is still 2, and like help and
// version it runs no check (the http host sees no request).
TEST(Report, OutputThatCannotBeWrittenHasAnExitCodeOfItsOwn) {
    LoopbackServer app(47801, LoopbackServer::kHostile);
    ASSERT_TRUE(app.running());
    const std::string failed = "SkelvaneReport: the report could not be written to standard output";
    const std::string usage = "; SkelvaneReport --help explains the options.\r\n";
    const std::tuple<std::wstring, DWORD, std::string, bool> cases[] = {
        {L"--Help", 3, failed, false},
        {L"", 3, failed, true},
        {L"/JSON", 3, failed, true},
        {L"\"\"", 2, "SkelvaneReport: unknown argument \"\"" + usage, false},
        {std::wstring(32000, L'x'), 2,
         "SkelvaneReport: unknown argument \"" + std::string(60, 'x') + "\"... (32000 characters)" +
             usage,
         false},
    };
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const unique_file full(::CreateFileW(L"\\\\?\\unix\\dev\\full", GENERIC_WRITE, FILE_SHARE_WRITE,
                                         &inherited, OPEN_EXISTING, 0, nullptr));
    TempFolder folder;
    for (const auto& [arguments, code, says, checks] : cases) {
        unique_file error(::CreateFileW((folder / L"stderr").c_str(), GENERIC_WRITE, 0, &inherited,
                                        CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(full && error);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = full.get();
        si.hStdError = error.get();
        std::wstring line = L"\"" + ProductExe(L"SkelvaneReport.exe") + L"\" " + arguments;
        PROCESS_INFORMATION pi{};
        const long before = app.requests();
        ASSERT_TRUE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                     nullptr, &si, &pi));
        const unique_kernel_handle process(pi.hProcess), thread(pi.hThread);
        DWORD exit = 0;
        ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 150000), WAIT_OBJECT_0);
        ::GetExitCodeProcess(pi.hProcess, &exit);
        error.reset();
        const std::string said = ReadFileBytes(folder / L"stderr");
        EXPECT_EQ(exit, code) << said;
        EXPECT_EQ(said.rfind(says, 0), 0u) << said;
        EXPECT_EQ(said.find("\r\n"), said.size() - 2) << "one line: " << said;
        EXPECT_EQ(app.requests() > before, checks) << said;
    }
}

} // namespace
} // namespace skelvane::test
