// Addresses and redirect targets from anywhere: parsing and resolution never fail
// badly, and what they give is an address the fetch can use and show, whatever the
// system's conversion of a host beyond ASCII does.
#include "checks/url.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace skelvane;

std::optional<std::wstring> Refuses(std::wstring_view) {
    return std::nullopt;
}
std::optional<std::wstring> Echoes(std::wstring_view host) { // a careless system
    return std::wstring(host);
}
std::optional<std::wstring> Converts(std::wstring_view host) {
    return L"xn--" + std::wstring(host.size() % 7 + 1, L'a');
}

void Check(const std::wstring& base, const std::wstring& location, const HostToAscii& toAscii) {
    const Redirect redirect = ResolveLocation(base, location, toAscii);
    const std::wstring& once = redirect.url;
    for (const std::wstring& candidate : {base, once}) {
        const auto url = ParseUrl(candidate);
        if (url && (url->host.empty() || url->port == 0 || url->path.empty() ||
                    url->path.front() != L'/' || url->path.find(L'#') != std::wstring::npos))
            std::abort();
    }
    // Nothing a server sends reaches a request line or a screen raw: no control, space,
    // DEL or character beyond ASCII survives resolution.
    for (wchar_t c : once)
        if (c <= L' ' || c >= 0x7F || c == L'"' || c == L'<' || c == L'>' || c == L'`')
            std::abort();
    // A resolved address never keeps a fragment; an absolute one resolves the same
    // against any base, and once its dot segments are gone, resolving changes nothing.
    if (ParseUrl(base)) {
        if (once.find(L'#') != std::wstring::npos) std::abort();
        if (ParseUrl(once)) {
            const std::wstring twice = ResolveLocation(base, once, toAscii).url;
            if (ResolveLocation(once, once, toAscii).url != twice) std::abort();
            if (ResolveLocation(base, twice, toAscii).url != twice) std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    const std::size_t split = text.find(L'\n');
    const std::wstring base = text.substr(0, split);
    const std::wstring location = split == std::wstring::npos ? L"" : text.substr(split + 1);

    for (const HostToAscii& toAscii :
         {HostToAscii(), HostToAscii(Refuses), HostToAscii(Echoes), HostToAscii(Converts)})
        Check(base, location, toAscii);
    // A name the system refuses, or turns into no host name, is as if there were no
    // conversion at all; one it turns into a name never is.
    const Redirect none = ResolveLocation(base, location, {});
    for (const HostToAscii& noName : {HostToAscii(Refuses), HostToAscii(Echoes)}) {
        const Redirect r = ResolveLocation(base, location, noName);
        if (r.url != none.url || r.hostUnconvertible != none.hostUnconvertible) std::abort();
    }
    if (ResolveLocation(base, location, Converts).hostUnconvertible) std::abort();
    return 0;
}
