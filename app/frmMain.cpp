#include "frmMain.h"

#include "../checks/directory_probes.h"
#include "../checks/installer_check.h"
#include "../checks/modOS.h"
#include "../checks/web_check.h"
#include "../resources/resource.h"
#include "status_text.h"

#include <commctrl.h>

#include <algorithm>

namespace skelvane {

namespace {

constexpr wchar_t kClassName[] = L"SkelvaneMain";
constexpr UINT WM_APP_STARTCHECKS = WM_APP + 1;
constexpr DWORD kPauseMs = 1000;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

int ImageResource(Image image) {
    switch (image) {
    case Image::Logo:
        return IDB_LOGO;
    case Image::Placeholder:
        return IDB_PLACEHOLDER;
    case Image::Tick:
        return IDB_TICK;
    case Image::Cross:
        return IDB_CROSS;
    default:
        return 0;
    }
}

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

int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

} // namespace

int frmMain::Run(HINSTANCE instance, int showCommand) {
    ::InitCommonControls(); // registers the version 6 control classes the manifest asks for
    if (!Create(instance)) return 1;
    ::ShowWindow(hwnd_, showCommand);
    ::UpdateWindow(hwnd_);
    // A window started minimized or behind another program's is not activated; the
    // checks must still run once, so they are queued here as well as on activation.
    QueueChecks();

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        Dispatch(msg);
    return static_cast<int>(msg.wParam);
}

bool frmMain::Create(HINSTANCE instance) {
    instance_ = instance;
    dpi_ = ScreenDpi();

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &frmMain::WndProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_SKELVANE), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXICON),
                                               ::GetSystemMetrics(SM_CYICON), LR_SHARED));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_SKELVANE),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    if (!::RegisterClassExW(&wc)) return false;

    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi_),
               TwipsToPixels(kClientHeightTwips, dpi_)};
    ::AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    ::CreateWindowExW(0, kClassName, std::wstring(kWindowCaption).c_str(), kWindowStyle,
                      CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                      frame.bottom - frame.top, nullptr, nullptr, instance, this);
    return hwnd_ != nullptr;
}

LRESULT CALLBACK frmMain::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self =
            static_cast<frmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<frmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->controls_.fill(nullptr);
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->HandleMessage(msg, wParam, lParam);
}

LRESULT frmMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        CreateControls();
        OnLoad();
        return 0;
    case WM_ACTIVATE:
        OnActivate(wParam);
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
    case WM_SETCURSOR:
        if (OnSetCursor()) return TRUE;
        break;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void frmMain::CreateControls() {
    for (const auto& item : kControls) {
        if (item.image == Image::None) continue;
        bitmaps_[static_cast<int>(item.image) - 1].reset(::LoadImageW(
            instance_, MAKEINTRESOURCEW(ImageResource(item.image)), IMAGE_BITMAP, 0, 0, 0));
    }
    ChooseFont();
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
            if (IsStatusBox(item->id)) text = kNotCheckedText; // read by screen readers
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
        if (item->image != Image::None)
            Picture(item->id) =
                static_cast<HBITMAP>(bitmaps_[static_cast<int>(item->image) - 1].get());
    }
}

// The dialog font at 8 points, a pixel smaller at a time (down to 6 points) while
// any caption would not fit its label: the layout gives each caption one line
// (two for Label1), and a substitute font on some systems runs wider.
void frmMain::ChooseFont() {
    HDC dc = ::GetDC(hwnd_);
    for (int pixels = ::MulDiv(8, dpi_, 72), smallest = ::MulDiv(6, dpi_, 72);; --pixels) {
        font_.reset(::CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg"));
        if (!dc || !font_ || pixels <= smallest || CaptionsFit(dc)) break;
    }
    if (dc) ::ReleaseDC(hwnd_, dc);
}

bool frmMain::CaptionsFit(HDC dc) const {
    HGDIOBJ old = ::SelectObject(dc, font_.get());
    SIZE line{};
    ::GetTextExtentPoint32W(dc, L"Ag", 2, &line);
    bool fit = true;
    for (const auto& item : kControls) {
        if (item.kind != ControlKind::Label || item.id == ControlId::lblOS) continue;
        const PixelRect box = ToPixels(item.place, dpi_);
        RECT need{0, 0, box.width, 0};
        ::DrawTextW(dc, item.caption.data(), static_cast<int>(item.caption.size()), &need,
                    DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        const int lines = item.id == ControlId::Label1 ? 2 : 1;
        fit = fit && need.right <= box.width && need.bottom <= box.height &&
              need.bottom <= line.cy * lines;
    }
    ::SelectObject(dc, old);
    return fit;
}

void frmMain::OnLoad() {
    bChecksDone = false;
}

void frmMain::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) QueueChecks();
}

// Only the first request starts the checks; they run from the queue so the window has
// finished showing itself first.
void frmMain::QueueChecks() {
    if (sequence_ != Sequence::Loaded) return; // bChecksDone implies Done
    sequence_ = Sequence::Running;
    ::PostMessageW(hwnd_, WM_APP_STARTCHECKS, 0, 0);
}

void frmMain::OnStartChecks() {
    if (!DoEvents()) return; // paint the initial state before anything blocks
    RunChecks();
    bChecksDone = true;
    sequence_ = Sequence::Done;
}

void frmMain::RunChecks() {
    using Check = void (frmMain::*)();
    struct Step {
        Check run;
        ControlId box;
    };
    static constexpr Step kSteps[] = {
        {&frmMain::CheckAppUrl, ControlId::picInternetApp},
        {&frmMain::CheckDataUrl, ControlId::picInternetData},
        {&frmMain::CheckOs, ControlId::picOs},
        {&frmMain::CheckInstaller, ControlId::picInstaller},
        {&frmMain::CheckDotNet, ControlId::picDotNet},
        {&frmMain::CheckSmartCard, ControlId::picSmartCard},
    };

    busy_ = true;
    ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // IDC_WAIT
    for (const Step& step : kSteps) {
        if (!Pause(kPauseMs)) return;
        try {
            (this->*step.run)();
        } catch (...) {
            // A check that cannot finish has not passed.
            ShowResult(step.box, false);
        }
        // A close from the title bar is handled here; once the window is gone the
        // sequence stops instead of touching controls that no longer exist.
        if (!DoEvents()) return;
    }
    busy_ = false;
    POINT cursor;
    if (::GetCursorPos(&cursor)) ::SetCursorPos(cursor.x, cursor.y); // refresh the pointer now
    ::EnableWindow(Control(ControlId::cmdClose), TRUE);
    ::SetFocus(Control(ControlId::cmdClose));
}

// The pause before a check: a second in which the window still paints and answers.
bool frmMain::Pause(DWORD ms) {
    WaitWhileBusy(nullptr, ms);
    return hwnd_ != nullptr;
}

// Waits for `finished` (or only the time, without it) while the window keeps painting
// and answering the system, so it never looks frozen. What the user clicks or types in
// it meanwhile is not acted on; the title bar still works, so the window can be moved
// and closed. True when `finished` was set; false on time-out or once the window is gone.
bool frmMain::WaitWhileBusy(HANDLE finished, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (hwnd_) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ms) return false;
        const DWORD woke = ::MsgWaitForMultipleObjects(finished ? 1 : 0, &finished, FALSE,
                                                       ms - elapsed, QS_ALLINPUT);
        if (finished && woke == WAIT_OBJECT_0) return true;
        if (woke == WAIT_TIMEOUT) return false;
        if (woke == WAIT_FAILED) ::Sleep(10); // never spin
        MSG msg;
        while (hwnd_ && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam)); // leave it for the main loop
                return false;
            }
            if (!IsHeldInput(msg)) Dispatch(msg);
        }
    }
    return false;
}

bool frmMain::DoEvents() {
    MSG msg;
    while (hwnd_ && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam)); // leave it for the main loop
            break;
        }
        Dispatch(msg);
    }
    return hwnd_ != nullptr;
}

// The dialog manager gives the window Tab and Enter handling.
void frmMain::Dispatch(MSG& msg) {
    if (hwnd_ && ::IsDialogMessageW(hwnd_, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void frmMain::OnCommand(int id, int code) {
    const HWND close = Control(ControlId::cmdClose);
    const bool clicked = id == static_cast<int>(ControlId::cmdClose) && code == BN_CLICKED;
    // Enter reaches a plain window as IDOK; it presses Close only when Close has the focus.
    const bool enter = id == IDOK && close && ::GetFocus() == close;
    if ((clicked || enter) && ::IsWindowEnabled(close)) OnCloseClick();
}

void frmMain::OnCloseClick() {
    ::DestroyWindow(hwnd_);
}

LRESULT frmMain::OnCtlColorStatic(HDC dc, HWND control) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, control == Control(ControlId::lblOS) ? kLblOsTextColour
                                                            : ::GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

void frmMain::OnDrawItem(const DRAWITEMSTRUCT& item) {
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
    const HBITMAP picture = Picture(static_cast<ControlId>(item.CtlID));
    BITMAP info{};
    if (!picture || !::GetObjectW(picture, sizeof info, &info)) return;
    HDC memory = ::CreateCompatibleDC(item.hDC);
    if (!memory) return;
    HGDIOBJ old = ::SelectObject(memory, picture);
    // Unscaled at 96 DPI; at higher DPI only whole multiples, so the pixels stay sharp.
    const int scale = std::max(1, dpi_ / 96);
    ::SetStretchBltMode(item.hDC, COLORONCOLOR);
    ::StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, info.bmWidth * scale,
                 info.bmHeight * scale, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

bool frmMain::OnSetCursor() {
    if (!busy_) return false;
    ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // IDC_WAIT
    return true;
}

void frmMain::OnDestroy() {
    ::PostQuitMessage(0);
}

HBITMAP& frmMain::Picture(ControlId id) {
    return pictures_[static_cast<int>(id) - 1];
}

// The box takes the very bitmap the hidden tick or cross box holds, and says so to screen readers.
void frmMain::ShowResult(ControlId box, bool passed) {
    if (!hwnd_) return; // closed while the check ran: nothing is left to show it in
    Picture(box) = Picture(passed ? ControlId::picTick : ControlId::picCross);
    ::SetWindowTextW(Control(box), passed ? kPassedText : kFailedText);
    ::InvalidateRect(Control(box), nullptr, TRUE);
}

void frmMain::SetLabelText(ControlId label, const std::wstring& text) {
    if (!hwnd_) return;
    HWND control = Control(label);
    ::SetWindowTextW(control, text.c_str());
    // The label is transparent: repaint the window beneath it so the old text goes.
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    ::RedrawWindow(hwnd_, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// --- The six rows -----------------------------------------------------------

void frmMain::CheckAppUrl() {
    ShowResult(ControlId::picInternetApp, TestUrl(AppPageUrl(), kAppPageMarker));
}

void frmMain::CheckDataUrl() {
    ShowResult(ControlId::picInternetData, TestUrl(DataPageUrl(), kDataPageMarker));
}

bool frmMain::TestUrl(const std::wstring& url, const std::wstring& SearchString) {
    return FetchAndSearch(
               url, SearchString, kFetchDeadlineMs,
               [this](void* finished, unsigned ms) { return WaitWhileBusy(finished, ms); })
        .passed;
}

void frmMain::CheckOs() {
    const OsInfo info = modOS::GetOsInfo();
    SetLabelText(ControlId::lblOS, info.description);
    ShowResult(ControlId::picOs, info.ok);
}

void frmMain::CheckInstaller() {
    ShowResult(ControlId::picInstaller, CheckWindowsInstaller().passed);
}

bool frmMain::IsInstallerOK(const std::wstring& Version) {
    return skelvane::IsInstallerOK(Version);
}

void frmMain::CheckDotNet() {
    ShowResult(ControlId::picDotNet, CheckDotNetFramework().passed);
}

void frmMain::CheckSmartCard() {
    ShowResult(ControlId::picSmartCard, CheckReaderTools().passed);
}

std::wstring frmMain::WindowsDirectory() {
    return skelvane::WindowsDirectory();
}

bool frmMain::DirExists(const std::wstring& DirName) {
    return skelvane::DirExists(DirName);
}

} // namespace skelvane
