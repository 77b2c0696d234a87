#pragma once
// What changes with the display's DPI beyond the twips table: which picture scale to use,
// and where the OS label may begin so it never touches its heading.
#include "app/layout.h"

#include <array>

namespace skelvane {

// The scales every picture is drawn at, in percent (96 DPI is 100 %).
inline constexpr std::array<int, 6> kPictureScales{100, 125, 150, 175, 200, 250};

// The place in kPictureScales of the scale made for a DPI: the largest not above it, so a
// picture is never stretched; below 96 DPI, the smallest.
int PictureScalePlace(int dpi);

// The OS label's place: as the table puts it, unless the heading's text (ending at
// headingTextRight) would come within a space of it; then it begins a space after that
// text and keeps its right edge.
PixelRect OsLabelPlace(const PixelRect& table, int headingTextRight, int spaceWidth);

} // namespace skelvane
