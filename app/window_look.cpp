#include "app/window_look.h"

#include "app/layout.h"

namespace skelvane {

SystemScheme ReadSystemScheme() {
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    const bool high = ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON);
    return {high, ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT),
            ::GetSysColor(COLOR_HOTLIGHT)};
}

void WindowLook::Refresh(HINSTANCE instance, int dpi) {
    palette_ = ChoosePalette(ReadSystemScheme());
    pictures_.Choose(instance, dpi, palette_.text);
}

// Brushes the system owns, in the very colours the palette names: nothing is made here, so
// nothing can fail to be, and the text never takes a new colour without its background.
HBRUSH WindowLook::Background() const {
    static_assert(kWindowBackground == 0xFFFFFF, "painted with the stock white brush");
    return palette_.system ? ::GetSysColorBrush(COLOR_WINDOW)
                           : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

} // namespace skelvane
