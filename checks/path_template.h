#pragma once
#include <string>
#include <string_view>

namespace skelvane {

// Replaces every occurrence of token, left to right, exact and case-sensitive.
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view token, std::wstring_view with);

} // namespace skelvane
