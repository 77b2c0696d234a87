// Addresses and redirect targets from anywhere: parsing and resolution never fail
// badly, and what they give is an address the fetch can use and show.
#include "checks/url.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skelvane;
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    const std::size_t split = text.find(L'\n');
    const std::wstring base = text.substr(0, split);
    const std::wstring location = split == std::wstring::npos ? L"" : text.substr(split + 1);

    for (const std::wstring& candidate : {base, ResolveLocation(base, location)}) {
        const auto url = ParseUrl(candidate);
        if (url && (url->host.empty() || url->port == 0 || url->path.empty() ||
                    url->path.front() != L'/' || url->path.find(L'#') != std::wstring::npos))
            std::abort();
    }
    // Nothing a server sends reaches a request line or a screen raw: no control, space,
    // DEL or character beyond ASCII survives resolution.
    for (wchar_t c : ResolveLocation(base, location))
        if (c <= L' ' || c >= 0x7F || c == L'"' || c == L'<' || c == L'>' || c == L'`')
            std::abort();
    // A resolved address never keeps a fragment; an absolute one resolves the same
    // against any base, and once its dot segments are gone, resolving changes nothing.
    if (ParseUrl(base)) {
        const std::wstring once = ResolveLocation(base, location);
        if (once.find(L'#') != std::wstring::npos) std::abort();
        if (ParseUrl(once)) {
            const std::wstring twice = ResolveLocation(base, once);
            if (ResolveLocation(once, once) != twice) std::abort();
            if (ResolveLocation(base, twice) != twice) std::abort();
        }
    }
    return 0;
}
