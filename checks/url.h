#pragma once
// Splitting and resolving the http and https addresses the web rows fetch.
#include <optional>
#include <string>
#include <string_view>

namespace skelvane {

struct Url {
    bool secure = false;     // https
    std::wstring host;       // without brackets for IPv6 literals
    unsigned short port = 0; // the scheme's default when the address names none
    std::wstring path;       // path and query, at least "/"; the fragment is dropped
    bool operator==(const Url&) const = default;
};

// Accepts only absolute http:// and https:// addresses (scheme in any case).
std::optional<Url> ParseUrl(std::wstring_view text);

// The address a redirect's Location header points to, relative to the page that sent it.
std::wstring ResolveLocation(std::wstring_view base, std::wstring_view location);

} // namespace skelvane
