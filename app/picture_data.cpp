#include "app/picture_data.h"

namespace skelvane {

namespace {

constexpr int kLargestSide = 1024;

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}

} // namespace

std::optional<Pixels> UnpackPicture(std::span<const std::uint8_t> d) {
    if (d.size() < 40 || U32(d, 0) != 40) return std::nullopt;
    const auto width = static_cast<std::int32_t>(U32(d, 4));
    const auto height = static_cast<std::int32_t>(U32(d, 8));
    const unsigned planesAndBits = U32(d, 12), compression = U32(d, 16);
    unsigned colours = U32(d, 32);
    if (colours == 0) colours = 256;
    if (width < 1 || width > kLargestSide || height < 1 || height > kLargestSide ||
        planesAndBits != (1u | 8u << 16) || compression != 1 || colours > 256 ||
        d.size() < 40 + 4 * colours)
        return std::nullopt;

    Pixels out{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
    std::size_t at = 40 + 4 * colours;
    auto colour = [&](std::uint8_t index) { return U32(d, 40 + 4 * std::size_t{index}); };
    int x = 0, y = 0; // y counts rows from the bottom, as the data stores them
    auto put = [&](std::uint8_t index) {
        if (index >= colours || x >= width || y >= height) return false;
        out.bgra[std::size_t(height - 1 - y) * width + x++] = colour(index);
        return true;
    };
    while (at + 2 <= d.size()) {
        const std::uint8_t count = d[at], value = d[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                if (!put(value)) return std::nullopt;
        } else if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return out;
        } else if (value == 2) { // jump right and up; what it passes stays transparent
            if (at + 2 > d.size()) return std::nullopt;
            x += d[at];
            y += d[at + 1];
            at += 2;
            if (x > width || y > height) return std::nullopt;
        } else { // `value` pixels as they stand, padded to an even length
            const std::size_t padded = value + (value & 1u);
            if (at + padded > d.size()) return std::nullopt;
            for (std::size_t i = 0; i < value; ++i)
                if (!put(d[at + i])) return std::nullopt;
            at += padded;
        }
    }
    return std::nullopt; // no end marker
}

void Tint(Pixels& pixels, Colour colour) {
    const std::uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    for (std::uint32_t& p : pixels.bgra) {
        const std::uint32_t a = p >> 24;
        auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
        p = a << 24 | scale(r) << 16 | scale(g) << 8 | scale(b);
    }
}

} // namespace skelvane
