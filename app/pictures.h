#pragma once
// The window's four pictures, drawn for the scale of its DPI, as 32-bit bitmaps with
// premultiplied alpha that blend onto whatever colour the window paints behind them.
#include "app/colours.h"
#include "app/layout.h"
#include "common/unique_handle.h"

#include <windows.h>

#include <array>

namespace skelvane {

class PictureSet {
  public:
    // The pictures made for dpi from now on, the placeholder in ink.
    void Choose(HINSTANCE instance, int dpi, Colour ink);
    // Each picture is made when first asked for; one the system could not make then (short
    // of memory or GDI handles) is tried again at the next request, so it shows as soon as
    // the system can spare it. None for Image::None.
    HBITMAP Get(Image image);

  private:
    HINSTANCE instance_ = nullptr;
    int scalePlace_ = 0;
    Colour ink_ = 0;
    std::array<unique_gdi, 4> bitmaps_;
};

// Fills box with background and blends picture over it at its top-left corner, at its own
// size (the window clips what overhangs the box).
void DrawPicture(HDC dc, const RECT& box, HBITMAP picture, HBRUSH background);

} // namespace skelvane
