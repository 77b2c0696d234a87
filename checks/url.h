#pragma once
// Splitting and resolving the http and https addresses the web rows fetch.
#include <functional>
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

// The system's conversion of a host name (or of one label of it) beyond ASCII to the ASCII
// form name servers know; nullopt when the name is not one it can convert.
using HostToAscii = std::function<std::optional<std::wstring>(std::wstring_view host)>;

// A host converted label by label, as the conversion is defined: split at the dots (the
// ideographic and full-width ones too) and joined with ASCII dots; nullopt when a label is
// refused. Empty labels (a trailing dot) stay empty.
std::optional<std::wstring> HostByLabels(std::wstring_view host, const HostToAscii& convertLabel);

struct Redirect {
    std::wstring url; // safe to request and to show
    // Its host is beyond ASCII and this system has no conversion, or refused it, or gave
    // something that is no host name: the url shows the host percent-encoded, which no
    // name server resolves, so it is not to be fetched.
    bool hostUnconvertible = false;
};

// The address a redirect's Location header points to, relative to the page that sent it,
// made safe to request and to show: a host beyond ASCII in its ASCII form (letters, digits,
// hyphens and dots only), the rest through EncodeUnsafe. toAscii is empty where the system
// has no conversion.
Redirect ResolveLocation(std::wstring_view base, std::wstring_view location,
                         const HostToAscii& toAscii);

// The address with what must never be sent or shown raw percent-encoded, as browsers do:
// controls, spaces, DEL, quotes, angle brackets and backticks, and each character beyond
// ASCII as its UTF-8 bytes. A "%" stays, so an encoded address comes out as it went in.
std::wstring EncodeUnsafe(std::wstring_view address);

} // namespace skelvane
