// What the window shows in a dark colour scheme and at other DPIs, read from its own pixels.
#include "app/check_table.h"
#include "support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace skelvane::test {
namespace {

constexpr UINT kDpiChanged = 0x02E0;
constexpr Colour kWhite = 0xFFFFFF;

// The checker started with the prefix as it is now, its window shown and painted; ended
// with the test.
struct Running {
    ChildProcess app{L"\"" + ProductExe(L"Skelvane.exe") + L"\""};
    HWND window = FindProcessWindow(app.id(), L"SkelvaneMain", 20000);

    Shot Painted() const {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        ::Sleep(700);
        return Capture(window);
    }
};

// Every control at its place for dpi from the table; the OS label's left edge alone may
// give way to its heading.
void ExpectLaidOutFor(HWND window, int dpi) {
    RECT client;
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, TwipsToPixels(kClientWidthTwips, dpi)) << dpi;
    EXPECT_EQ(client.bottom, TwipsToPixels(kClientHeightTwips, dpi)) << dpi;
    for (const ControlLayout& item : kControls) {
        if (item.kind == ControlKind::Hidden) continue;
        const PixelRect table = ToPixels(item.place, dpi), place = PlaceOf(window, item.id);
        const int left =
            item.id == ControlId::lblOS ? std::max(place.left, table.left) : table.left;
        EXPECT_EQ(place,
                  (PixelRect{left, table.top, table.left + table.width - left, table.height}))
            << item.name << " " << dpi;
    }
}

// Dark window, white text: every caption stands out from what is behind it, and no status
// picture sits on a box of another colour (the box's corner shows the background).
TEST(Screen, DarkSchemeIsReadable) {
    RegistryValueGuard window(kHkeyCurrentUser, L"Control Panel\\Colors", L"Window");
    RegistryValueGuard text(kHkeyCurrentUser, L"Control Panel\\Colors", L"WindowText");
    window.Set(L"0 0 0");
    text.Set(L"255 255 255");
    Running app;
    ASSERT_TRUE(app.window);
    const Shot shot = app.Painted();
    ASSERT_FALSE(shot.pixels.empty());
    constexpr Colour black = 0;
    for (const ControlLayout& label : kControls) {
        if (label.kind != ControlKind::Label) continue;
        const PixelRect r = PlaceOf(app.window, label.id);
        EXPECT_GE(shot.Ink(r, black, kReadableContrast).width, 3) << label.name;
    }
    for (ControlId id : kStatusBoxes) { // the box's corner: not the row it shares below
        const PixelRect r = PlaceOf(app.window, id);
        EXPECT_EQ(shot.at(r.left + r.width - 1, r.top + r.height - 2), black) << LayoutOf(id).name;
        EXPECT_GT(shot.Ink(r, black, kReadableContrast).width, 0) << LayoutOf(id).name;
    }
}

// At each system DPI: the window's size, every control's place from the table, the OS label at
// least a space after the heading's drawn text, and a status picture
// (the question mark) and the logo as much taller than at 96 DPI as the text is.
TEST(Screen, ScalesWithTheDpi) {
    std::map<int, PixelRect> question, logo;
    for (int dpi : {96, 120, 144, 168, 192, 240}) {
        RegistryValueGuard setting(kHkeyCurrentUser, L"Control Panel\\Desktop", L"LogPixels");
        setting.Set(dpi);
        Running app;
        ASSERT_TRUE(app.window) << dpi;
        const Shot shot = app.Painted();
        ExpectLaidOutFor(app.window, dpi);
        question[dpi] = shot.Ink(PlaceOf(app.window, ControlId::picSmartCard), kWhite);
        PixelRect logoBox = PlaceOf(app.window, ControlId::Picture1); // above the first row
        logoBox.height = PlaceOf(app.window, kStatusBoxes[0]).top - logoBox.top;
        logo[dpi] = shot.Ink(logoBox, kWhite);

        // The heading's text as drawn, and a space of the largest font the window may choose.
        const int labelLeft = PlaceOf(app.window, ControlId::lblOS).left;
        PixelRect heading = PlaceOf(app.window, ControlId::Label2); // up to the OS label
        heading.width = std::min(heading.width, labelLeft - heading.left);
        const PixelRect drawn = shot.Ink(heading, kWhite, 2.0);
        const client_dc dc(nullptr);
        const unique_gdi font(::CreateFontW(-::MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                            DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg"));
        const selected_object selected(dc.get(), font.get());
        SIZE space{};
        ::GetTextExtentPoint32W(dc.get(), L" ", 1, &space);
        const int gap = labelLeft - (drawn.left + drawn.width);
        EXPECT_GE(gap, space.cx) << dpi;
        std::printf("%3d DPI: question mark %d px high, logo %d; heading to OS label %d px, a "
                    "space %ld\n",
                    dpi, question[dpi].height, logo[dpi].height, gap, space.cx);
    }
    // The logo within two pixels: its anti-aliased rim adds a faint row at 96 DPI.
    for (const auto& [dpi, ink] : question) {
        EXPECT_NEAR(ink.height, question[96].height * dpi / 96.0, 1.0) << dpi;
        EXPECT_NEAR(logo[dpi].height, logo[96].height * dpi / 96.0, 2.0) << dpi;
    }

    // Moved to a display of 144 DPI, told as Windows tells it (the suggested frame in the
    // checker's own memory): it takes that frame, is laid out and drawn as if started at
    // 144 DPI, and its tooltip (which comes with the first result) is as wide as there.
    Running app;
    ASSERT_TRUE(app.window);
    HWND tooltip = FindProcessWindow(app.app.id(), L"tooltips_class32", 20000, false);
    ASSERT_TRUE(tooltip);
    constexpr int dpi = 144;
    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi)};
    ::AdjustWindowRectEx(&frame, ::GetWindowLongW(app.window, GWL_STYLE), FALSE,
                         ::GetWindowLongW(app.window, GWL_EXSTYLE));
    ::OffsetRect(&frame, 40 - frame.left, 30 - frame.top);
    const unique_kernel_handle process(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, app.app.id()));
    void* remote =
        ::VirtualAllocEx(process.get(), nullptr, sizeof frame, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(remote &&
                ::WriteProcessMemory(process.get(), remote, &frame, sizeof frame, nullptr));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(app.window, kDpiChanged, MAKEWPARAM(dpi, dpi),
                                      reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 5000,
                                      &answer));
    RECT now;
    ::GetWindowRect(app.window, &now);
    EXPECT_TRUE(::EqualRect(&now, &frame));
    ExpectLaidOutFor(app.window, dpi);
    EXPECT_EQ(app.Painted().Ink(PlaceOf(app.window, ControlId::picSmartCard), kWhite),
              question[dpi]);
    EXPECT_EQ(::SendMessageW(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), ::MulDiv(400, dpi, 96));
}

} // namespace
} // namespace skelvane::test
