// What the window shows in a dark colour scheme and at other DPIs, read from its own pixels.
#include "app/check_table.h"
#include "app/colours.h"
#include "app/dpi.h"
#include "app/layout.h"
#include "app/status_text.h"
#include "support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace skelvane::test {
namespace {

constexpr wchar_t kClass[] = L"SkelvaneMain";
constexpr UINT kDpiChanged = 0x02E0;
constexpr ControlId kCaptions[] = {ControlId::Label1, ControlId::Label2, ControlId::Label3,
                                   ControlId::Label4, ControlId::Label5, ControlId::Label6,
                                   ControlId::Label7, ControlId::lblOS};
constexpr std::int32_t kCurrentUser = static_cast<std::int32_t>(0x80000001u);
constexpr Colour kWhite = 0xFFFFFF;

HWND Item(HWND window, ControlId id) {
    return ::GetDlgItem(window, static_cast<int>(id));
}

PixelRect PlaceOf(HWND window, ControlId id) {
    RECT r;
    ::GetWindowRect(Item(window, id), &r);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

struct TooltipSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK MatchTooltip(HWND w, LPARAM data) {
    auto* s = reinterpret_cast<TooltipSearch*>(data);
    DWORD owner = 0;
    wchar_t name[64] = {};
    ::GetWindowThreadProcessId(w, &owner);
    ::GetClassNameW(w, name, 64);
    if (owner == s->process && std::wstring_view(name) == L"tooltips_class32") s->found = w;
    return !s->found;
}

// The process's tooltip, shown or not.
HWND TooltipOf(DWORD processId) {
    TooltipSearch search{processId, nullptr};
    ::EnumWindows(&MatchTooltip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The window's client area as it is on screen.
struct Shot {
    int width = 0, height = 0;
    std::vector<Colour> pixels;
    Colour at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }

    // Rows and columns within r that hold a pixel standing out from background (a contrast
    // of at least `ratio`), as a bounding box; width 0 when there is none.
    PixelRect Ink(const PixelRect& r, Colour background, double ratio = 1.1) const {
        int left = r.left + r.width, right = -1, top = r.top + r.height, bottom = -1;
        for (int y = r.top; y < r.top + r.height; ++y)
            for (int x = r.left; x < r.left + r.width; ++x)
                if (ContrastRatio(at(x, y), background) >= ratio) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        return right < 0 ? PixelRect{} : PixelRect{left, top, right - left + 1, bottom - top + 1};
    }
    double BestContrast(const PixelRect& r, Colour background) const {
        double best = 1;
        for (int y = r.top; y < r.top + r.height; ++y)
            for (int x = r.left; x < r.left + r.width; ++x)
                best = std::max(best, ContrastRatio(at(x, y), background));
        return best;
    }
};

Shot Capture(HWND window) {
    RECT client;
    ::GetClientRect(window, &client);
    Shot shot{client.right, client.bottom, {}};
    BITMAPINFO bi{};
    bi.bmiHeader = {
        sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const client_dc screen(window);
    const unique_memory_dc memory(::CreateCompatibleDC(screen.get()));
    const unique_gdi dib(::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bits) return shot;
    const selected_object selected(memory.get(), dib.get());
    ::BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < shot.width * shot.height; ++i) // 0x00RRGGBB to 0x00BBGGRR
        shot.pixels.push_back((px[i] & 0xFF) << 16 | (px[i] & 0xFF00) | (px[i] >> 16 & 0xFF));
    return shot;
}

// One registry number changed for a test, put back (or removed) at scope end.
class NumberSetting {
  public:
    NumberSetting(const wchar_t* key, const wchar_t* name, DWORD value) : name_(name) {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                          &key_, nullptr);
        DWORD size = sizeof old_;
        had_ = ::RegQueryValueExW(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&old_),
                                  &size) == ERROR_SUCCESS;
        ::RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                         sizeof value);
    }
    ~NumberSetting() {
        if (had_)
            ::RegSetValueExW(key_, name_, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                             sizeof old_);
        else
            ::RegDeleteValueW(key_, name_);
        ::RegCloseKey(key_);
    }
    NumberSetting(const NumberSetting&) = delete;
    NumberSetting& operator=(const NumberSetting&) = delete;

  private:
    HKEY key_ = nullptr;
    const wchar_t* name_;
    DWORD old_ = 0;
    bool had_ = false;
};

// The checker started with the prefix as it is now, its window shown and painted.
struct Running {
    ChildProcess app{L"\"" + ProductExe(L"Skelvane.exe") + L"\""};
    HWND window = FindProcessWindow(app.id(), kClass, 20000);

    explicit operator bool() const { return window != nullptr; }
    Shot Painted() const {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        ::Sleep(700);
        return Capture(window);
    }
    ~Running() {
        if (window) ::PostMessageW(window, WM_CLOSE, 0, 0);
        app.Wait(10000);
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
        if (item.id == ControlId::lblOS) {
            EXPECT_EQ(place.left + place.width, table.left + table.width) << dpi;
            EXPECT_EQ(place.top, table.top) << dpi;
            EXPECT_GE(place.left, table.left) << dpi;
        } else {
            EXPECT_EQ(place, table) << item.name << " " << dpi;
        }
    }
}

// Dark window, white text: every caption stands out from what is behind it, and no status
// picture sits on a box of another colour (its last row and column show the background).
TEST(Screen, DarkSchemeIsReadable) {
    RegistryValueGuard window(kCurrentUser, L"Control Panel\\Colors", L"Window");
    RegistryValueGuard text(kCurrentUser, L"Control Panel\\Colors", L"WindowText");
    window.Set(L"0 0 0");
    text.Set(L"255 255 255");
    Running app;
    ASSERT_TRUE(app);
    const Shot shot = app.Painted();
    ASSERT_FALSE(shot.pixels.empty());
    constexpr Colour black = 0;
    EXPECT_EQ(shot.at(shot.width - 2, shot.height - 2), black);
    for (ControlId id : kCaptions) {
        const PixelRect r = PlaceOf(app.window, id);
        EXPECT_GE(shot.BestContrast(r, black), kReadableContrast) << LayoutOf(id).name;
        EXPECT_GE(shot.Ink(r, black, kReadableContrast).width, 3) << LayoutOf(id).name;
    }
    for (ControlId id : kStatusBoxes) {
        const PixelRect r = PlaceOf(app.window, id);
        // (The row below is the next box's first.)
        for (int x = r.left; x < r.left + r.width; ++x)
            EXPECT_EQ(shot.at(x, r.top + r.height - 2), black) << LayoutOf(id).name << " " << x;
        for (int y = r.top; y < r.top + r.height - 1; ++y)
            EXPECT_EQ(shot.at(r.left + r.width - 1, y), black) << LayoutOf(id).name << " " << y;
        EXPECT_GE(shot.BestContrast(r, black), kReadableContrast) << LayoutOf(id).name;
    }
}

// At each DPI: the window's size, every control's place from the table, the OS label at
// least a space after the heading's text as the font measures it, and a status picture
// (the question mark) and the logo as much taller than at 96 DPI as the text is.
TEST(Screen, ScalesWithTheSystemDpi) {
    std::map<int, PixelRect> question, logo;
    for (int dpi : {96, 120, 144, 168, 192, 240}) {
        const NumberSetting setting(L"Control Panel\\Desktop", L"LogPixels", dpi);
        Running app;
        ASSERT_TRUE(app) << dpi;
        const Shot shot = app.Painted();
        ExpectLaidOutFor(app.window, dpi);
        question[dpi] = shot.Ink(PlaceOf(app.window, ControlId::picSmartCard), kWhite);
        PixelRect logoBox = PlaceOf(app.window, ControlId::Picture1); // above the first row
        logoBox.height = PlaceOf(app.window, kStatusBoxes[0]).top - logoBox.top;
        logo[dpi] = shot.Ink(logoBox, kWhite);

        // The heading's text as the window's font measures it: of the sizes it may choose
        // (6 to 8 points), the smallest whose text is as wide as the text drawn.
        const PixelRect heading = PlaceOf(app.window, ControlId::Label2);
        const PixelRect drawn = shot.Ink(heading, kWhite, 2.0);
        const std::wstring_view caption = LayoutOf(ControlId::Label2).caption;
        const client_dc dc(nullptr);
        SIZE text{}, space{};
        for (int pixels = ::MulDiv(6, dpi, 72); pixels <= ::MulDiv(8, dpi, 72); ++pixels) {
            const unique_gdi font(::CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                                DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg"));
            const selected_object selected(dc.get(), font.get());
            ::GetTextExtentPoint32W(dc.get(), caption.data(), static_cast<int>(caption.size()),
                                    &text);
            ::GetTextExtentPoint32W(dc.get(), L" ", 1, &space);
            if (text.cx >= drawn.left + drawn.width - heading.left) break;
        }
        const PixelRect label = PlaceOf(app.window, ControlId::lblOS);
        const int textRight = heading.left + text.cx;
        EXPECT_GE(label.left - textRight, space.cx) << dpi;
        std::printf("%3d DPI: question mark %d px high, logo %d px (from row %d); heading ends at "
                    "%d (drawn "
                    "%d), OS label at %d: %d px apart, a space is %ld\n",
                    dpi, question[dpi].height, logo[dpi].height, logo[dpi].top, textRight,
                    drawn.left + drawn.width, label.left, label.left - textRight, space.cx);
    }
    // The logo within two pixels: its anti-aliased rim adds a faint row at 96 DPI.
    for (const auto& [dpi, ink] : question) {
        EXPECT_NEAR(ink.height, question[96].height * dpi / 96.0, 1.0) << dpi;
        EXPECT_NEAR(logo[dpi].height, logo[96].height * dpi / 96.0, 2.0) << dpi;
    }
}

// Moved to a display of 144 DPI (sent as Windows sends it, the suggested frame in the
// checker's own memory): the frame it was given, everything laid out for 144 DPI, the
// pictures made for 150 %, and the tooltip's width scaled.
TEST(Screen, FollowsADpiChange) {
    Running app;
    ASSERT_TRUE(app);
    const PixelRect before =
        app.Painted().Ink(PlaceOf(app.window, ControlId::picSmartCard), kWhite);
    for (const DWORD start = ::GetTickCount();
         WindowText(Item(app.window, kStatusBoxes[0])) == kNotCheckedText &&
         ::GetTickCount() - start < 20000;)
        ::Sleep(20);
    HWND tooltip = TooltipOf(app.app.id());
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
    const PixelRect after = app.Painted().Ink(PlaceOf(app.window, ControlId::picSmartCard), kWhite);
    EXPECT_NEAR(after.height, before.height * 1.5, 1.0);
    EXPECT_EQ(::SendMessageW(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), ::MulDiv(400, dpi, 96));
    std::printf("question mark %d px high at 96 DPI, %d px after the move to %d DPI\n",
                before.height, after.height, dpi);
}

} // namespace
} // namespace skelvane::test
