#pragma once
// Driving the checker window from outside its process, as a user would: its controls,
// the run watched row by row, keys pressed, the tooltip hovered, the clipboard read.
#include "app/layout.h"
#include "app/report.h"
#include "support.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace skelvane::test {

inline constexpr wchar_t kMainClass[] = L"SkelvaneMain";

// Milliseconds from the performance counter: the tick count under Wine moves in steps of
// about 16 ms, too coarse to tell a pause of a second from one a step short.
double NowMs();

struct Change {
    std::size_t row;
    std::wstring text;
    // In ms: it came after the start of the poll that missed it (before), and by the end
    // of the one that saw it (at).
    double before, at;
};

// Polls the six status boxes, closely, until Close is enabled; returns every change seen
// from "not checked yet".
std::vector<Change> WatchRun(HWND window, DWORD timeoutMs);

// Presses keys in whatever window has the keyboard: the user's own input, not messages
// posted to a window, so the key state (Ctrl held) is real too.
void Press(std::initializer_list<WORD> keys);

// The tooltip's text once the mouse rests on a control, or empty when no tip shows; the
// text of the process's tooltip that shows now, waiting up to a few seconds for one.
std::wstring HoverText(HWND control, DWORD processId);
std::wstring ShownTipText(DWORD processId);

// A right-click at a point of the screen, with the user's own mouse input.
void RightClickAt(int x, int y);

// Makes the window the active one, with the keyboard focus in it; false when it could not.
bool BringToFront(HWND window);

// The control that has the keyboard focus in the window's thread.
HWND FocusOf(HWND window);

// A control's name as screen readers ask for it (MSAA, through oleacc).
std::wstring AccessibleName(HWND control);

// What a status box and its tooltip say for a row checked here: the row's action named
// where this computer has its place, as the window does.
std::wstring ShownStatus(const ReportRow& row);
std::wstring ShownTip(const ReportRow& row);

std::wstring Clipboard();
void EmptyClipboard();

// Presses Ctrl+C in the window and returns what the clipboard then holds; `when` is the
// time the copy says the checks ran, all zero when it names none.
std::wstring CopyResults(LocalTime& when);

} // namespace skelvane::test
