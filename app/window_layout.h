#pragma once
// Fonts and places of the window's controls at a DPI, from the twips table; used when the
// window is made and again when it moves to a display of another DPI.
#include "app/layout.h"
#include "common/unique_handle.h"

#include <windows.h>

namespace skelvane {

// The system DPI, which the window starts with.
int ScreenDpi();

// The dialog font at 8 points, a pixel smaller at a time (down to 6 points) while any
// caption would not fit its label: the layout gives each caption one line (two for
// Label1), and a substitute font on some systems runs wider.
unique_gdi ChooseFont(HWND window, int dpi);

// The DPI of the display the window is on, where Windows says so (Windows 10 1607 and
// later); 0 elsewhere.
int DisplayDpi(HWND window);

// The window's frame, where it stands, for a client area laid out at dpi; false where the
// system cannot work it out (before Windows 10 1607).
bool FrameAtDpi(HWND window, int dpi, DWORD style, RECT& frame);

// Every control of the window at its place for dpi, in font; the OS label begins at least
// a space after its heading's text.
void PlaceControls(HWND window, int dpi, HGDIOBJ font);

// Only the OS label, for controls made at their places from the table.
void PlaceOsLabel(HWND window, int dpi, HGDIOBJ font);

// The table's picture boxes overlap by a pixel or two (255 twips on a 240-twip pitch, the
// logo's corner): a box drawing itself leaves what it shares with a box that begins lower
// down to that box, so no picture's top is painted over by its neighbour's background.
void LeaveSharedRowsBelow(HDC dc, ControlId box, int dpi);

// The tooltip's wrap width for dpi and, away from the system DPI, its font scaled to match.
void ScaleTooltip(HWND tooltip, int dpi, unique_gdi& font);

} // namespace skelvane
