#include "app/context_menu.h"

#include "common/unique_handle.h"
#include "resources/resource.h"

#include <string>

namespace skelvane {

namespace {

struct MenuItem {
    UINT id;
    const wchar_t* caption; // the access key marked, the shortcut after the tab
};

constexpr MenuItem kResultsMenu[] = {
    {IDM_COPY_RESULTS, L"&Copy results\tCtrl+C"},
    {IDM_CHECK_AGAIN, L"Check &again\tF5"},
};

} // namespace

void ShowResultsMenu(HWND owner, POINT at, std::wstring_view action) {
    const unique_menu menu(::CreatePopupMenu());
    if (!menu) return;
    if (!action.empty()) {
        const std::wstring caption = L"&" + std::wstring(action); // every action opens: O
        if (!::AppendMenuW(menu.get(), MF_STRING, IDM_ROW_ACTION, caption.c_str()) ||
            !::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr))
            return;
    }
    for (const MenuItem& item : kResultsMenu)
        if (!::AppendMenuW(menu.get(), MF_STRING, item.id, item.caption)) return;
    ::TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
}

bool EndOpenMenu() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetCurrentThreadId(), &info) || !(info.flags & GUI_INMENUMODE))
        return false;
    ::EndMenu();
    return true;
}

} // namespace skelvane
