#include "checks/web_check.h"

#include "endpoints.h"
#include "checks/web_fetch.h"
#include "common/utf8.h"

#include <windows.h>

namespace skelvane {

std::wstring AppPageUrl() {
    return std::wstring(L"http://") + SKELVANE_APP_HOST + kAppPagePath;
}

std::wstring DataPageUrl() {
    return std::wstring(L"https://") + SKELVANE_DATA_HOST + kDataPagePath;
}

CheckResult FetchAndSearch(const std::wstring& url, const std::wstring& marker, unsigned deadlineMs,
                           const FetchWait& wait) {
    try {
        // Pages are searched as bytes; the markers are ASCII, so UTF-8 is exact for them.
        const std::string bytes = Utf8(marker);
        FetchOptions options;
        options.deadlineMs = deadlineMs;
        options.wait = wait;
        const FetchResult result = FetchAndFind(url, bytes, options);
        return {result.outcome == FetchOutcome::Found, DescribeFetch(result, deadlineMs),
                FetchFailureKind(result)};
    } catch (...) {
        return Fail(FailureKind::WebOther, L"fetch failed: " + url);
    }
}

} // namespace skelvane
