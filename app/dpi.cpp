#include "app/dpi.h"

#include <algorithm>

namespace skelvane {

int PictureScalePlace(int dpi) {
    int place = 0;
    for (std::size_t i = 0; i < kPictureScales.size(); ++i)
        if (kPictureScales[i] * 96 <= dpi * 100) place = static_cast<int>(i);
    return place;
}

PixelRect OsLabelPlace(const PixelRect& table, int headingTextRight, int spaceWidth) {
    const int right = table.left + table.width;
    const int left = std::min(std::max(table.left, headingTextRight + spaceWidth), right);
    return {left, table.top, right - left, table.height};
}

} // namespace skelvane
