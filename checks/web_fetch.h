#pragma once
// A plain GET over the system's HTTP stack, searched for a marker as it arrives.
#include "fetch_result.h"

#include <string>
#include <string_view>

namespace skelvane {

inline constexpr int kMaxRedirects = 10;

// Fetches url and looks for marker (ASCII letter case ignored). Ends, one way or
// another, within deadlineMs of the call; never throws.
FetchResult FetchAndFind(const std::wstring& url, std::string_view marker, unsigned deadlineMs);

} // namespace skelvane
