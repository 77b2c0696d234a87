#include "app/window_layout.h"

#include "app/dpi.h"
#include "app/layout.h"
#include "common/system_function.h"

#include <commctrl.h>

#include <algorithm>

namespace skelvane {

namespace {

bool CaptionsFit(HDC dc, HGDIOBJ font, int dpi) {
    const selected_object selected(dc, font);
    SIZE line{};
    ::GetTextExtentPoint32W(dc, L"Ag", 2, &line);
    bool fit = true;
    for (const auto& item : kControls) {
        if (item.kind != ControlKind::Label || item.id == ControlId::lblOS) continue;
        const PixelRect box = ToPixels(item.place, dpi);
        RECT need{0, 0, box.width, 0};
        ::DrawTextW(dc, item.caption.data(), static_cast<int>(item.caption.size()), &need,
                    DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        const int lines = item.id == ControlId::Label1 ? 2 : 1;
        fit = fit && need.right <= box.width && need.bottom <= box.height &&
              need.bottom <= line.cy * lines;
    }
    return fit;
}

int TextWidth(HDC dc, std::wstring_view text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

} // namespace

int ScreenDpi() {
    const client_dc screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

int DisplayDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    const auto get = SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    return get ? static_cast<int>(get(window)) : 0;
}

bool FrameAtDpi(HWND window, int dpi, DWORD style, RECT& frame) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjust = SystemFunction<AdjustFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT place;
    if (!adjust || !::GetWindowRect(window, &place)) return false;
    RECT size{0, 0, TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi)};
    if (!adjust(&size, style, FALSE, 0, static_cast<UINT>(dpi))) return false;
    frame = {place.left, place.top, place.left + size.right - size.left,
             place.top + size.bottom - size.top};
    return true;
}

unique_gdi ChooseFont(HWND window, int dpi) {
    const client_dc dc(window);
    unique_gdi font;
    for (int pixels = ::MulDiv(8, dpi, 72), smallest = ::MulDiv(6, dpi, 72);; --pixels) {
        font.reset(::CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg"));
        if (!dc || !font || pixels <= smallest || CaptionsFit(dc.get(), font.get(), dpi)) break;
    }
    return font;
}

void PlaceControls(HWND window, int dpi, HGDIOBJ font) {
    for (const auto& item : kControls) {
        HWND control = ::GetDlgItem(window, static_cast<int>(item.id));
        if (!control) continue;
        const PixelRect r = ToPixels(item.place, dpi);
        ::SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    PlaceOsLabel(window, dpi, font);
}

void PlaceOsLabel(HWND window, int dpi, HGDIOBJ font) {
    const client_dc dc(window);
    if (!dc) return;
    const selected_object selected(dc.get(), font);
    const ControlLayout& heading = LayoutOf(ControlId::Label2);
    const int headingRight =
        ToPixels(heading.place, dpi).left + TextWidth(dc.get(), heading.caption);
    const PixelRect r = OsLabelPlace(ToPixels(LayoutOf(ControlId::lblOS).place, dpi), headingRight,
                                     TextWidth(dc.get(), L" "));
    ::SetWindowPos(::GetDlgItem(window, static_cast<int>(ControlId::lblOS)), nullptr, r.left, r.top,
                   r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void LeaveSharedRowsBelow(HDC dc, ControlId box, int dpi) {
    const PixelRect self = ToPixels(LayoutOf(box).place, dpi);
    for (const auto& other : kControls) {
        const PixelRect o = ToPixels(other.place, dpi);
        if (other.kind != ControlKind::PictureBox || !other.visible || o.top <= self.top) continue;
        const int left = std::max(self.left, o.left),
                  right = std::min(self.left + self.width, o.left + o.width);
        const int top = o.top, bottom = std::min(self.top + self.height, o.top + o.height);
        if (left < right && top < bottom)
            ::ExcludeClipRect(dc, left - self.left, top - self.top, right - self.left,
                              bottom - self.top);
    }
}

void ScaleTooltip(HWND tooltip, int dpi, unique_gdi& font) {
    ::SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, ::MulDiv(400, dpi, 96));
    const int systemDpi = ScreenDpi();
    if (dpi == systemDpi && !font) return; // the tooltip's own font is right
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics; // the size Windows XP knows
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    metrics.lfStatusFont.lfHeight = ::MulDiv(metrics.lfStatusFont.lfHeight, dpi, systemDpi);
    unique_gdi scaled(::CreateFontIndirectW(&metrics.lfStatusFont));
    if (!scaled) return;
    ::SendMessageW(tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(scaled.get()), TRUE);
    font = std::move(scaled); // the old one only after the tooltip has let go of it
}

} // namespace skelvane
