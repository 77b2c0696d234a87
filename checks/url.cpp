#include "url.h"

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

// "scheme://authority" of an absolute address, or empty.
std::wstring_view Origin(std::wstring_view url) {
    const std::size_t scheme = url.find(L"://");
    if (scheme == std::wstring_view::npos) return {};
    const std::size_t end = url.find_first_of(L"/?#", scheme + 3);
    return url.substr(0, end);
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

std::wstring ResolveLocation(std::wstring_view base, std::wstring_view location) {
    location = location.substr(0, location.find(L'#'));
    if (location.find(L"://") != std::wstring_view::npos &&
        location.find(L"://") < location.find_first_of(L"/?")) // an absolute address
        return std::wstring(location);
    if (location.starts_with(L"//"))
        return std::wstring(base.substr(0, base.find(L':') + 1)) + std::wstring(location);
    const std::wstring_view origin = Origin(base);
    if (location.starts_with(L"/")) return std::wstring(origin) + std::wstring(location);

    std::wstring_view path = base.substr(origin.size());
    path = path.substr(0, path.find_first_of(L"?#"));
    if (location.empty()) return std::wstring(origin) + std::wstring(path.empty() ? L"/" : path);
    if (location.starts_with(L"?"))
        return std::wstring(origin) + std::wstring(path.empty() ? L"/" : path) +
               std::wstring(location);
    const std::size_t slash = path.rfind(L'/');
    const std::wstring_view directory =
        slash == std::wstring_view::npos ? L"/" : path.substr(0, slash + 1);
    return std::wstring(origin) + std::wstring(directory) + std::wstring(location);
}

} // namespace skelvane
