// Every row within reach: each status box takes the keyboard focus in the layout's tab
// order, shows a focus frame and its tooltip while it has it, and its row's menu (a
// right-click on the box or its caption, Shift+F10 or the menu key on the box) offers the
// row's action first, where its step has one.
#include "app/frmMain.h"

#include "app/check_table.h"
#include "app/status_text.h"

#include <commctrl.h>

#include <algorithm>

namespace skelvane {

namespace {

// The tooltip's tool for the focused box; the boxes' own tools are their windows.
constexpr UINT_PTR kFocusTool = 1;

TOOLINFOW FocusTool(HWND window) {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = window;
    tool.uId = kFocusTool;
    return tool;
}

} // namespace

void frmMain::WatchFocus(HWND box) {
    ::SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (const auto system = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
            box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frmMain::BoxProcedure))))
        staticProcedure_ = system; // the system's, the same for every box
}

LRESULT CALLBACK frmMain::BoxProcedure(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<frmMain*>(::GetWindowLongPtrW(box, GWLP_USERDATA));
    if (!self || !self->staticProcedure_) return ::DefWindowProcW(box, msg, wParam, lParam);
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) {
        try { // nothing may unwind through the system's frames
            self->OnBoxFocus(box, msg == WM_SETFOCUS);
        } catch (...) {
        }
    }
    return ::CallWindowProcW(self->staticProcedure_, box, msg, wParam, lParam);
}

int frmMain::RowOf(HWND box) const {
    for (std::size_t row = 0; row < std::size(kStatusBoxes); ++row)
        if (box && Control(kStatusBoxes[row]) == box) return static_cast<int>(row);
    return -1;
}

std::wstring frmMain::RowTip(std::size_t row) const {
    std::wstring tip = TipText(results_[row], actions_[row].caption);
    if (startFailed_[row])
        tip += L"\r\n" + std::wstring(actions_[row].caption) + L": it could not be opened.";
    return tip;
}

// The focused box shows the tip a hover shows, beside it, until it loses the focus.
void frmMain::OnBoxFocus(HWND box, bool focused) {
    if (!hwnd_) return;
    ::InvalidateRect(box, nullptr, FALSE); // the focus frame comes or goes
    TOOLINFOW tool = FocusTool(hwnd_);
    const int row = RowOf(box);
    if (tooltip_) {
        ::SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    if (!focused || row < 0 || static_cast<std::size_t>(row) >= results_.size()) return;
    HWND tooltip = Tooltip();
    if (!tooltip) return;
    std::wstring tip = RowTip(row);
    tool.lpszText = tip.data(); // the tooltip keeps a copy
    ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    RECT r;
    ::GetWindowRect(box, &r);
    const int gap = ::MulDiv(4, dpi_, 96);
    ::SendMessageW(tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(r.right + gap, r.top));
    ::SendMessageW(tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

// A frame in the text colour, which reads on the background in every scheme, a pixel wide
// per 96 DPI; within what the box paints itself, not what it leaves to the box below.
void frmMain::DrawFocusFrame(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem != ::GetFocus() || RowOf(item.hwndItem) < 0) return;
    RECT frame, painted;
    if (::GetClipBox(item.hDC, &painted) == ERROR ||
        !::IntersectRect(&frame, &item.rcItem, &painted))
        return;
    const unique_gdi brush(::CreateSolidBrush(look_.Text()));
    for (int width = std::max(1, (dpi_ + 48) / 96); width > 0 && brush; --width) {
        ::FrameRect(item.hDC, &frame, static_cast<HBRUSH>(brush.get()));
        ::InflateRect(&frame, -1, -1);
    }
}

// The row whose menu opens: from the keyboard the focused box's, from the mouse the one
// whose box or caption is under the pointer. Its action, where the row has one, heads the
// menu.
std::wstring_view frmMain::RowMenuAction(POINT at, bool fromKeyboard) {
    menuRow_ = -1;
    for (std::size_t row = 0; row < results_.size() && menuRow_ < 0; ++row) {
        const HWND box = Control(kCheckRows[row].box);
        RECT boxPlace, captionPlace;
        ::GetWindowRect(box, &boxPlace);
        ::GetWindowRect(Control(kCheckRows[row].label), &captionPlace);
        if (fromKeyboard ? ::GetFocus() == box
                         : ::PtInRect(&boxPlace, at) || ::PtInRect(&captionPlace, at))
            menuRow_ = static_cast<int>(row);
    }
    return menuRow_ < 0 ? std::wstring_view() : actions_[menuRow_].caption;
}

// No message box: a start that fails says so in the row's tooltip; one the user declined
// at the elevation prompt says nothing.
void frmMain::StartRowAction() {
    if (sequence_ != Sequence::Done || menuRow_ < 0 ||
        static_cast<std::size_t>(menuRow_) >= results_.size())
        return;
    const std::size_t row = menuRow_;
    if (StartAction(hwnd_, actions_[row]) || ::GetLastError() == ERROR_CANCELLED || !tooltip_)
        return;
    startFailed_[row] = true;
    std::wstring tip = RowTip(row);
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(kStatusBoxes[row]));
    tool.lpszText = tip.data();
    ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace skelvane
