#pragma once
// The fixed layout of frmMain: one table of controls in twips, and the
// conversion to device pixels. Platform-free so it can be unit tested.
#include <array>
#include <cstdint>
#include <string_view>

namespace skelvane {

enum class ControlKind { PictureBox, Label, CommandButton, Hidden };

enum class ControlId : int {
    Picture1 = 1,
    picInstaller,
    Inet1,
    cmdClose,
    picInternetData,
    picSmartCard,
    picInternetApp,
    picDotNet,
    picOs,
    picCross,
    picTick,
    Label7,
    Label6,
    lblOS,
    Label5,
    Label4,
    Label3,
    Label2,
    Label1,
};

enum class Image { None, Logo, Placeholder, Tick, Cross };

struct TwipsRect {
    int left, top, width, height;
};

struct ControlLayout {
    ControlId id;
    std::string_view name;
    ControlKind kind;
    TwipsRect place;
    std::wstring_view caption; // labels and buttons
    Image image;               // picture boxes
    int tabIndex;              // -1: none
    bool visible;
    bool enabled;
};

inline constexpr int kClientWidthTwips = 6180;
inline constexpr int kClientHeightTwips = 3375;
inline constexpr std::wstring_view kWindowCaption = L"Quorrel Ombrenal Quorrel Card System";

inline constexpr std::uint32_t kWindowBackground = 0xFFFFFF; // RGB(255,255,255) as COLORREF
inline constexpr std::uint32_t kLblOsTextColour = 0xC00000;  // RGB(0,0,192) as COLORREF

// In control-identifier order, 1 to 19.
// clang-format off
inline constexpr std::array<ControlLayout, 19> kControls = [] {
    using enum ControlKind;
    using enum ControlId;
    return std::array<ControlLayout, 19>{{
    {Picture1, "Picture1", PictureBox, {120, 120, 855, 855}, L"", Image::Logo, 17, true, true},
    {picInstaller, "picInstaller", PictureBox, {840, 1680, 255, 255}, L"", Image::Placeholder, 15, true, true},
    {Inet1, "Inet1", Hidden, {4560, 2040, 0, 0}, L"", Image::None, -1, false, true},
    {cmdClose, "cmdClose", CommandButton, {2400, 2760, 1215, 375}, L"Close", Image::None, 14, true, false},
    {picInternetData, "picInternetData", PictureBox, {840, 1200, 255, 255}, L"", Image::Placeholder, 12, true, true},
    {picSmartCard, "picSmartCard", PictureBox, {840, 2160, 255, 255}, L"", Image::Placeholder, 11, true, true},
    {picInternetApp, "picInternetApp", PictureBox, {840, 960, 255, 255}, L"", Image::Placeholder, 10, true, true},
    {picDotNet, "picDotNet", PictureBox, {840, 1920, 255, 255}, L"", Image::Placeholder, 9, true, true},
    {picOs, "picOs", PictureBox, {840, 1440, 375, 255}, L"", Image::Placeholder, 8, true, true},
    {picCross, "picCross", PictureBox, {4920, 480, 375, 255}, L"", Image::Cross, 7, false, true},
    {picTick, "picTick", PictureBox, {4920, 120, 375, 255}, L"", Image::Tick, 6, false, true},
    {Label7, "Label7", Label, {1200, 1680, 1935, 255}, L"Windows Installer 3.1", Image::None, 16, true, true},
    {Label6, "Label6", Label, {1200, 1200, 2895, 255}, L"Internet Access (Secure Web Service)", Image::None, 13, true, true},
    {lblOS, "lblOS", Label, {2640, 1440, 2535, 255}, L"-", Image::None, 5, true, true},
    {Label5, "Label5", Label, {1200, 2160, 1455, 255}, L"Smart Card Driver", Image::None, 4, true, true},
    {Label4, "Label4", Label, {1200, 960, 2535, 255}, L"Internet Access (Application)", Image::None, 3, true, true},
    {Label3, "Label3", Label, {1200, 1920, 2175, 255}, L"Dot Net Framework V3.5", Image::None, 2, true, true},
    {Label2, "Label2", Label, {1200, 1440, 1455, 255}, L"Operating System:", Image::None, 1, true, true},
    {Label1, "Label1", Label, {1200, 360, 3855, 495},
     L"We have checked your computer to determine whether it can run the Quorrel Card software.",
     Image::None, 0, true, true},
    }};
}();
// clang-format on

const ControlLayout& LayoutOf(ControlId id);

// 1440 twips make an inch; rounds to the nearest pixel.
int TwipsToPixels(int twips, int dpi);

struct PixelRect {
    int left, top, width, height;
    bool operator==(const PixelRect&) const = default;
};
PixelRect ToPixels(const TwipsRect& r, int dpi);

// Controls in the order they are created, which is their tab order
// (tab index 0 first; Inet1 has none and no window).
std::array<const ControlLayout*, 18> CreationOrder();

} // namespace skelvane
