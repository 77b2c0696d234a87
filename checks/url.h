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

// The address a redirect's Location header points to, relative to the page that sent it,
// made safe to request and to show (EncodeUnsafe).
std::wstring ResolveLocation(std::wstring_view base, std::wstring_view location);

// The address with what must never be sent or shown raw percent-encoded, as browsers do:
// controls, spaces, DEL, quotes, angle brackets and backticks, and each character beyond
// ASCII as its UTF-8 bytes. A "%" stays, so an encoded address comes out as it went in.
std::wstring EncodeUnsafe(std::wstring_view address);

} // namespace skelvane
