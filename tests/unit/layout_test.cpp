#include "app/layout.h"

#include <gtest/gtest.h>

#include <set>

namespace skelvane {
namespace {

TEST(TwipsToPixels, FifteenTwipsArePixelAt96Dpi) {
    EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 96), 412);
    EXPECT_EQ(TwipsToPixels(kClientHeightTwips, 96), 225);
    EXPECT_EQ(TwipsToPixels(7, 96), 0);
    EXPECT_EQ(TwipsToPixels(8, 96), 1); // half a pixel rounds up
    EXPECT_EQ(TwipsToPixels(1440, 120), 120);
    EXPECT_EQ(TwipsToPixels(255, 144), 26); // 25.5
    EXPECT_EQ(TwipsToPixels(255, 192), 34);
    EXPECT_EQ(TwipsToPixels(-15, 96), -1);
}

struct Expected {
    ControlId id;
    PixelRect px;
};

TEST(Layout, EveryControlAtItsPixelPlaceAt96Dpi) {
    const Expected cases[] = {
        {ControlId::Picture1, {8, 8, 57, 57}},
        {ControlId::picInstaller, {56, 112, 17, 17}},
        {ControlId::cmdClose, {160, 184, 81, 25}},
        {ControlId::picInternetData, {56, 80, 17, 17}},
        {ControlId::picSmartCard, {56, 144, 17, 17}},
        {ControlId::picInternetApp, {56, 64, 17, 17}},
        {ControlId::picDotNet, {56, 128, 17, 17}},
        {ControlId::picOs, {56, 96, 25, 17}},
        {ControlId::picCross, {328, 32, 25, 17}},
        {ControlId::picTick, {328, 8, 25, 17}},
        {ControlId::Label7, {80, 112, 129, 17}},
        {ControlId::Label6, {80, 80, 193, 17}},
        {ControlId::lblOS, {176, 96, 169, 17}},
        {ControlId::Label5, {80, 144, 97, 17}},
        {ControlId::Label4, {80, 64, 169, 17}},
        {ControlId::Label3, {80, 128, 145, 17}},
        {ControlId::Label2, {80, 96, 97, 17}},
        {ControlId::Label1, {80, 24, 257, 33}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToPixels(LayoutOf(c.id).place, 96), c.px) << LayoutOf(c.id).name;
}

TEST(Layout, TableIsInIdentifierOrderWithUniqueTabIndexes) {
    std::set<int> tabs;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        EXPECT_EQ(static_cast<int>(kControls[i].id), static_cast<int>(i) + 1);
        if (kControls[i].tabIndex >= 0) {
            EXPECT_TRUE(tabs.insert(kControls[i].tabIndex).second);
        }
    }
    EXPECT_EQ(tabs.size(), 18u);
    EXPECT_EQ(*tabs.begin(), 0);
    EXPECT_EQ(*tabs.rbegin(), 17);
}

TEST(Layout, CreationOrderFollowsTabIndexAndSkipsInet) {
    const auto order = CreationOrder();
    EXPECT_EQ(order.front()->id, ControlId::Label1);
    EXPECT_EQ(order.back()->id, ControlId::Picture1);
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(order[i]->tabIndex, static_cast<int>(i));
        EXPECT_NE(order[i]->id, ControlId::Inet1);
    }
}

TEST(Layout, RowsStayEvenAtHigherDpi) {
    // Converting edges rather than extents may vary a size by a pixel; the six
    // status boxes must still come out alike and in order from the top.
    const ControlId rows[] = {ControlId::picInternetApp, ControlId::picInternetData,
                              ControlId::picOs,          ControlId::picInstaller,
                              ControlId::picDotNet,      ControlId::picSmartCard};
    for (int dpi : {96, 120, 144, 192}) {
        int lastTop = -1;
        for (ControlId id : rows) {
            const PixelRect r = ToPixels(LayoutOf(id).place, dpi);
            EXPECT_GT(r.top, lastTop) << dpi;
            EXPECT_NEAR(r.height, 255.0 * dpi / 1440, 1.0) << dpi;
            EXPECT_EQ(r.left, TwipsToPixels(840, dpi));
            lastTop = r.top;
        }
        const auto label2 = ToPixels(LayoutOf(ControlId::Label2).place, dpi);
        const auto lblOS = ToPixels(LayoutOf(ControlId::lblOS).place, dpi);
        EXPECT_EQ(label2.left + label2.width, TwipsToPixels(2655, dpi)) << dpi;
        EXPECT_LE(lblOS.left, label2.left + label2.width) << dpi; // they overlap by 15 twips
    }
}

TEST(Layout, CaptionsAndStates) {
    EXPECT_EQ(LayoutOf(ControlId::cmdClose).caption, L"Close");
    EXPECT_FALSE(LayoutOf(ControlId::cmdClose).enabled);
    EXPECT_FALSE(LayoutOf(ControlId::picTick).visible);
    EXPECT_FALSE(LayoutOf(ControlId::picCross).visible);
    EXPECT_EQ(LayoutOf(ControlId::lblOS).caption, L"-");
    EXPECT_EQ(kWindowCaption, L"Quorrel Ombrenal Quorrel Card System");
}

} // namespace
} // namespace skelvane
