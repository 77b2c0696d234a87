// The fetch behind the two web rows, against servers on loopback that this test starts.
#include "checks/web_check.h"
#include "checks/web_fetch.h"
#include "loopback_server.h"
#include "support.h"

#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>

namespace skelvane::test {
namespace {

constexpr char kMarker[] = "QuorrelApp.application";
constexpr unsigned kShortDeadlineMs = 3000;

class WebFetch : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { server_ = new LoopbackServer; }
    static void TearDownTestSuite() { delete server_; }
    static LoopbackServer* server_;
};
LoopbackServer* WebFetch::server_ = nullptr;

TEST_F(WebFetch, PagesAndRedirects) {
    ASSERT_TRUE(server_->running());
    struct Case {
        const wchar_t* path;
        FetchOutcome outcome;
        int status;
    };
    const Case cases[] = {
        {L"/marker", FetchOutcome::Found, 200},
        {L"/plain", FetchOutcome::NotFound, 200},
        {L"/missing", FetchOutcome::HttpError, 404}, // holds the marker, but is an error page
        {L"/nowhere", FetchOutcome::HttpError, 404},
        {L"/redirect", FetchOutcome::Found, 200},
        {L"/redirect-absolute", FetchOutcome::Found, 200},
        {L"/chain/10", FetchOutcome::Found, 200},
        {L"/chain/11", FetchOutcome::TooManyRedirects, 302},
        {L"/loop", FetchOutcome::TooManyRedirects, 302},
        {L"/install/QuorrelApp/dots", FetchOutcome::Found, 200},
        {L"/guarded", FetchOutcome::Found, 200}, // back to a page already seen, with a cookie
        {L"/compressing", FetchOutcome::Found, 200},
        {L"/gzip", FetchOutcome::Encoded, 200},
        {L"/big", FetchOutcome::Found, 200},
    };
    for (const Case& c : cases) {
        const FetchResult r = FetchAndFind(server_->Url(c.path), kMarker, 20000);
        EXPECT_EQ(r.outcome, c.outcome) << c.path << " " << r.error;
        EXPECT_EQ(r.status, c.status) << c.path;
    }
}

TEST_F(WebFetch, NewFailuresHavePlainReasons) {
    const CheckResult gzip =
        FetchAndSearch(server_->Url(L"/gzip"), L"QuorrelApp.application", 20000);
    EXPECT_EQ(gzip.reason, L"the server sent the page compressed, although asked not to: " +
                               server_->Url(L"/gzip"));
    LoopbackServer signIn(0, "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: NTLM\r\n"
                             "Content-Length: 0\r\nConnection: close\r\n\r\n");
    const CheckResult server = FetchAndSearch(signIn.Url(L"/x"), L"QuorrelApp.application", 20000);
    EXPECT_EQ(server.reason,
              L"the server asks for a user name and password (HTTP 401): " + signIn.Url(L"/x"));
    EXPECT_EQ(signIn.requests(), 1);
}

TEST_F(WebFetch, MarkerCaseAndTheRowsVerdict) {
    const CheckResult found =
        FetchAndSearch(server_->Url(L"/marker"), L"QUORRELAPP.application", 20000);
    EXPECT_TRUE(found.passed);
    EXPECT_EQ(found.reason, L"page found with its marker: " + server_->Url(L"/marker"));
    const CheckResult other =
        FetchAndSearch(server_->Url(L"/marker"), L"GetCardDetailsByGuid", 20000);
    EXPECT_FALSE(other.passed);
    EXPECT_EQ(other.reason, L"page has no marker: " + server_->Url(L"/marker"));
}

TEST_F(WebFetch, UnreachableAndMalformedAddressesFailQuickly) {
    const std::wstring refused = L"http://127.0.0.1:" + std::to_wstring(RefusingPort()) + L"/";
    struct Case {
        std::wstring url;
        FetchOutcome outcome;
    };
    const Case cases[] = {
        {refused, FetchOutcome::TransportError},
        {L"http://skelvane-no-such-host.invalid/", FetchOutcome::TransportError},
        {L"ftp://127.0.0.1/", FetchOutcome::BadAddress},
        {L"not an address", FetchOutcome::BadAddress},
        {L"", FetchOutcome::BadAddress},
    };
    for (const Case& c : cases) {
        const DWORD start = ::GetTickCount();
        const FetchResult r = FetchAndFind(c.url, kMarker, 20000);
        EXPECT_EQ(r.outcome, c.outcome) << std::string(c.url.begin(), c.url.end());
        EXPECT_LT(::GetTickCount() - start, 10000u);
    }
}

// The overall deadline holds whether the server says nothing or trickles forever.
TEST_F(WebFetch, DeadlineCoversTheWholeFetch) {
    for (const wchar_t* path : {L"/silent", L"/trickle"}) {
        const DWORD start = ::GetTickCount();
        const FetchResult r = FetchAndFind(server_->Url(path), kMarker, kShortDeadlineMs);
        const DWORD took = ::GetTickCount() - start;
        EXPECT_EQ(r.outcome, FetchOutcome::TimedOut) << path;
        EXPECT_GE(took, kShortDeadlineMs - 50) << path;
        EXPECT_LT(took, kShortDeadlineMs + 1000) << path;
        EXPECT_EQ(DescribeFetch(r, kShortDeadlineMs),
                  L"fetch timed out after 3 s: " + server_->Url(path));
    }
}

TEST_F(WebFetch, MemoryStaysBoundedOnALargeBody) {
    PROCESS_MEMORY_COUNTERS before{}, after{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof before);
    EXPECT_EQ(FetchAndFind(server_->Url(L"/big"), kMarker, 20000).outcome, FetchOutcome::Found);
    EXPECT_EQ(FetchAndFind(server_->Url(L"/trickle"), kMarker, 1500).outcome,
              FetchOutcome::TimedOut);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &after, sizeof after);
    EXPECT_LT(after.PeakWorkingSetSize, before.PeakWorkingSetSize + 4u * 1024 * 1024);
}

// The system's conversion of a host beyond ASCII, as the fetch uses it, with the rules for
// host names. Wine 8 refuses every label that stays beyond ASCII under those rules, which
// Windows converts ("b\u00fccher" to "xn--bcher-kva"): only labels that map to ASCII here.
TEST(HostToAscii, TheSystemsConversion) {
    const HostToAscii toAscii = SystemHostToAscii();
    ASSERT_TRUE(toAscii); // kernel32 has it from Vista on, and so does Wine
    const std::pair<const wchar_t*, std::optional<std::wstring>> cases[] = {
        {L"\uff42\uff4f\uff4f\uff4b.invalid", L"book.invalid"},      // full-width letters
        {L"\uff42\uff4f\uff4f\uff4b\u3002invalid", L"book.invalid"}, // an ideographic dot
        {L"ascii.example", L"ascii.example"},
        {L"127.0.0.1\uff1a81\uff0fm", std::nullopt}, // full-width ":" and "/" are no delimiters
        {L"x\uff20book.invalid", std::nullopt},      // nor is "@"
    };
    for (const auto& [host, ascii] : cases)
        EXPECT_EQ(toAscii(host), ascii) << std::wstring(host).size();
}

// A redirect to a host beyond ASCII goes to the host's ASCII form, the rest percent-encoded
// (a name under .invalid: nothing leaves this computer). Without the conversion, as on XP,
// the fetch ends there, saying why.
TEST_F(WebFetch, RedirectToAHostBeyondAscii) {
    LoopbackServer redirecting(0, "HTTP/1.1 302 Found\r\nLocation: http://\xEF\xBD\x82\xEF\xBD\x8F"
                                  "\xEF\xBD\x8F\xEF\xBD\x8B.invalid:81/m?\xC3\xBC\r\n"
                                  "Content-Length: 0\r\nConnection: close\r\n\r\n");
    ASSERT_TRUE(redirecting.running());
    FetchOptions options;
    options.deadlineMs = 20000;
    const FetchResult converted = FetchAndFind(redirecting.Url(L"/"), kMarker, options);
    EXPECT_EQ(converted.url, L"http://book.invalid:81/m?%C3%BC");
    EXPECT_EQ(converted.outcome, FetchOutcome::TransportError);

    options.hostToAscii = nullptr;
    const FetchResult unconverted = FetchAndFind(redirecting.Url(L"/"), kMarker, options);
    EXPECT_EQ(unconverted.outcome, FetchOutcome::UnconvertibleHost);
    EXPECT_EQ(DescribeFetch(unconverted, options.deadlineMs),
              L"the server redirected to a name this Windows cannot look up: "
              L"http://%EF%BD%82%EF%BD%8F%EF%BD%8F%EF%BD%8B.invalid:81/m?%C3%BC");
    EXPECT_EQ(redirecting.requests(), 2);
    EXPECT_EQ(redirecting.rawTargets(), 0);
}

// Full-width "/", "?", "#", "@" and ":" in a redirect's host never become delimiters, which
// here would send the fetch on to the marker page: the host is no name to look up.
TEST_F(WebFetch, FullWidthDelimitersInARedirectHost) {
    const std::string port = std::to_string(server_->port());
    // Full-width ":", "/", "?", "#" and "@", as UTF-8.
    const std::string colon = "\xEF\xBC\x9A", slash = "\xEF\xBC\x8F", question = "\xEF\xBC\x9F",
                      number = "\xEF\xBC\x83", at = "\xEF\xBC\xA0";
    const std::string hosts[] = {
        "127.0.0.1" + colon + port + slash + "marker",
        "127.0.0.1" + colon + port + question + "x",
        "127.0.0.1" + colon + port + number + "x",
        "x" + at + "127.0.0.1:" + port + "/marker",
    };
    for (const std::string& host : hosts) {
        LoopbackServer redirecting(0, "HTTP/1.1 302 Found\r\nLocation: http://" + host +
                                          "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        const long before = server_->requests();
        const FetchResult r = FetchAndFind(redirecting.Url(L"/"), kMarker, 20000);
        EXPECT_EQ(r.outcome, FetchOutcome::UnconvertibleHost) << host << " " << r.error;
        EXPECT_EQ(server_->requests(), before) << host;
    }
}

// The user's proxy settings are kept between fetches and read again once changed: here to
// a proxy that asks for a password, then back.
TEST_F(WebFetch, ProxySettingsReadAgainOnceChanged) {
    LoopbackServer proxy(0,
                         "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: "
                         "Basic realm=\"corp\"\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    const std::wstring page = server_->Url(L"/marker");
    EXPECT_EQ(FetchAndFind(page, kMarker, 20000).outcome, FetchOutcome::Found);
    {
        ProxySetting setting("127.0.0.1:" + std::to_string(proxy.port()));
        EXPECT_EQ(FetchAndFind(page, kMarker, 20000).outcome, FetchOutcome::ProxyNeedsPassword);
    }
    EXPECT_EQ(FetchAndFind(page, kMarker, 20000).outcome, FetchOutcome::Found);
    EXPECT_EQ(proxy.requests(), 1);
}

// A wait may outlast the fetch and still say it ran out (a modal loop held it up, or the
// fetch ended in its last moment): the finished fetch is what counts. Otherwise a closed
// window abandons the fetch, and a time-out stays one. (Last of the fetches here: the
// abandoned ones go on in the background until their deadline.)
TEST_F(WebFetch, TheFinishedEventHasTheLastWord) {
    struct Case {
        const wchar_t* path;
        bool waitsForTheEnd;
        WaitEnd says;
        FetchOutcome outcome;
    };
    const Case cases[] = {
        {L"/marker", true, WaitEnd::TimedOut, FetchOutcome::Found},
        {L"/marker", true, WaitEnd::WindowGone, FetchOutcome::Found},
        {L"/silent", false, WaitEnd::TimedOut, FetchOutcome::TimedOut},
        {L"/silent", false, WaitEnd::WindowGone, FetchOutcome::TransportError},
    };
    for (const Case& c : cases) {
        FetchOptions options;
        options.deadlineMs = kShortDeadlineMs;
        options.wait = [&c](void* finished, unsigned) {
            if (c.waitsForTheEnd) ::WaitForSingleObject(finished, INFINITE);
            return c.says;
        };
        EXPECT_EQ(FetchAndFind(server_->Url(c.path), kMarker, options).outcome, c.outcome)
            << std::string(c.path, c.path + std::wcslen(c.path)) << static_cast<int>(c.says);
    }
}

TEST(WebCheck, AddressesComeFromTheBuild) {
    EXPECT_TRUE(AppPageUrl().starts_with(L"http://"));
    EXPECT_TRUE(AppPageUrl().ends_with(L"/install/QuorrelApp/publish.htm"));
    EXPECT_TRUE(DataPageUrl().starts_with(L"https://"));
    EXPECT_TRUE(DataPageUrl().ends_with(L"/razedovuzuz.webservice/recordset.asmx"));
}

} // namespace
} // namespace skelvane::test
