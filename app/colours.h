#pragma once
// The window's colours: its own fixed ones where the system's text reads well on white,
// the system's own (high contrast, dark schemes) where it would not.
#include <cstdint>

namespace skelvane {

using Colour = std::uint32_t; // as COLORREF: 0x00BBGGRR

// Relative luminance (0 black to 1 white) and the contrast ratio of two colours (1 to 21),
// as accessibility guidelines define them.
double RelativeLuminance(Colour c);
double ContrastRatio(Colour a, Colour b);

// Below this ratio text is hard to read for people with low vision.
inline constexpr double kReadableContrast = 4.5;

struct SystemScheme {
    bool highContrast = false;
    Colour window = 0xFFFFFF, windowText = 0, hotTrack = 0xCC6600;
};

struct Palette {
    Colour background, text, osLabel;
    bool system; // the system's colours, not the window's own
    bool operator==(const Palette&) const = default;
};

Palette ChoosePalette(const SystemScheme& scheme);

} // namespace skelvane
