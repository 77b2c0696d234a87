#include "checks/fetch_result.h"
#include "checks/stream_search.h"
#include "checks/url.h"

#include <gtest/gtest.h>

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

TEST(ResolveLocation, FollowsEveryFormOfRedirect) {
    const wchar_t* base = L"http://h:81/dir/page.htm?q=1";
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"https://other/x", L"https://other/x"},
        {L"//other/x", L"http://other/x"},
        {L"/root", L"http://h:81/root"},
        {L"sibling.htm", L"http://h:81/dir/sibling.htm"},
        {L"?p=2", L"http://h:81/dir/page.htm?p=2"},
        {L"next#frag", L"http://h:81/dir/next"},
        {L"a/b?c=://x", L"http://h:81/dir/a/b?c=://x"},
    };
    for (const auto& [location, expected] : cases)
        EXPECT_EQ(ResolveLocation(base, location), expected) << location;
    EXPECT_EQ(ResolveLocation(L"http://h", L"x"), L"http://h/x");
}

TEST(DescribeFetch, SaysWhatHappened) {
    EXPECT_EQ(DescribeFetch({FetchOutcome::TimedOut, 0, 0, L"http://h/"}, 60000),
              L"fetch timed out after 60 s: http://h/");
    EXPECT_EQ(DescribeFetch({FetchOutcome::TimedOut, 0, 0, L"u"}, 1500),
              L"fetch timed out after 1.5 s: u");
    EXPECT_EQ(DescribeFetch({FetchOutcome::HttpError, 0, 404, L"u"}, 1),
              L"server answered HTTP 404: u");
    EXPECT_EQ(DescribeFetch({FetchOutcome::TransportError, 12007, 0, L"u"}, 1),
              L"the server name could not be resolved: u");
    EXPECT_EQ(DescribeFetch({FetchOutcome::TransportError, 99999, 0, L"u"}, 1),
              L"network error 99999: u");
    EXPECT_EQ(DescribeFetch({FetchOutcome::NotFound, 0, 200, L"u"}, 1), L"page has no marker: u");
}

} // namespace
} // namespace skelvane
