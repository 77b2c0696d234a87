#include "window_driver.h"

#include "app/check_table.h"
#include "app/row_action_start.h"
#include "app/status_text.h"
#include "support.h"

#include <oleacc.h>

#include <cwchar>
#include <string>

namespace skelvane::test {

double NowMs() {
    LARGE_INTEGER now{}, frequency{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::vector<Change> WatchRun(HWND window, DWORD timeoutMs) {
    std::vector<Change> changes;
    std::wstring last[std::size(kStatusBoxes)];
    for (auto& t : last)
        t = kNotCheckedText;
    const double start = NowMs();
    for (double previous = 0; ::IsWindow(window) && NowMs() - start < timeoutMs;) {
        const double polled = NowMs() - start;
        // Close is enabled only after the last row shows: looked at before the texts, so
        // the poll that sees it enabled also reads that row.
        const bool done = ::IsWindowEnabled(Item(window, ControlId::cmdClose));
        std::wstring texts[std::size(kStatusBoxes)];
        for (std::size_t row = 0; row < std::size(kStatusBoxes); ++row)
            texts[row] = WindowText(Item(window, kStatusBoxes[row]));
        const double read = NowMs() - start;
        for (std::size_t row = 0; row < std::size(kStatusBoxes); ++row)
            if (texts[row] != last[row]) {
                changes.push_back({row, texts[row], previous, read});
                last[row] = texts[row];
            }
        if (done) break;
        previous = polled;
        ::Sleep(1);
    }
    return changes;
}

void Press(std::initializer_list<WORD> keys) {
    std::vector<INPUT> input;
    auto add = [&](WORD key, DWORD flags) {
        INPUT one{};
        one.type = INPUT_KEYBOARD;
        one.ki.wVk = key;
        one.ki.dwFlags = flags;
        input.push_back(one);
    };
    for (WORD key : keys)
        add(key, 0);
    for (auto it = keys.end(); it != keys.begin();)
        add(*--it, KEYEVENTF_KEYUP);
    ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    ::Sleep(300);
}

// The tooltip answers WM_GETTEXT with the last tip it showed, so only a visible one counts.
std::wstring ShownTipText(DWORD processId) {
    HWND tip = FindProcessWindow(processId, L"tooltips_class32", 5000);
    for (const DWORD start = ::GetTickCount(); tip && ::GetTickCount() - start < 3000;
         ::Sleep(50)) {
        wchar_t buffer[1024] = {};
        DWORD_PTR length = 0;
        ::SendMessageTimeoutW(tip, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL,
                              1000, &length);
        if (buffer[0] && ::IsWindowVisible(tip)) return buffer;
    }
    return {};
}

std::wstring HoverText(HWND control, DWORD processId) {
    RECT r;
    ::GetWindowRect(control, &r);
    ::SetCursorPos(r.left + 2, r.top + 2);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const std::wstring text = ShownTipText(processId);
    ::SetCursorPos(0, 0); // away, so the tip hides before the next one
    ::Sleep(400);
    return text;
}

namespace {

void ClickAt(int x, int y, DWORD down, DWORD up) {
    ::SetCursorPos(x, y);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = down;
    click[1].mi.dwFlags = up;
    ::SendInput(2, click, sizeof(INPUT));
}

} // namespace

void RightClickAt(int x, int y) {
    ClickAt(x, y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

// Asked from another process, the system may leave the foreground where it is (another
// program's window just took it, or the machine is slow to pass it on): asked again, and
// now and then the title bar clicked, as a user would.
bool BringToFront(HWND window) {
    for (int attempt = 0; attempt < 40; ++attempt) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
        if (info.hwndActive == window && info.hwndFocus) return true;
        RECT r;
        if (attempt % 10 == 9 && ::GetWindowRect(window, &r))
            ClickAt(r.left + 40, r.top + ::GetSystemMetrics(SM_CYFRAME) + 4, MOUSEEVENTF_LEFTDOWN,
                    MOUSEEVENTF_LEFTUP);
        else
            ::SetForegroundWindow(window);
        ::Sleep(100);
    }
    return false;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// What failed shows in place of the name, so a test's failure says where.
std::wstring AccessibleName(HWND control) {
    ::CoInitialize(nullptr);
    IAccessible* accessible = nullptr;
    HRESULT result = ::AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
                                                  reinterpret_cast<void**>(&accessible));
    if (FAILED(result)) return L"(no accessible object: " + std::to_wstring(result) + L")";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    result = accessible->get_accName(self, &text);
    std::wstring name = text ? text : L"(no name: " + std::to_wstring(result) + L")";
    ::SysFreeString(text);
    accessible->Release();
    return name;
}

std::wstring ShownStatus(const ReportRow& row) {
    return StatusText(row, ReadyActionFor(row.result.kind, ThisWindows()).caption);
}

std::wstring ShownTip(const ReportRow& row) {
    return TipText(row, ReadyActionFor(row.result.kind, ThisWindows()).caption);
}

std::wstring Clipboard() {
    std::wstring text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT))
        if (const auto* at = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = at;
            ::GlobalUnlock(data);
        }
    ::CloseClipboard();
    return text;
}

void EmptyClipboard() {
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
}

std::wstring CopyResults(LocalTime& when) {
    EmptyClipboard();
    Press({VK_CONTROL, 'C'});
    const std::wstring copied = Clipboard();
    const std::size_t at = copied.rfind(L"Checked: ");
    when = {};
    if (at != std::wstring::npos)
        std::swscanf(copied.c_str() + at, L"Checked: %d-%d-%d %d:%d:%d", &when.year, &when.month,
                     &when.day, &when.hour, &when.minute, &when.second);
    return copied;
}

} // namespace skelvane::test
