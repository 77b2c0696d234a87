#pragma once
// Texts live as UTF-16 inside the program; the system's "A" functions get
// them in the system code page, converted explicitly at the call.
#include <string>
#include <string_view>

namespace skelvane {

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

} // namespace skelvane
