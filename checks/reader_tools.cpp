#include "checks/reader_tools.h"

#include <algorithm>
#include <iterator>

namespace skelvane {

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

wchar_t Folded(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c - L'A' + L'a');
    return c == L'/' ? L'\\' : c;
}

std::wstring_view WithoutTrailingSeparators(std::wstring_view path) {
    while (!path.empty() && IsSeparator(path.back()))
        path.remove_suffix(1);
    return path;
}

// The folder without its trailing separators ("C:\" becomes "C:"), or empty text when it is
// not an absolute path on a drive letter.
std::wstring_view DriveFolder(std::wstring_view folder) {
    const bool onDrive = folder.size() >= 3 && Folded(folder[0]) >= L'a' &&
                         Folded(folder[0]) <= L'z' && folder[1] == L':' && IsSeparator(folder[2]);
    return onDrive ? WithoutTrailingSeparators(folder) : std::wstring_view();
}

bool SamePlace(std::wstring_view a, std::wstring_view b) {
    a = WithoutTrailingSeparators(a);
    b = WithoutTrailingSeparators(b);
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return Folded(x) == Folded(y); });
}

} // namespace

std::vector<std::wstring> ReaderToolsPlaces(std::wstring_view programFiles32,
                                            std::wstring_view programFiles64) {
    std::vector<std::wstring> places(std::begin(kReaderToolsPaths), std::end(kReaderToolsPaths));
    for (const std::wstring_view system : {programFiles32, programFiles64}) {
        const std::wstring_view folder = DriveFolder(system);
        if (folder.empty()) continue;
        for (const wchar_t* below : kReaderToolsFolders) {
            std::wstring place = std::wstring(folder) + below;
            if (std::none_of(places.begin(), places.end(),
                             [&](const std::wstring& known) { return SamePlace(known, place); }))
                places.push_back(std::move(place));
        }
    }
    return places;
}

} // namespace skelvane
