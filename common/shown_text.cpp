#include "common/shown_text.h"

#include <algorithm>
#include <utility>

namespace skelvane {
namespace {

struct CodePointRange {
    char32_t first, last;
};

// In ascending order.
constexpr CodePointRange kUnsafeToShow[] = {
    {0x0000, 0x0008},       // C0 controls before tab
    {0x000A, 0x001F},       // C0 controls after tab
    {0x007F, 0x009F},       // DEL and the C1 controls
    {0x061C, 0x061C},       // Arabic letter mark
    {0x200B, 0x200D},       // zero width space, non-joiner and joiner
    {0x200E, 0x200F},       // left-to-right and right-to-left marks
    {0x2028, 0x2029},       // line and paragraph separators
    {0x202A, 0x202E},       // direction embeddings and overrides
    {0x2060, 0x2064},       // word joiner and the invisible operators
    {0x2066, 0x2069},       // direction isolates
    {0x206A, 0x206F},       // deprecated format controls
    {0xD800, 0xDFFF},       // a surrogate without its partner
    {0xFEFF, 0xFEFF},       // zero width no-break space (byte order mark)
    {0xFFF9, 0xFFFB},       // interlinear annotation marks
    {0x110000, 0xFFFFFFFF}, // beyond Unicode: only a 32-bit wchar_t can hold it
};

// The code point that starts at text[i], and how many units it takes.
template <class Char>
std::pair<char32_t, std::size_t> CodePointAt(std::basic_string_view<Char> text, std::size_t i) {
    if constexpr (sizeof(Char) == 2) {
        const char32_t high = static_cast<char16_t>(text[i]);
        if (high >= 0xD800 && high <= 0xDBFF && i + 1 < text.size()) {
            const char32_t low = static_cast<char16_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF)
                return {0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00), 2};
        }
        return {high, 1};
    } else {
        return {static_cast<char32_t>(text[i]), 1};
    }
}

template <class Char> std::basic_string<Char> Shown(std::basic_string_view<Char> text) {
    std::basic_string<Char> shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, units] = CodePointAt(text, i);
        if (IsUnsafeToShow(c))
            shown += static_cast<Char>(0xFFFD);
        else
            shown.append(text.substr(i, units));
        i += units;
    }
    return shown;
}

} // namespace

bool IsUnsafeToShow(char32_t c) {
    const auto* after =
        std::upper_bound(std::begin(kUnsafeToShow), std::end(kUnsafeToShow), c,
                         [](char32_t v, const CodePointRange& r) { return v < r.first; });
    return after != std::begin(kUnsafeToShow) && c <= std::prev(after)->last;
}

std::wstring ShownText(std::wstring_view text) {
    return Shown(text);
}

std::u16string ShownText(std::u16string_view text) {
    return Shown(text);
}

} // namespace skelvane
