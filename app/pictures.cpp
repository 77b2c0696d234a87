#include "app/pictures.h"

#include "app/dpi.h"
#include "app/picture_data.h"
#include "resources/resource.h"

#include <cstring>

namespace skelvane {

namespace {

// A picture resource unpacked into a top-down 32-bit DIB section; none when it is missing
// or damaged, and the box then shows only its background.
HBITMAP LoadPicture(HINSTANCE instance, Image image, int scalePlace, Colour ink) {
    const int id = IDB_PICTURES + 10 * static_cast<int>(image) + scalePlace;
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10)); // RCDATA
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const auto* bytes = static_cast<const std::uint8_t*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!bytes) return nullptr;
    auto pixels = UnpackPicture({bytes, ::SizeofResource(instance, found)});
    if (!pixels) return nullptr;
    if (image == Image::Placeholder) Tint(*pixels, ink);

    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), pixels->width, -pixels->height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits)
        std::memcpy(bits, pixels->bgra.data(), pixels->bgra.size() * sizeof(std::uint32_t));
    return bitmap;
}

} // namespace

void PictureSet::Choose(HINSTANCE instance, int dpi, Colour ink) {
    instance_ = instance;
    scalePlace_ = PictureScalePlace(dpi);
    ink_ = ink;
    for (unique_gdi& bitmap : bitmaps_)
        bitmap.reset();
}

HBITMAP PictureSet::Get(Image image) {
    const int i = static_cast<int>(image) - 1;
    if (i < 0 || i >= static_cast<int>(bitmaps_.size())) return nullptr;
    if (!bitmaps_[i]) bitmaps_[i].reset(LoadPicture(instance_, image, scalePlace_, ink_));
    return static_cast<HBITMAP>(bitmaps_[i].get());
}

void DrawPicture(HDC dc, const RECT& box, HBITMAP picture, HBRUSH background) {
    ::FillRect(dc, &box, background);
    BITMAP info{};
    if (!picture || !::GetObjectW(picture, sizeof info, &info)) return;
    const unique_memory_dc memory(::CreateCompatibleDC(dc));
    if (!memory) return;
    const selected_object selected(memory.get(), picture);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, box.left, box.top, info.bmWidth, info.bmHeight, memory.get(), 0, 0,
                    info.bmWidth, info.bmHeight, blend);
}

} // namespace skelvane
