#pragma once
// The client area's right-click menu, and what becomes of a menu left open when the
// checks start.
#include <windows.h>

#include <string_view>

namespace skelvane {

// The results menu at `at` (screen): a row's action first where it has one (`action`, as
// IDM_ROW_ACTION, then a separator), then Copy results and Check again, each with its
// shortcut shown. The chosen item comes to `owner` as WM_COMMAND.
void ShowResultsMenu(HWND owner, POINT at, std::wstring_view action = {});

// Asks a menu this thread has open (the results menu, the title bar's) to close; true
// when there was one. Its loop ends only once the caller has returned to it.
bool EndOpenMenu();

} // namespace skelvane
