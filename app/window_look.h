#pragma once
// How the window paints: its colours, chosen from the system's scheme, and its pictures at
// its DPI. Refreshed when the scheme or the DPI changes.
#include "app/colours.h"
#include "app/pictures.h"
#include "common/unique_handle.h"

#include <windows.h>

#include <span>

namespace skelvane {

// The system's scheme as the window's colours depend on it.
SystemScheme ReadSystemScheme();

class WindowLook {
  public:
    // The references that held the old pictures hold the new ones afterwards.
    void Refresh(HINSTANCE instance, int dpi, std::span<HBITMAP> references);
    HBRUSH Background() const { return static_cast<HBRUSH>(background_.get()); }
    Colour Text() const { return palette_.text; }
    Colour OsLabel() const { return palette_.osLabel; }
    HBITMAP Picture(Image image) const { return pictures_.Get(image); }
    void Draw(HDC dc, const RECT& box, HBITMAP picture) const {
        DrawPicture(dc, box, picture, Background());
    }

  private:
    Palette palette_{};
    unique_gdi background_;
    PictureSet pictures_;
};

} // namespace skelvane
