#include "app/layout.h"

#include <algorithm>

namespace skelvane {

const ControlLayout& LayoutOf(ControlId id) {
    return kControls[static_cast<int>(id) - 1];
}

int TwipsToPixels(int twips, int dpi) {
    // Round half away from zero, in integers so every DPI gives the same answer everywhere.
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

PixelRect ToPixels(const TwipsRect& r, int dpi) {
    // Convert both edges, not the extent, so neighbouring controls stay flush at any DPI.
    const int left = TwipsToPixels(r.left, dpi);
    const int top = TwipsToPixels(r.top, dpi);
    return {left, top, TwipsToPixels(r.left + r.width, dpi) - left,
            TwipsToPixels(r.top + r.height, dpi) - top};
}

std::array<const ControlLayout*, 18> CreationOrder() {
    std::array<const ControlLayout*, 18> order{};
    std::size_t n = 0;
    for (const auto& c : kControls)
        if (c.tabIndex >= 0) order[n++] = &c;
    std::sort(order.begin(), order.end(),
              [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    return order;
}

} // namespace skelvane
