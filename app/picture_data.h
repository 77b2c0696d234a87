#pragma once
// The window's pictures as stored in the program: 8-bit run-length encoded bitmaps
// (BI_RLE8) whose palette entries carry premultiplied alpha in their fourth byte, made by
// resources/make_images.py. Unpacked here, without the system, into the 32-bit
// premultiplied pixels that alpha blending takes.
#include "app/colours.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace skelvane {

struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> bgra; // 0xAARRGGBB, premultiplied, top row first
};

// Nothing for data that is not such a bitmap or does not hold together: a run or a jump
// past the picture's edge, a colour outside the palette, data that ends too early.
std::optional<Pixels> UnpackPicture(std::span<const std::uint8_t> data);

// Gives every pixel one colour, keeping its coverage: a one-colour picture drawn in the
// text colour.
void Tint(Pixels& pixels, Colour colour);

} // namespace skelvane
