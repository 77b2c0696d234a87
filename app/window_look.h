#pragma once
// How the window paints: its colours, chosen from the system's scheme, and its pictures at
// its DPI. Refreshed when the scheme or the DPI changes.
#include "app/colours.h"
#include "app/pictures.h"

#include <windows.h>

namespace skelvane {

// The system's scheme as the window's colours depend on it.
SystemScheme ReadSystemScheme();

class WindowLook {
  public:
    // The system's colours, and the pictures for dpi in them, from now on.
    void Refresh(HINSTANCE instance, int dpi);
    HBRUSH Background() const;
    Colour Text() const { return palette_.text; }
    Colour OsLabel() const { return palette_.osLabel; }
    void Draw(HDC dc, const RECT& box, Image image) {
        DrawPicture(dc, box, pictures_.Get(image), Background());
    }

  private:
    Palette palette_ = ChoosePalette({});
    PictureSet pictures_;
};

} // namespace skelvane
