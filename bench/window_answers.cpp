// Starts the checker and, while its first row waits on a server that never answers,
// asks its window WM_NULL every 20 ms until that row shows its result. Prints how long
// the row took, the longest single answer and the longest gap between two answers.
//   window_answers.exe PROGRAM
#include "app/layout.h"
#include "app/check_table.h"
#include "app/status_text.h"
#include "tests/wine/support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    using namespace skelvane;
    if (argc < 2) return 2;
    test::ChildProcess app(L"\"" + std::wstring(argv[1]) + L"\"");
    HWND window = test::FindProcessWindow(app.id(), L"SkelvaneMain", 20000);
    if (!window) return 1;
    HWND row = ::GetDlgItem(window, static_cast<int>(ControlId::picInternetApp));
    const DWORD start = ::GetTickCount();
    DWORD longestAnswer = 0, longestGap = 0, lastAnswer = start;
    while (test::WindowText(row) == kNotCheckedText && ::GetTickCount() - start < 120000) {
        const DWORD asked = ::GetTickCount();
        DWORD_PTR result = 0;
        if (::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result)) {
            const DWORD now = ::GetTickCount();
            longestAnswer = std::max(longestAnswer, now - asked);
            longestGap = std::max(longestGap, now - lastAnswer);
            lastAnswer = now;
        }
        ::Sleep(20);
    }
    std::printf("%lu %lu %lu\n", ::GetTickCount() - start, longestAnswer, longestGap);
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    app.Wait(5000);
    return 0;
}
