#include "checks/fetch_policy.h"
#include "checks/fetch_result.h"
#include "checks/stream_search.h"
#include "checks/url.h"

#include <gtest/gtest.h>

#include <set>

namespace skelvane {
namespace {

bool FoundInPieces(std::string_view marker, std::string_view body, std::size_t piece) {
    StreamSearch search(marker);
    for (std::size_t at = 0; at < body.size(); at += piece)
        search.Feed(body.substr(at, piece));
    if (body.empty()) search.Feed({});
    return search.found();
}

TEST(StreamSearch, FindsTheMarkerSplitAtEveryBoundary) {
    const std::string marker = "QuorrelApp.application";
    const std::string body = "<html><a href=\"quorrelapp.APPLICATION\">install</a></html>";
    for (std::size_t piece = 1; piece <= body.size(); ++piece)
        EXPECT_TRUE(FoundInPieces(marker, body, piece)) << "piece " << piece;
    // Two pieces split at every position, so the marker is cut at every place.
    for (std::size_t cut = 0; cut <= body.size(); ++cut) {
        StreamSearch search(marker);
        search.Feed(std::string_view(body).substr(0, cut));
        EXPECT_TRUE(search.Feed(std::string_view(body).substr(cut))) << "cut " << cut;
    }
}

TEST(StreamSearch, Cases) {
    struct Case {
        const char* marker;
        const char* body;
        bool found;
    };
    const Case cases[] = {
        {"QuorrelApp.application", "QuorrelApp.application", true},
        {"QuorrelApp.application", "QUORRELAPP.APPLICATION at the start", true},
        {"QuorrelApp.application", "at the end quorrelapp.application", true},
        {"QuorrelApp.application", "QuorrelQuorrelApp.application", true},
        {"QuorrelApp.application", "QuorrelApp.QuorrelApp.application", true},
        {"QuorrelApp.application", "QuorrelApp.applicatio", false},
        {"QuorrelApp.application", "QuorrelApp application", false},
        {"QuorrelApp.application", "", false},
        {"GetCardDetailsByGuid", "getcarddetailsbyguiD", true},
        {"aab", "aaab", true},
        {"abab", "abaabab", true},
        {"abcabd", "abcabcabd", true},
        {"", "", true},
        {"\xc3\xa9t\xc3\xa9", "\xc3\x89T\xc3\x89", false}, // only ASCII letters fold
    };
    for (const auto& c : cases)
        for (std::size_t piece : {1u, 2u, 3u, 7u, 4096u})
            EXPECT_EQ(FoundInPieces(c.marker, c.body, piece), c.found)
                << c.marker << " in " << c.body;
}

TEST(StreamSearch, StaysFoundAndStopsReading) {
    StreamSearch search("abc");
    EXPECT_TRUE(search.Feed("xxabcxx"));
    EXPECT_TRUE(search.Feed("zzz"));
    EXPECT_TRUE(search.found());
}

TEST(ParseUrl, SplitsHttpAndHttpsAddresses) {
    struct Case {
        const wchar_t* text;
        std::optional<Url> url;
    };
    const Case cases[] = {
        {L"http://example.test/install/QuorrelApp/publish.htm",
         Url{false, L"example.test", 80, L"/install/QuorrelApp/publish.htm"}},
        {L"HTTPS://Example.test/a?b=c#frag", Url{true, L"Example.test", 443, L"/a?b=c"}},
        {L"http://127.0.0.1:47801", Url{false, L"127.0.0.1", 47801, L"/"}},
        {L"http://host?x", Url{false, L"host", 80, L"/?x"}},
        {L"https://[::1]:8443/p", Url{true, L"::1", 8443, L"/p"}},
        {L"http://[::1]/", Url{false, L"::1", 80, L"/"}},
        {L"ftp://host/", std::nullopt},
        {L"http://", std::nullopt},
        {L"http:///path", std::nullopt},
        {L"http://host:/", std::nullopt},
        {L"http://host:0/", std::nullopt},
        {L"http://host:65536/", std::nullopt},
        {L"http://host:80x/", std::nullopt},
        {L"http://user:pw@host/", std::nullopt},
        {L"http://[::1/", std::nullopt},
        {L"", std::nullopt},
        {L"publish.htm", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseUrl(c.text), c.url) << c.text;
}

std::wstring Resolved(std::wstring_view base, std::wstring_view location) {
    return ResolveLocation(base, location, nullptr).url;
}

// RFC 3986 section 5.4, normal and abnormal examples (strict), fragments dropped;
// then the forms servers send.
TEST(ResolveLocation, ResolvesByTheStandardAlgorithm) {
    const std::pair<const wchar_t*, const wchar_t*> rfc[] = {
        {L"g:h", L"g:h"},
        {L"g", L"http://a/b/c/g"},
        {L"./g", L"http://a/b/c/g"},
        {L"g/", L"http://a/b/c/g/"},
        {L"/g", L"http://a/g"},
        {L"//g", L"http://g"},
        {L"?y", L"http://a/b/c/d;p?y"},
        {L"g?y", L"http://a/b/c/g?y"},
        {L"#s", L"http://a/b/c/d;p?q"},
        {L"g#s", L"http://a/b/c/g"},
        {L"g?y#s", L"http://a/b/c/g?y"},
        {L";x", L"http://a/b/c/;x"},
        {L"g;x", L"http://a/b/c/g;x"},
        {L"g;x?y#s", L"http://a/b/c/g;x?y"},
        {L"", L"http://a/b/c/d;p?q"},
        {L".", L"http://a/b/c/"},
        {L"./", L"http://a/b/c/"},
        {L"..", L"http://a/b/"},
        {L"../", L"http://a/b/"},
        {L"../g", L"http://a/b/g"},
        {L"../..", L"http://a/"},
        {L"../../", L"http://a/"},
        {L"../../g", L"http://a/g"},
        {L"../../../g", L"http://a/g"},
        {L"../../../../g", L"http://a/g"},
        {L"/./g", L"http://a/g"},
        {L"/../g", L"http://a/g"},
        {L"g.", L"http://a/b/c/g."},
        {L".g", L"http://a/b/c/.g"},
        {L"g..", L"http://a/b/c/g.."},
        {L"..g", L"http://a/b/c/..g"},
        {L"./../g", L"http://a/b/g"},
        {L"./g/.", L"http://a/b/c/g/"},
        {L"g/./h", L"http://a/b/c/g/h"},
        {L"g/../h", L"http://a/b/c/h"},
        {L"g;x=1/./y", L"http://a/b/c/g;x=1/y"},
        {L"g;x=1/../y", L"http://a/b/c/y"},
        {L"g?y/./x", L"http://a/b/c/g?y/./x"},
        {L"g?y/../x", L"http://a/b/c/g?y/../x"},
        {L"g#s/./x", L"http://a/b/c/g"},
        {L"g#s/../x", L"http://a/b/c/g"},
        {L"http:g", L"http:g"},
    };
    for (const auto& [location, expected] : rfc)
        EXPECT_EQ(Resolved(L"http://a/b/c/d;p?q", location), expected) << location;

    const wchar_t* page = L"http://h:81/install/QuorrelApp/publish.htm?q=1";
    const std::pair<const wchar_t*, const wchar_t*> servers[] = {
        {L"../../final/./page.htm", L"http://h:81/final/page.htm"},
        {L"https://other/x", L"https://other/x"},
        {L"HTTPS://Other:8443/x/../y", L"HTTPS://Other:8443/y"},
        {L"//other:8080/x?z", L"http://other:8080/x?z"},
        {L"/root", L"http://h:81/root"},
        {L"?p=2", L"http://h:81/install/QuorrelApp/publish.htm?p=2"},
        {L"a/b?c=://x", L"http://h:81/install/QuorrelApp/a/b?c=://x"},
        // What must not be sent or shown raw goes percent-encoded, as browsers send it;
        // what is already encoded stays as it is.
        {L"/x\x1B[2J\x07 y\x7F", L"http://h:81/x%1B[2J%07%20y%7F"},
        {L"/r\u202Eexe.txt?\u0085\"<>`", L"http://h:81/r%E2%80%AEexe.txt?%C2%85%22%3C%3E%60"},
        {L"/caf%C3%A9?a=%20", L"http://h:81/caf%C3%A9?a=%20"},
        {L"//ev\til/", L"http://ev%09il/"},
    };
    for (const auto& [location, expected] : servers)
        EXPECT_EQ(Resolved(page, location), expected) << location;
    EXPECT_EQ(Resolved(L"http://h", L"x"), L"http://h/x");
}

// A host beyond ASCII goes to the system's conversion, and only the host: the rest is
// percent-encoded as before. Without a conversion, or where it refuses the name or gives
// something that is no host name, the redirect is marked, and its address still shows
// nothing raw.
TEST(ResolveLocation, HostsBeyondAsciiInTheirAsciiForm) {
    const HostToAscii idn = [](std::wstring_view host) -> std::optional<std::wstring> {
        if (host == L"b\u00fccher.example") return L"xn--bcher-kva.example";
        if (host == L"[\u00fc]") return L"[::1]";
        if (host == L"evil\u202e") return L"xn--evil\x1b"; // a careless system
        if (host == L"a\uff0fb") return L"a/b";            // a system without the host rules
        return std::nullopt;
    };
    struct Case {
        const wchar_t* location;
        bool withConversion;
        const wchar_t* url;
        bool unconvertible;
    };
    const Case cases[] = {
        {L"http://b\u00fccher.example:8080/\u00fc?q=\u00fc#f", true,
         L"http://xn--bcher-kva.example:8080/%C3%BC?q=%C3%BC", false},
        {L"//b\u00fccher.example", true, L"http://xn--bcher-kva.example", false},
        {L"http://u\u00fc@b\u00fccher.example/", true, L"http://u%C3%BC@xn--bcher-kva.example/",
         false},
        {L"http://[\u00fc]:81/", true, L"http://[%C3%BC]:81/", true},
        {L"http://evil\u202e/", true, L"http://evil%E2%80%AE/", true},
        {L"http://a\uff0fb/", true, L"http://a%EF%BC%8Fb/", true},
        {L"http://\u00fcnknown/", true, L"http://%C3%BCnknown/", true},
        {L"http://b\u00fccher.example/", false, L"http://b%C3%BCcher.example/", true},
        {L"/\u00fc", false, L"http://h:81/%C3%BC", false}, // the page's own host
        {L"http://ascii.example/\u00fc", false, L"http://ascii.example/%C3%BC", false},
    };
    for (const Case& c : cases) {
        const Redirect r =
            ResolveLocation(L"http://h:81/p", c.location, c.withConversion ? idn : nullptr);
        EXPECT_EQ(r.url, c.url) << c.location;
        EXPECT_EQ(r.hostUnconvertible, c.unconvertible) << c.location;
    }
}

// Each label alone, split at every kind of dot; one refused label refuses the host.
TEST(HostByLabels, ConvertsEachLabel) {
    const HostToAscii label = [](std::wstring_view text) -> std::optional<std::wstring> {
        if (text == L"b\u00fccher") return L"xn--bcher-kva";
        if (text.find_first_not_of(L"abcdefghijklmnopqrstuvwxyz") == text.npos)
            return std::wstring(text);
        return std::nullopt;
    };
    const std::pair<const wchar_t*, std::optional<std::wstring>> cases[] = {
        {L"b\u00fccher.example", L"xn--bcher-kva.example"},
        {L"www\u3002b\u00fccher\uff0eexample\uff61", L"www.xn--bcher-kva.example."},
        {L"b\u00fccher", L"xn--bcher-kva"},
        {L"b\u00fccher\uff0fexample", std::nullopt},
    };
    for (const auto& [host, ascii] : cases)
        EXPECT_EQ(HostByLabels(host, label), ascii) << std::wstring(host).size();
}

// What each way a fetch ends says, and what kind of failure it is for the next step.
TEST(DescribeFetch, SaysWhatHappenedAndWhatKind) {
    using enum FailureKind;
    using O = FetchOutcome;
    struct Case {
        FetchOutcome outcome;
        std::uint32_t error;
        int status;
        unsigned deadline;
        const wchar_t* text;
        FailureKind kind;
    };
    const Case cases[] = {
        {O::Found, 0, 200, 1, L"page found with its marker: u", None},
        {O::TimedOut, 0, 0, 60000, L"fetch timed out after 60 s: u", NoConnection},
        {O::TimedOut, 0, 0, 1500, L"fetch timed out after 1.5 s: u", NoConnection},
        {O::HttpError, 0, 404, 1, L"server answered HTTP 404: u", ServicePage},
        {O::NotFound, 0, 200, 1, L"page has no marker: u", ServicePage},
        {O::ServerNeedsSignIn, 0, 401, 1,
         L"the server asks for a user name and password (HTTP 401): u", ServicePage},
        {O::ProxyNeedsPassword, 0, 407, 1, L"the proxy asks for a user name and password: u",
         ProxyNeedsPassword},
        {O::BadAddress, 0, 0, 1, L"not an http or https address: u", WebOther},
        {O::UnconvertibleHost, 0, 302, 1,
         L"the server redirected to a name this Windows cannot look up: u", WebOther},
        {O::TransportError, 12007, 0, 1, L"the server name could not be resolved: u",
         NameNotResolved},
        {O::TransportError, 12029, 0, 1, L"could not connect to the server: u", NoConnection},
        {O::TransportError, 12037, 0, 1,
         L"the server's certificate has expired or is not yet valid: u", CertificateDate},
        {O::TransportError, 12045, 0, 1, L"the server's certificate is not trusted: u",
         CertificateAuthority},
        {O::TransportError, 12038, 0, 1, L"the server's certificate is for another name: u",
         CertificateName},
        {O::TransportError, 12175, 0, 1, L"the server's certificate was not accepted: u",
         CertificateOther},
        {O::TransportError, 12157, 0, 1, L"the secure channel could not be set up: u",
         SecureChannel},
        {O::TransportError, 12166, 0, 1, L"the proxy auto-configuration script failed: u",
         ProxyScript},
        {O::TransportError, 12178, 0, 1, L"no proxy could be found for the address: u",
         ProxyScript},
        {O::TransportError, 12044, 0, 1, L"the server asks for a client certificate: u", WebOther},
        {O::TransportError, 99999, 0, 1, L"network error 99999: u", WebOther},
    };
    for (const Case& c : cases) {
        const FetchResult result{c.outcome, c.error, c.status, L"u"};
        EXPECT_EQ(DescribeFetch(result, c.deadline), c.text) << c.error;
        EXPECT_EQ(FetchFailureKind(result), c.kind) << c.error;
    }
}

TEST(FetchPolicy, TlsVersionsPerSystem) {
    constexpr std::uint32_t upTo12 = kTls10 | kTls11 | kTls12;
    struct Case {
        std::uint32_t major, minor, build;
        std::vector<std::uint32_t> choices;
    };
    const Case cases[] = {
        {5, 1, 2600, {}},                          // XP: the system's default only
        {5, 2, 3790, {}},                          // Server 2003
        {6, 0, 6002, {upTo12}},                    // Vista: takes them with its update
        {6, 1, 7601, {upTo12}},                    // 7: offers only 1.0 unless asked
        {6, 2, 9200, {upTo12}},                    // 8.0 likewise
        {10, 0, 19045, {upTo12}},                  // 10: no 1.3 in its stack
        {10, 0, 20348, {upTo12 | kTls13, upTo12}}, // Server 2022
        {10, 0, 22631, {upTo12 | kTls13, upTo12}}, // 11
    };
    for (const Case& c : cases)
        EXPECT_EQ(TlsProtocolChoices(c.major, c.minor, c.build), c.choices) << c.build;
}

TEST(FetchPolicy, SignInAndRetries) {
    using enum ProxyAnswer::Kind;
    EXPECT_EQ(AnswerProxyChallenge(kAuthNegotiate | kAuthNtlm | kAuthBasic, 0),
              (ProxyAnswer{WindowsSignIn, kAuthNegotiate}));
    EXPECT_EQ(AnswerProxyChallenge(kAuthNtlm, 0), (ProxyAnswer{WindowsSignIn, kAuthNtlm}));
    EXPECT_EQ(AnswerProxyChallenge(kAuthBasic | kAuthDigest, 0), ProxyAnswer{NeedsPassword});
    EXPECT_EQ(AnswerProxyChallenge(0, 0), ProxyAnswer{NeedsPassword});
    EXPECT_EQ(AnswerProxyChallenge(kAuthNegotiate, 1), ProxyAnswer{Refused}); // once only

    EXPECT_TRUE(RetryWithoutClientCertificate(kErrorClientAuthCertNeeded, false));
    EXPECT_FALSE(RetryWithoutClientCertificate(kErrorClientAuthCertNeeded, true));
    EXPECT_FALSE(RetryWithoutClientCertificate(12157, false));

    // The catch-all certificate failure, made precise by the status callback's flags.
    const std::pair<std::uint32_t, std::uint32_t> flags[] = {
        {0, kErrorSecureFailure},
        {0x20, kErrorSecureCertDateInvalid},
        {0x08, kErrorSecureInvalidCa},
        {0x10, kErrorSecureCertCnInvalid},
        {0x04, kErrorSecureCertRevoked},
        {0x01, kErrorSecureCertRevFailed},
        {0x40, kErrorSecureCertWrongUsage},
        {0x02, kErrorSecureInvalidCert},
        {0x80000000u, kErrorSecureChannelError},
        {0x18, kErrorSecureInvalidCa},
        {0x28, kErrorSecureCertDateInvalid},
        {0x100, kErrorSecureFailure},
    };
    for (const auto& [set, error] : flags)
        EXPECT_EQ(CertificateError(set), error) << set;

    for (const wchar_t* plain : {L"", L"identity", L" Identity\t", L"IDENTITY"})
        EXPECT_FALSE(IsEncoded(plain)) << plain;
    for (const wchar_t* coded : {L"gzip", L"br", L"deflate", L"gzip, identity", L"identityx"})
        EXPECT_TRUE(IsEncoded(coded)) << coded;
}

// A connection the server ended over https before the request went out is the secure
// channel's failure on XP to 7 and their servers only; anything else stays as it was.
TEST(FetchPolicy, ConnectionDroppedInTheHandshake) {
    using enum WindowsFamily;
    const std::set<WindowsFamily> upToSeven = {Older,      Xp,    Server2003,  Vista,
                                               Server2008, Seven, Server2008R2};
    for (int f = 0; f < kWindowsFamilies; ++f) {
        const auto family = static_cast<WindowsFamily>(f);
        EXPECT_EQ(ExplainDroppedConnection(kErrorConnectionError, true, false, family),
                  upToSeven.contains(family) ? kErrorSecureChannelError : kErrorConnectionError)
            << f;
        struct Case {
            std::uint32_t error;
            bool secure, requestSent;
        };
        for (const Case& c :
             {Case{kErrorConnectionError, true, true}, Case{kErrorConnectionError, false, false},
              Case{kErrorCannotConnect, true, false}, Case{kErrorTimeout, true, false}})
            EXPECT_EQ(ExplainDroppedConnection(c.error, c.secure, c.requestSent, family), c.error)
                << f << " " << c.error << c.secure << c.requestSent;
    }
}

} // namespace
} // namespace skelvane
