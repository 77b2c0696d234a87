#include "app/colours.h"

#include "app/layout.h"

#include <cmath>

namespace skelvane {

namespace {

double Linear(unsigned channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

double RelativeLuminance(Colour c) {
    return 0.2126 * Linear(c & 0xFF) + 0.7152 * Linear((c >> 8) & 0xFF) +
           0.0722 * Linear((c >> 16) & 0xFF);
}

double ContrastRatio(Colour a, Colour b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

// The fixed white background stays only while the system's text colour reads well on it;
// otherwise everything takes the system's colours, the OS label its link colour where that
// reads on the system's background.
Palette ChoosePalette(const SystemScheme& s) {
    if (!s.highContrast && ContrastRatio(s.windowText, kWindowBackground) >= kReadableContrast)
        return {kWindowBackground, s.windowText, kLblOsTextColour, false};
    const bool hotTrackReads = ContrastRatio(s.hotTrack, s.window) >= kReadableContrast;
    return {s.window, s.windowText, hotTrackReads ? s.hotTrack : s.windowText, true};
}

} // namespace skelvane
