#include "app/window_look.h"

namespace skelvane {

SystemScheme ReadSystemScheme() {
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    const bool high = ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON);
    return {high, ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT),
            ::GetSysColor(COLOR_HOTLIGHT)};
}

void WindowLook::Refresh(HINSTANCE instance, int dpi, std::span<HBITMAP> references) {
    palette_ = ChoosePalette(ReadSystemScheme());
    unique_gdi brush(::CreateSolidBrush(palette_.background));
    if (brush) background_ = std::move(brush);
    pictures_.Load(instance, dpi, palette_.text, references);
}

} // namespace skelvane
