#include "app/frmMain.h"

#include "app/check_table.h"
#include "app/context_menu.h"
#include "app/status_text.h"
#include "app/window_layout.h"
#include "common/deadline.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace skelvane {

namespace {

constexpr wchar_t kClassName[] = L"SkelvaneMain";
constexpr UINT WM_APP_STARTCHECKS = WM_APP + 1;
constexpr UINT WM_DPICHANGED_ = 0x02E0; // Windows 8.1 and later
constexpr DWORD kPauseMs = 1000;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
const wchar_t* const kWaitCursor = MAKEINTRESOURCEW(32514);  // IDC_WAIT
const wchar_t* const kArrowCursor = MAKEINTRESOURCEW(32512); // IDC_ARROW

bool IsStatusBox(ControlId id) {
    return std::ranges::find(kStatusBoxes, id) != std::end(kStatusBoxes);
}

// Input that waits out a check: the mouse in the client area and the keyboard, except
// the system keys (Alt+F4, the window menu), which belong to the title bar.
bool IsHeldInput(const MSG& msg) {
    const bool mouse = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST;
    const bool keys = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST &&
                      msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSKEYUP &&
                      msg.message != WM_SYSCHAR;
    return mouse || keys;
}

} // namespace

int frmMain::Run(HINSTANCE instance, int showCommand) {
    ::InitCommonControls(); // registers the version 6 control classes the manifest asks for
    if (!Create(instance)) return 1;
    // Started on a display whose DPI is not the system's: Windows sends no DPI change for
    // that, so the window lays itself out for that display before it shows.
    if (const int dpi = DisplayDpi(hwnd_); dpi > 0 && dpi != dpi_) {
        RECT frame;
        OnDpiChanged(dpi, FrameAtDpi(hwnd_, dpi, kWindowStyle, frame) ? &frame : nullptr);
    }
    shortcuts_ = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    ::ShowWindow(hwnd_, showCommand);
    ::UpdateWindow(hwnd_);
    // A window started minimized or behind another program's is not activated; the
    // checks must still run once, so they are queued here as well as on activation.
    QueueChecks();

    MSG msg{};
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) > 0)
        Dispatch(msg);
    return got == 0 ? static_cast<int>(msg.wParam) : 1; // -1: the queue itself failed
}

bool frmMain::Create(HINSTANCE instance) {
    instance_ = instance;
    dpi_ = ScreenDpi();
    WNDCLASSEXW wc{};
    wc.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_SKELVANE), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXICON),
                                               ::GetSystemMetrics(SM_CYICON), LR_SHARED));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_SKELVANE),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = ::LoadCursorW(nullptr, kArrowCursor);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    if (!Register(instance, wc)) return false;

    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi_),
               TwipsToPixels(kClientHeightTwips, dpi_)};
    ::AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    return BaseWindow::Create(instance, kClassName, std::wstring(kWindowCaption).c_str(),
                              kWindowStyle, frame.right - frame.left, frame.bottom - frame.top);
}

LRESULT frmMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        CreateControls();
        sequence_ = Sequence::Loaded;
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) QueueChecks();
        break;
    case WM_APP_STARTCHECKS:
        OnStartChecks();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
        OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(hwnd_, &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, look_.Background());
        return TRUE;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        RefreshLook();
        break;
    case WM_DPICHANGED_:
        OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor()) return TRUE;
        break;
    case WM_CONTEXTMENU:
        if (OnContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) return 0;
        break;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return Default(msg, wParam, lParam);
}

void frmMain::CreateControls() {
    look_.Refresh(instance_, dpi_);
    font_ = ChooseFont(hwnd_, dpi_);
    HGDIOBJ font = font_ ? font_.get() : ::GetStockObject(DEFAULT_GUI_FONT);

    // Created in tab order, so the dialog manager tabs through them in that order.
    for (const ControlLayout* item : CreationOrder()) {
        const wchar_t* windowClass = L"STATIC";
        DWORD style =
            WS_CHILD | (item->visible ? WS_VISIBLE : 0) | (item->enabled ? 0 : WS_DISABLED);
        std::wstring text{item->caption};
        switch (item->kind) {
        case ControlKind::Label:
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case ControlKind::PictureBox:
            style |= SS_OWNERDRAW;
            if (IsStatusBox(item->id)) {
                style |= SS_NOTIFY | WS_TABSTOP; // its tooltip shows for the mouse and the keys
                text = kNotCheckedText;          // read by screen readers
            }
            break;
        case ControlKind::CommandButton:
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::Hidden:
            continue;
        }
        const PixelRect r = ToPixels(item->place, dpi_);
        HWND control = ::CreateWindowExW(
            0, windowClass, text.c_str(), style, r.left, r.top, r.width, r.height, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(item->id)), instance_, nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        controls_[static_cast<int>(item->id) - 1] = control;
        if (IsStatusBox(item->id)) WatchFocus(control);
        Picture(item->id) = item->image;
    }
    PlaceOsLabel(hwnd_, dpi_, font);
}

// Moved to a display of another DPI (Windows 10 and 11): everything laid out again from the
// table, with fonts and pictures for the new DPI, in the frame Windows suggests.
void frmMain::OnDpiChanged(int dpi, const RECT* suggested) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    unique_gdi font = ChooseFont(hwnd_, dpi_);
    PlaceControls(hwnd_, dpi_, font ? font.get() : ::GetStockObject(DEFAULT_GUI_FONT));
    font_ = std::move(font); // the old one only once no control draws with it
    if (tooltip_) ScaleTooltip(tooltip_, dpi_, tooltipFont_);
    if (suggested)
        ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    RefreshLook();
}

// The system's colours or the DPI changed: new colours and pictures, the whole window
// repainted in them.
void frmMain::RefreshLook() {
    look_.Refresh(instance_, dpi_);
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// One tooltip for the status boxes, made with the first result (not at start-up, where
// nothing needs it yet); each box joins it when its result is known.
HWND frmMain::Tooltip() {
    if (!tooltip_) {
        tooltip_ =
            ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr);
        if (tooltip_) ScaleTooltip(tooltip_, dpi_, tooltipFont_);
    }
    return tooltip_;
}

// Only the first request starts the checks; they run from the queue so the window has
// finished showing itself first.
void frmMain::QueueChecks() {
    if (sequence_ != Sequence::Loaded) return;
    sequence_ = Sequence::Queued;
    menuWaits_ = 0;
    ::PostMessageW(hwnd_, WM_APP_STARTCHECKS, 0, 0);
}

// Any program can post this message, so it carries nothing and starts only the run
// QueueChecks queued, once: a copy that comes during the run (and would run the checks
// again inside its waits) or after it (over the last results) does nothing.
void frmMain::OnStartChecks() {
    if (sequence_ != Sequence::Queued) return;
    // Run from inside a menu's loop, the checks would hold that menu open and frozen: the
    // menu is closed first, and the start waits in the queue behind the loop's end.
    if (menuWaits_ < 10 && EndOpenMenu()) {
        ++menuWaits_;
        return (void)::PostMessageW(hwnd_, WM_APP_STARTCHECKS, 0, 0);
    }
    sequence_ = Sequence::Running; // before the first wait, which handles what is posted
    if (!DoEvents()) return;       // paint the initial state before anything blocks
    RunChecks();
}

void frmMain::RunChecks() {
    ::SetCursor(::LoadCursorW(nullptr, kWaitCursor));
    const WindowsFamily family = ThisWindows();
    results_.reserve(std::size(kCheckRows));
    for (const CheckRow& row : kCheckRows) {
        if (!Pause(kPauseMs)) return;
        ShowRow(row, RunCheckRow(*this, row, family, StepReader::Window));
        // A close from the title bar is handled here too; once the window is gone the
        // sequence stops instead of touching controls that no longer exist.
        if (!DoEvents()) return;
    }
    ::GetLocalTime(&checkedAt_);
    sequence_ = Sequence::Done;
    POINT cursor;
    if (::GetCursorPos(&cursor)) ::SetCursorPos(cursor.x, cursor.y); // refresh the pointer now
    ::EnableWindow(Control(ControlId::cmdClose), TRUE);
    // The one control that can act now takes the focus: a screen reader announces it and
    // Enter presses it, so nobody has to search for the way out.
    ::SetFocus(Control(ControlId::cmdClose));
}

// The box takes the picture the hidden tick or cross box holds. Its text says the row, the
// verdict, the reason and the next step to screen readers; the tooltip shows the last two.
// Both name the row's action, where this computer has its place.
void frmMain::ShowRow(const CheckRow& row, const ReportRow& result) {
    if (!hwnd_) return; // closed while the check ran: nothing is left to show it in
    if (row.box == ControlId::picOs) SetLabelText(ControlId::lblOS, os().description);
    HWND box = Control(row.box);
    Picture(row.box) = Picture(result.result.passed ? ControlId::picTick : ControlId::picCross);
    const std::size_t index = results_.size();
    actions_[index] = ReadyActionFor(result.result.kind, ThisWindows());
    ::SetWindowTextW(box, StatusText(result, actions_[index].caption).c_str());
    ::InvalidateRect(box, nullptr, TRUE);
    results_.push_back(result);
    if (HWND tooltip = Tooltip()) {
        const std::wstring tip = RowTip(index);
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE; // the size every version of the control knows
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(box);
        tool.lpszText = const_cast<wchar_t*>(tip.c_str()); // the tooltip keeps a copy
        ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// The pause before a check: at least a second, in which the window still paints and
// answers.
bool frmMain::Pause(DWORD ms) {
    return WaitWhileBusy(nullptr, ms) != WaitEnd::WindowGone;
}

WaitEnd frmMain::WaitForFetch(void* finished, unsigned ms) {
    return WaitWhileBusy(finished, ms);
}

// Waits for `finished` (or only the time, without it) while the window keeps painting
// and answering the system, so it never looks frozen. What the user clicks or types in
// it meanwhile is not acted on; the title bar still works, so the window can be moved
// and closed. The event is looked at before every verdict: dispatching may run a modal
// loop (the title bar held, the window menu open) that outlasts the time.
WaitEnd frmMain::WaitWhileBusy(HANDLE finished, DWORD ms) {
    const Deadline deadline(ms);
    for (;;) {
        if (!hwnd_) return WaitEnd::WindowGone;
        if (finished && ::WaitForSingleObject(finished, 0) == WAIT_OBJECT_0)
            return WaitEnd::Finished;
        const DWORD left = deadline.Remaining();
        if (left == 0) return WaitEnd::TimedOut;
        if (::MsgWaitForMultipleObjects(finished ? 1 : 0, &finished, FALSE, left, QS_ALLINPUT) ==
            WAIT_FAILED)
            ::Sleep(10);                                     // never spin
        if (!PumpMessages(true)) return WaitEnd::WindowGone; // the program is to quit
    }
}

bool frmMain::DoEvents() {
    PumpMessages(false);
    return hwnd_ != nullptr;
}

// Handles every message already queued, dropping what a running check waits out
// (IsHeldInput) when asked.
// False once the window is gone or the program is to quit; the quit is left queued for
// the main loop.
bool frmMain::PumpMessages(bool holdInput) {
    MSG msg;
    while (hwnd_ && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (!holdInput || !IsHeldInput(msg)) Dispatch(msg);
    }
    return hwnd_ != nullptr;
}

// The shortcuts (Ctrl+C) first, then the dialog manager's Tab and Enter handling.
void frmMain::Dispatch(MSG& msg) {
    if (hwnd_ && shortcuts_ && ::TranslateAcceleratorW(hwnd_, shortcuts_, &msg)) return;
    if (hwnd_ && ::IsDialogMessageW(hwnd_, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void frmMain::OnCommand(int id, int code) {
    if (id == IDM_COPY_RESULTS) return CopyResults();
    if (id == IDM_CHECK_AGAIN) return CheckAgain();
    if (id == IDM_ROW_ACTION) return StartRowAction();
    const HWND close = Control(ControlId::cmdClose);
    const bool clicked = id == static_cast<int>(ControlId::cmdClose) && code == BN_CLICKED;
    // Enter reaches a plain window as IDOK; it presses Close only when Close has the focus.
    const bool enter = id == IDOK && close && ::GetFocus() == close;
    if ((clicked || enter) && ::IsWindowEnabled(close)) ::DestroyWindow(hwnd_);
}

// The client area's menu, once the checks are done; the title bar keeps the system's
// menu throughout, the run included. From the keyboard (Shift+F10, the menu key) the
// point is (-1, -1): the menu then opens at the control that has the focus.
bool frmMain::OnContextMenu(POINT at) {
    RECT client;
    ::GetClientRect(hwnd_, &client);
    ::MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const bool fromKeyboard = at.x == -1 && at.y == -1;
    if (!fromKeyboard && !::PtInRect(&client, at)) return false;
    if (sequence_ != Sequence::Done) return true; // nothing to offer yet; the key is held
    if (fromKeyboard) {
        RECT focus = client;
        if (HWND focused = ::GetFocus()) ::GetWindowRect(focused, &focus);
        at = {focus.left + (focus.right - focus.left) / 2,
              focus.top + (focus.bottom - focus.top) / 2};
    }
    ShowResultsMenu(hwnd_, at, RowMenuAction(at, fromKeyboard));
    return true;
}

LRESULT frmMain::OnCtlColorStatic(HDC dc, HWND control) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, control == Control(ControlId::lblOS) ? look_.OsLabel() : look_.Text());
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

void frmMain::OnDrawItem(const DRAWITEMSTRUCT& item) {
    LeaveSharedRowsBelow(item.hDC, static_cast<ControlId>(item.CtlID), dpi_);
    look_.Draw(item.hDC, item.rcItem, Picture(static_cast<ControlId>(item.CtlID)));
    DrawFocusFrame(item);
}

bool frmMain::OnSetCursor() {
    if (sequence_ != Sequence::Running) return false;
    ::SetCursor(::LoadCursorW(nullptr, kWaitCursor));
    return true;
}

void frmMain::SetLabelText(ControlId label, const std::wstring& text) {
    HWND control = Control(label);
    ::SetWindowTextW(control, text.c_str());
    // The label is transparent: repaint the window beneath it so the old text goes.
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    ::RedrawWindow(hwnd_, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace skelvane
