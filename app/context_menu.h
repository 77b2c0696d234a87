#pragma once
// The client area's right-click menu, and what becomes of a menu left open when the
// checks start.
#include <windows.h>

namespace skelvane {

// The results menu at `at` (screen): Copy results and Check again, each with its
// shortcut shown. The chosen item comes to `owner` as WM_COMMAND.
void ShowResultsMenu(HWND owner, POINT at);

// Asks a menu this thread has open (the results menu, the title bar's) to close; true
// when there was one. Its loop ends only once the caller has returned to it.
bool EndOpenMenu();

} // namespace skelvane
