#include "common/shown_text.h"

namespace skelvane {

bool IsUnsafeToShow(char32_t c) {
    return (c < 0x20 && c != U'\t') || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E ||
           c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::wstring ShownText(std::wstring_view text) {
    std::wstring shown(text);
    for (wchar_t& c : shown)
        if (IsUnsafeToShow(static_cast<char32_t>(c))) c = L'\uFFFD';
    return shown;
}

} // namespace skelvane
