#include "app/colours.h"
#include "app/dpi.h"
#include "app/picture_data.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace skelvane {
namespace {

TEST(Colours, ContrastRatio) {
    const struct {
        Colour a, b;
        double ratio;
    } cases[] = {
        {0x000000, 0xFFFFFF, 21.0}, {0xFFFFFF, 0x000000, 21.0},  {0xFFFFFF, 0xFFFFFF, 1.0},
        {0x777777, 0xFFFFFF, 4.48}, {0x767676, 0xFFFFFF, 4.54},  {0x00FFFF, 0x000000, 19.56},
        {0x0000FF, 0xFFFFFF, 4.0},  {0xC00000, 0xFFFFFF, 11.92},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01) << std::hex << c.a << " " << c.b;
}

TEST(Colours, SchemeDecidesWhoseColours) {
    constexpr Colour white = 0xFFFFFF, black = 0, yellow = 0x00FFFF, navy = 0x800000,
                     grey = 0x595959;
    constexpr Colour ownBlue = 0xC00000, lightBlue = 0xFFC080;
    const struct {
        const char* scheme;
        SystemScheme in;
        Palette out;
    } cases[] = {
        {"classic", {false, white, black, 0xCC6600}, {white, black, ownBlue, false}},
        {"dark grey text, readable", {false, white, grey, navy}, {white, grey, ownBlue, false}},
        {"light grey text", {false, white, 0x777777, navy}, {white, 0x777777, navy, true}},
        {"dark", {false, black, white, lightBlue}, {black, white, lightBlue, true}},
        {"dark, link colour lost", {false, black, white, navy}, {black, white, white, true}},
        {"high contrast black", {true, black, yellow, 0x00FF00}, {black, yellow, 0x00FF00, true}},
        {"high contrast white", {true, white, black, navy}, {white, black, navy, true}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChoosePalette(c.in), c.out) << c.scheme;
}

TEST(Dpi, PictureScaleIsTheNearestBelow) {
    const struct {
        int dpi, percent;
    } cases[] = {{72, 100},  {96, 100},  {119, 100}, {120, 125}, {143, 125}, {144, 150},
                 {168, 175}, {191, 175}, {192, 200}, {239, 200}, {240, 250}, {480, 250}};
    for (const auto& c : cases)
        EXPECT_EQ(kPictureScales[PictureScalePlace(c.dpi)], c.percent) << c.dpi;
}

TEST(Dpi, OsLabelKeepsASpaceAfterItsHeading) {
    const PixelRect table{176, 96, 169, 17};
    const struct {
        int textRight, space;
        PixelRect place;
    } cases[] = {
        {168, 3, table},              // a wide gap: the table's place
        {173, 3, table},              // exactly a space
        {174, 3, {177, 96, 168, 17}}, // one pixel short: moves one
        {200, 5, {205, 96, 140, 17}},
        {400, 5, {345, 96, 0, 17}}, // never past its own right edge
    };
    for (const auto& c : cases)
        EXPECT_EQ(OsLabelPlace(table, c.textRight, c.space), c.place) << c.textRight;
}

// A picture as make_images.py writes one: header, palette (premultiplied, alpha in the
// fourth byte), run-length data.
std::vector<std::uint8_t> Packed(int width, int height, std::vector<std::uint32_t> palette,
                                 std::vector<std::uint8_t> data) {
    std::vector<std::uint32_t> words{40u,
                                     std::uint32_t(width),
                                     std::uint32_t(height),
                                     1u | 8u << 16,
                                     1u,
                                     std::uint32_t(data.size()),
                                     0u,
                                     0u,
                                     std::uint32_t(palette.size()),
                                     0u};
    words.insert(words.end(), palette.begin(), palette.end());
    std::vector<std::uint8_t> out;
    for (std::uint32_t v : words)
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TEST(PictureData, Unpacks) {
    // Pixels top row first: '.' clear, 'r' red, 'h' half-covered green.
    const std::vector<std::uint32_t> palette{0, 0xFFFF0000, 0x80008000};
    const struct {
        const char* what;
        int width, height;
        std::vector<std::uint8_t> data;
        std::string_view pixels;
    } cases[] = {
        {"runs, bottom row first", 3, 2, {3, 1, 0, 0, 1, 2, 2, 0, 0, 1}, "h..rrr"},
        {"pixels as they stand, padded", 3, 1, {0, 3, 1, 2, 1, 0, 0, 1}, "rhr"},
        {"a jump leaves what it passes clear", 3, 2, {0, 2, 2, 1, 1, 2, 0, 1}, "..h..."},
        {"a short line ends early", 2, 2, {1, 1, 0, 0, 2, 2, 0, 1}, "hhr."},
    };
    for (const auto& c : cases) {
        const auto p = UnpackPicture(Packed(c.width, c.height, palette, c.data));
        ASSERT_TRUE(p) << c.what;
        EXPECT_EQ(p->width, c.width) << c.what;
        EXPECT_EQ(p->height, c.height) << c.what;
        std::vector<std::uint32_t> expected;
        for (char pixel : c.pixels)
            expected.push_back(palette[std::string_view(".rh").find(pixel)]);
        EXPECT_EQ(p->bgra, expected) << c.what;
    }
}

TEST(PictureData, RefusesWhatDoesNotHoldTogether) {
    const std::vector<std::uint32_t> two{0, 0xFFFFFFFF};
    auto good = Packed(2, 1, two, {2, 1, 0, 1});
    ASSERT_TRUE(UnpackPicture(good));
    auto damaged = [&](std::size_t at, std::uint8_t value) {
        auto d = good;
        d[at] = value;
        return d;
    };
    const struct {
        const char* what;
        std::vector<std::uint8_t> data;
    } cases[] = {
        {"empty", {}},
        {"header cut short", {good.begin(), good.begin() + 39}},
        {"not 8 bits", damaged(14, 24)},
        {"not run-length encoded", damaged(16, 0)},
        {"no width", damaged(4, 0)},
        {"height beyond reason", damaged(9, 0x10)},
        {"palette past the end", damaged(32, 200)},
        {"run past the right edge", Packed(2, 1, two, {3, 1, 0, 1})},
        {"colour outside the palette", Packed(2, 1, two, {2, 2, 0, 1})},
        {"row above the top", Packed(2, 1, two, {2, 1, 0, 0, 1, 1, 0, 1})},
        {"pixels past the data", Packed(2, 1, two, {0, 3, 1, 1})},
        {"jump past the edge", Packed(2, 1, two, {0, 2, 3, 0, 0, 1})},
        {"jump cut short", Packed(2, 1, two, {0, 2, 1})},
        {"no end marker", Packed(2, 1, two, {2, 1})},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(UnpackPicture(c.data)) << c.what;
}

TEST(PictureData, TintKeepsCoverage) {
    Pixels p{3, 1, {0x00000000, 0xFF000000, 0x80000000}};
    Tint(p, 0x00FFFF); // yellow: red and green full
    EXPECT_EQ(p.bgra, (std::vector<std::uint32_t>{0x00000000, 0xFFFFFF00, 0x80808000}));
}

} // namespace
} // namespace skelvane
