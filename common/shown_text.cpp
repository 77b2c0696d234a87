#include "common/shown_text.h"

#include <algorithm>
#include <utility>

namespace skelvane {
namespace {

struct CodePointRange {
    char32_t first, last;
};

// In ascending order. Besides the controls, the lone surrogates and the line and paragraph
// separators, the whole of Unicode's Default_Ignorable_Code_Point set: characters that
// draw nothing by themselves (direction marks, joiners, fillers, variation selectors, tags)
// and the code points kept for more of them, so a name cannot hide or fake characters.
constexpr CodePointRange kUnsafeToShow[] = {
    {0x0000, 0x0008},       // C0 controls before tab
    {0x000A, 0x001F},       // C0 controls after tab
    {0x007F, 0x009F},       // DEL and the C1 controls
    {0x00AD, 0x00AD},       // soft hyphen
    {0x034F, 0x034F},       // combining grapheme joiner
    {0x061C, 0x061C},       // Arabic letter mark
    {0x115F, 0x1160},       // Hangul choseong and jungseong fillers
    {0x17B4, 0x17B5},       // Khmer inherent vowels
    {0x180B, 0x180F},       // Mongolian variation selectors and vowel separator
    {0x200B, 0x200F},       // zero width space, non-joiner, joiner; direction marks
    {0x2028, 0x202E},       // line and paragraph separators; direction embeddings, overrides
    {0x2060, 0x206F},       // word joiner, invisible operators, isolates, deprecated controls
    {0x3164, 0x3164},       // Hangul filler
    {0xD800, 0xDFFF},       // a surrogate without its partner
    {0xFE00, 0xFE0F},       // variation selectors
    {0xFEFF, 0xFEFF},       // zero width no-break space (byte order mark)
    {0xFFA0, 0xFFA0},       // halfwidth Hangul filler
    {0xFFF0, 0xFFFB},       // reserved ignorables, interlinear annotation marks
    {0xFFFE, 0xFFFF},       // noncharacters (U+FFFD between them is the replacement itself)
    {0x1BCA0, 0x1BCA3},     // shorthand format controls
    {0x1D173, 0x1D17A},     // musical symbol beam, tie, slur and phrase controls
    {0xE0000, 0xE0FFF},     // tag characters, variation selectors 17 to 256, reserved
    {0x110000, 0xFFFFFFFF}, // beyond Unicode: only a 32-bit wchar_t can hold it
};
static_assert(std::adjacent_find(std::begin(kUnsafeToShow), std::end(kUnsafeToShow),
                                 [](const CodePointRange& a, const CodePointRange& b) {
                                     return a.first > a.last || a.last >= b.first;
                                 }) == std::end(kUnsafeToShow),
              "ranges in ascending order, apart");

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
