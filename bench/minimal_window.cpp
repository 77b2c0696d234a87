// The smallest useful Win32 window program, built like Skelvane.exe: the yardstick
// for start-up time and memory. Built with MINIMAL_CONTROLS=n it also makes n plain
// child controls, as many as the checker's window has, to show what they cost.
#include <windows.h>

namespace {
LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"MinimalWindow";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowW(L"MinimalWindow", L"Minimal",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                CW_USEDEFAULT, 420, 260, nullptr, nullptr, instance, nullptr);
#ifdef MINIMAL_CONTROLS
    for (int i = 0; i < MINIMAL_CONTROLS; ++i)
        ::CreateWindowW(i == 0 ? L"BUTTON" : L"STATIC", L"text", WS_CHILD | WS_VISIBLE, 10, 12 * i,
                        60, 12, hwnd, nullptr, instance, nullptr);
#endif
    ::ShowWindow(hwnd, show);
    ::UpdateWindow(hwnd);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
