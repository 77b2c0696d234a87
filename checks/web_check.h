#pragma once
// The two internet access rows.
#include "checks/check_result.h"
#include "checks/fetch_wait.h"
#include <string>

namespace skelvane {

inline constexpr unsigned kFetchDeadlineMs = 60000;
inline constexpr wchar_t kAppPagePath[] = L"/install/QuorrelApp/publish.htm";
inline constexpr wchar_t kAppPageMarker[] = L"QuorrelApp.application";
inline constexpr wchar_t kDataPagePath[] = L"/razedovuzuz.webservice/recordset.asmx";
inline constexpr wchar_t kDataPageMarker[] = L"GetCardDetailsByGuid";

// The full addresses, from the host names chosen when the program was built.
std::wstring AppPageUrl();
std::wstring DataPageUrl();

// Passes when url can be fetched within deadlineMs and holds marker in any letter case.
// `wait`, when given, waits for the fetch (see FetchOptions).
CheckResult FetchAndSearch(const std::wstring& url, const std::wstring& marker, unsigned deadlineMs,
                           const FetchWait& wait = {});

} // namespace skelvane
