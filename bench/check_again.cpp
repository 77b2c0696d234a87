// Starts the checker, waits for its first run to end, presses F5 and times how long the
// second run takes, from the key to Close enabled again. Prints milliseconds, median of N
// (at least the six one-second pauses each).
//   check_again.exe PROGRAM [RUNS]
#include "app/layout.h"
#include "tests/wine/support.h"
#include "tests/wine/window_driver.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    using namespace skelvane;
    if (argc < 2) return 2;
    const int runs =
        argc > 2 ? std::max(1, static_cast<int>(std::wcstol(argv[2], nullptr, 10))) : 3;
    test::ChildProcess app(L"\"" + std::wstring(argv[1]) + L"\"");
    HWND window = test::FindProcessWindow(app.id(), test::kMainClass, 20000);
    if (!window) return 1;
    ::SetForegroundWindow(window);
    HWND close = test::Item(window, ControlId::cmdClose);
    std::vector<double> took;
    for (int run = 0; run <= runs; ++run) {
        const double start = test::NowMs();
        if (run > 0) test::Press({VK_F5});
        // Close goes disabled as soon as the key is taken, and enabled again at the end.
        if (run > 0 && ::IsWindowEnabled(close)) {
            std::fputs("F5 did not start the checks again\n", stderr);
            return 3;
        }
        for (const DWORD since = ::GetTickCount();
             !::IsWindowEnabled(close) && ::GetTickCount() - since < 120000;)
            ::Sleep(1);
        if (run > 0) took.push_back(test::NowMs() - start);
    }
    std::sort(took.begin(), took.end());
    std::printf("%.0f %.0f %.0f\n", took.front(), took[took.size() / 2], took.back());
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    app.Wait(5000);
    return 0;
}
