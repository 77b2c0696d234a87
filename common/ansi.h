#pragma once
// Texts live as UTF-16 inside the program; the system's "A" functions get
// them in the system code page, converted explicitly at the call.
#include <optional>
#include <string>
#include <string_view>

namespace skelvane {

std::string ToAnsi(std::wstring_view text);
// The text in the system code page only when each character has its exact form there:
// the '?' that stands in for the others is a wildcard, and a look-alike ("best fit")
// names another file than the one meant.
std::optional<std::string> ToAnsiExactly(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

} // namespace skelvane
