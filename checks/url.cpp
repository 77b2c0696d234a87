#include "checks/url.h"

#include "common/utf8.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>

namespace skelvane {

namespace {

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (static_cast<wchar_t>(std::towlower(text[i])) != prefix[i]) return false;
    return true;
}

std::optional<unsigned short> ParsePort(std::wstring_view digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    if (value == 0 || value > 65535) return std::nullopt;
    return static_cast<unsigned short>(value);
}

} // namespace

std::optional<Url> ParseUrl(std::wstring_view text) {
    Url url;
    if (StartsWithNoCase(text, L"https://")) {
        url.secure = true;
        text.remove_prefix(8);
    } else if (StartsWithNoCase(text, L"http://")) {
        text.remove_prefix(7);
    } else {
        return std::nullopt;
    }
    const std::size_t authorityEnd = text.find_first_of(L"/?#");
    std::wstring_view authority = text.substr(0, authorityEnd);
    std::wstring_view rest =
        authorityEnd == std::wstring_view::npos ? L"" : text.substr(authorityEnd);
    if (authority.find(L'@') != std::wstring_view::npos) return std::nullopt; // no credentials

    std::wstring_view portText;
    if (!authority.empty() && authority.front() == L'[') {
        const std::size_t close = authority.find(L']');
        if (close == std::wstring_view::npos) return std::nullopt;
        url.host = authority.substr(1, close - 1);
        std::wstring_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != L':') return std::nullopt;
            portText = after.substr(1);
            if (portText.empty()) return std::nullopt;
        }
    } else {
        const std::size_t colon = authority.find(L':');
        url.host = authority.substr(0, colon);
        if (colon != std::wstring_view::npos) {
            portText = authority.substr(colon + 1);
            if (portText.empty()) return std::nullopt;
        }
    }
    if (url.host.empty()) return std::nullopt;
    if (!portText.empty()) {
        const auto port = ParsePort(portText);
        if (!port) return std::nullopt;
        url.port = *port;
    } else {
        url.port = url.secure ? 443 : 80;
    }
    rest = rest.substr(0, rest.find(L'#'));
    url.path =
        rest.empty() || rest.front() != L'/' ? L"/" + std::wstring(rest) : std::wstring(rest);
    return url;
}

namespace {

// The five parts of a reference (RFC 3986, appendix B); a part that is absent is
// told apart from one that is present but empty.
struct Reference {
    std::optional<std::wstring_view> scheme, authority, query;
    std::wstring_view path;
};

Reference Split(std::wstring_view text) {
    Reference r;
    text = text.substr(0, text.find(L'#'));
    const std::size_t colon = text.find(L':');
    if (colon != std::wstring_view::npos && colon > 0 &&
        text.substr(0, colon).find_first_of(L"/?") == std::wstring_view::npos) {
        r.scheme = text.substr(0, colon);
        text.remove_prefix(colon + 1);
    }
    if (text.starts_with(L"//")) {
        const std::size_t end = text.find_first_of(L"/?", 2);
        r.authority = text.substr(2, end == std::wstring_view::npos ? text.npos : end - 2);
        text.remove_prefix(2 + r.authority->size());
    }
    const std::size_t question = text.find(L'?');
    r.path = text.substr(0, question);
    if (question != std::wstring_view::npos) r.query = text.substr(question + 1);
    return r;
}

// Section 5.2.4: takes out "." and ".." segments.
std::wstring RemoveDotSegments(std::wstring_view in) {
    std::wstring out;
    while (!in.empty()) {
        if (in.starts_with(L"../")) {
            in.remove_prefix(3);
        } else if (in.starts_with(L"./")) {
            in.remove_prefix(2);
        } else if (in.starts_with(L"/./")) {
            in.remove_prefix(2);
        } else if (in == L"/.") {
            in = L"/";
        } else if (in.starts_with(L"/../") || in == L"/..") {
            in = in.size() == 3 ? std::wstring_view(L"/") : in.substr(3);
            const std::size_t slash = out.rfind(L'/');
            out.erase(slash == std::wstring::npos ? 0 : slash);
        } else if (in == L"." || in == L"..") {
            in = {};
        } else {
            const std::size_t next = in.find(L'/', 1);
            out += in.substr(0, next);
            in.remove_prefix(next == std::wstring_view::npos ? in.size() : next);
        }
    }
    return out;
}

bool BeyondAscii(std::wstring_view text) {
    for (wchar_t c : text)
        if (static_cast<std::uint32_t>(c) > 0x7F) return true;
    return false;
}

// Letters, digits, hyphens and dots: what a conversion with the standard's host name rules
// gives, and nothing that could end the host (a slash, "?", "#", "@", ":") or be shown raw.
bool IsAsciiHostName(std::wstring_view host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](wchar_t c) {
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
               c == L'-' || c == L'.';
    });
}

// The authority with its host in ASCII form where the host is beyond ASCII: percent-
// encoding such a host would give a name no server resolves.
std::wstring AsciiAuthority(std::wstring_view authority, const HostToAscii& toAscii,
                            bool& unconvertible) {
    const std::size_t at = authority.rfind(L'@');
    const std::size_t hostStart = at == std::wstring_view::npos ? 0 : at + 1;
    std::size_t hostEnd = authority.size();
    if (authority.substr(hostStart).starts_with(L'[')) {
        const std::size_t close = authority.find(L']', hostStart);
        if (close != std::wstring_view::npos) hostEnd = close + 1;
    } else {
        hostEnd = std::min(authority.find(L':', hostStart), authority.size());
    }
    const std::wstring_view host = authority.substr(hostStart, hostEnd - hostStart);
    if (!BeyondAscii(host)) return std::wstring(authority);
    const std::optional<std::wstring> ascii = toAscii ? toAscii(host) : std::nullopt;
    if (!ascii || !IsAsciiHostName(*ascii)) {
        unconvertible = true;
        return std::wstring(authority);
    }
    return std::wstring(authority.substr(0, hostStart)) + *ascii +
           std::wstring(authority.substr(hostEnd));
}

// Section 5.2.3: the reference's path put in place of the base's last segment.
std::wstring Merge(const Reference& base, std::wstring_view path) {
    if (base.authority && base.path.empty()) return L"/" + std::wstring(path);
    const std::size_t slash = base.path.rfind(L'/');
    if (slash == std::wstring_view::npos) return std::wstring(path);
    return std::wstring(base.path.substr(0, slash + 1)) + std::wstring(path);
}

} // namespace

// RFC 3490 section 3.1: these four are dots wherever dots part labels.
std::optional<std::wstring> HostByLabels(std::wstring_view host, const HostToAscii& convertLabel) {
    std::wstring ascii;
    for (std::size_t start = 0;;) {
        const std::size_t dot = host.find_first_of(L".\u3002\uFF0E\uFF61", start);
        const std::wstring_view label = host.substr(start, dot - start);
        if (!label.empty()) {
            const std::optional<std::wstring> converted = convertLabel(label);
            if (!converted) return std::nullopt;
            ascii += *converted;
        }
        if (dot == std::wstring_view::npos) return ascii;
        ascii += L'.';
        start = dot + 1;
    }
}

// RFC 3986 section 5.2.2, strict: a reference with a scheme is absolute, whatever it
// is. The fragment is dropped, as nothing is fetched for it.
Redirect ResolveLocation(std::wstring_view baseText, std::wstring_view location,
                         const HostToAscii& toAscii) {
    const Reference base = Split(baseText), ref = Split(location);
    Reference target;
    std::wstring path;
    if (ref.scheme) {
        target = ref;
        path = RemoveDotSegments(ref.path);
    } else {
        target.scheme = base.scheme;
        if (ref.authority) {
            target.authority = ref.authority;
            target.query = ref.query;
            path = RemoveDotSegments(ref.path);
        } else {
            target.authority = base.authority;
            if (ref.path.empty()) {
                path = base.path;
                target.query = ref.query ? ref.query : base.query;
            } else {
                path = RemoveDotSegments(ref.path.starts_with(L"/") ? std::wstring(ref.path)
                                                                    : Merge(base, ref.path));
                target.query = ref.query;
            }
        }
    }
    Redirect redirect;
    std::wstring out;
    if (target.scheme) out += std::wstring(*target.scheme) + L":";
    if (target.authority)
        out += L"//" + AsciiAuthority(*target.authority, toAscii, redirect.hostUnconvertible);
    out += path;
    if (target.query) out += L"?" + std::wstring(*target.query);
    // Servers put raw spaces, UTF-8 and worse into Location; none of it goes out raw,
    // whatever the conversion gave.
    redirect.url = EncodeUnsafe(out);
    return redirect;
}

std::wstring EncodeUnsafe(std::wstring_view address) {
    constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring out;
    for (std::size_t i = 0; i < address.size(); ++i) {
        const wchar_t c = address[i];
        if (c > L' ' && c < 0x7F && c != L'"' && c != L'<' && c != L'>' && c != L'`') {
            out += c;
            continue;
        }
        // A surrogate pair is one character: its two halves are encoded together.
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < address.size() &&
                          address[i + 1] >= 0xDC00 && address[i + 1] <= 0xDFFF;
        for (const char byte : Utf8(address.substr(i, pair ? 2 : 1))) {
            out += L'%';
            out += kHex[static_cast<unsigned char>(byte) >> 4];
            out += kHex[static_cast<unsigned char>(byte) & 0xF];
        }
        i += pair ? 1 : 0;
    }
    return out;
}

} // namespace skelvane
