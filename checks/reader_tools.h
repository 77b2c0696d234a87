#pragma once
// Where the smart card row looks for the card reader tools.
#include <string>
#include <string_view>
#include <vector>

namespace skelvane {

// Probed first, exactly as written (letter case too), the older name first.
inline constexpr const wchar_t* kReaderToolsPaths[] = {
    L"C:\\Program Files\\Gemplus\\ReaderTools",
    L"C:\\Program Files\\GemAlto\\ReaderTools",
};
// The same two folders below one of the system's own program-files folders.
inline constexpr const wchar_t* kReaderToolsFolders[] = {
    L"\\Gemplus\\ReaderTools",
    L"\\GemAlto\\ReaderTools",
};

// The places the row probes, in order, each once: the two literal paths, then the two
// folders under the system's 32-bit program-files folder, then under its 64-bit one (empty
// text where there is none, as on 32-bit Windows). A system folder counts only as an
// absolute path on a drive ("D:\Programme"), so a value the registry holds never sends a
// probe across the network. Places are the same when they differ only in ASCII letter
// case, '/' for '\' or trailing separators; letters beyond ASCII are compared as they are.
std::vector<std::wstring> ReaderToolsPlaces(std::wstring_view programFiles32,
                                            std::wstring_view programFiles64);

} // namespace skelvane
