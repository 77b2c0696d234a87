#pragma once
// The window's four pictures, drawn for the scale of its DPI, as 32-bit bitmaps with
// premultiplied alpha that blend onto whatever colour the window paints behind them.
#include "app/colours.h"
#include "app/layout.h"
#include "common/unique_handle.h"

#include <windows.h>

#include <array>
#include <span>

namespace skelvane {

class PictureSet {
  public:
    // Loads every picture made for dpi, the placeholder in ink. Each reference that held one
    // of the old pictures holds its new counterpart afterwards.
    void Load(HINSTANCE instance, int dpi, Colour ink, std::span<HBITMAP> references);
    HBITMAP Get(Image image) const;

  private:
    std::array<unique_gdi, 4> bitmaps_;
};

// Fills box with background and blends picture over it at its top-left corner, at its own
// size (the window clips what overhangs the box).
void DrawPicture(HDC dc, const RECT& box, HBITMAP picture, HBRUSH background);

} // namespace skelvane
