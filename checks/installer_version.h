#pragma once
#include <string_view>

namespace skelvane {

// True for a version of 3.1 or later; only the first two dot-separated parts
// count. Blanks, tabs and line feeds inside a part are ignored, a part reads up
// to its first other non-digit, and a missing or digitless part reads as 0, so
// an empty text or a lone "3" is below 3.1.
bool IsInstallerOK(std::wstring_view Version);

} // namespace skelvane
