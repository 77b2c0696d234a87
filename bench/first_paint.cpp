// Starts a window program N times and measures the time from process start until a
// chosen pixel of its window shows the painted colour (read from the screen with
// BitBlt), and the process's peak working set once it has run for a moment. Prints medians.
//   first_paint.exe PROGRAM WINDOW-CLASS X Y white|blue [RUNS]
#include "tests/wine/support.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

COLORREF ScreenPixel(HWND window, int x, int y) {
    HDC screen = ::GetDC(window);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 1, 1);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, 1, 1, screen, x, y, SRCCOPY);
    const COLORREF c = ::GetPixel(memory, 0, 0);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(window, screen);
    return c;
}

bool Painted(COLORREF c, bool blue) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return blue ? (b > 120 && r < 90 && g < 130) : (r > 240 && g > 240 && b > 240);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace skelvane::test;
    if (argc < 6) return 2;
    const int x = _wtoi(argv[3]), y = _wtoi(argv[4]);
    const bool blue = std::wcscmp(argv[5], L"blue") == 0;
    const int runs = argc > 6 ? _wtoi(argv[6]) : 10;
    std::vector<double> paint, memory;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER frequency, begin, end;
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&begin);
        ChildProcess app(L"\"" + std::wstring(argv[1]) + L"\"");
        HWND window = nullptr;
        while (!(window = FindProcessWindow(app.id(), argv[2], 1))) {
        }
        for (int polls = 0; polls < 20000 && !Painted(ScreenPixel(window, x, y), blue); ++polls)
            ::Sleep(1);
        ::QueryPerformanceCounter(&end);
        paint.push_back(1000.0 * (end.QuadPart - begin.QuadPart) / frequency.QuadPart);
        ::Sleep(500);
        HANDLE process =
            ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.id());
        PROCESS_MEMORY_COUNTERS counters{};
        ::GetProcessMemoryInfo(process, &counters, sizeof counters);
        ::CloseHandle(process);
        memory.push_back(counters.PeakWorkingSetSize / 1024.0);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        app.Wait(10000);
    }
    std::sort(paint.begin(), paint.end());
    std::sort(memory.begin(), memory.end());
    std::printf("%.1f %.0f\n", paint[paint.size() / 2], memory[memory.size() / 2]);
    return 0;
}
