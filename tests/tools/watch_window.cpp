// Watches a running checker window from outside: waits until its checks have
// finished (Close enabled), prints each row's result and the system's description,
// and with --close presses Close. Used by scripts/run; not part of the product.
#include "app/layout.h"
#include "app/check_table.h"
#include "app/status_text.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <cwchar>

namespace {

std::wstring Text(HWND hwnd) {
    wchar_t text[512] = {};
    ::GetWindowTextW(hwnd, text, 512);
    return text;
}

HWND Item(HWND window, skelvane::ControlId id) {
    return ::GetDlgItem(window, static_cast<int>(id));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace skelvane;
    const bool close = argc > 1 && std::wcscmp(argv[1], L"--close") == 0;
    const DWORD start = ::GetTickCount();
    HWND window = nullptr;
    while (!(window = ::FindWindowW(L"SkelvaneMain", nullptr)) && ::GetTickCount() - start < 60000)
        ::Sleep(100);
    if (!window) {
        std::fputs("no checker window found\n", stderr);
        return 2;
    }
    if (close) {
        ::PostMessageW(window, WM_COMMAND,
                       MAKEWPARAM(static_cast<int>(ControlId::cmdClose), BN_CLICKED),
                       reinterpret_cast<LPARAM>(Item(window, ControlId::cmdClose)));
        return 0;
    }
    while (::IsWindow(window) && !::IsWindowEnabled(Item(window, ControlId::cmdClose))) {
        if (::GetTickCount() - start > 300000) {
            std::fputs("the checks did not finish in 5 minutes\n", stderr);
            return 3;
        }
        ::Sleep(100);
    }
    for (const ControlId box : kStatusBoxes) // each names its row, its verdict and why
        std::printf("%ls\n", Text(Item(window, box)).c_str());
    std::printf("%-40ls %ls\n", L"(system description)",
                Text(Item(window, ControlId::lblOS)).c_str());
    return 0;
}
