#pragma once
// Text that came from outside the program (a server, the registry, a file) is shown only
// after this: control characters could clear or retitle an administrator's terminal, and
// direction marks could make a path or address read as another on screen.
#include <string>
#include <string_view>

namespace skelvane {

// C0 controls but tab, DEL, C1 controls, and the marks that override or isolate the
// direction of text.
bool IsUnsafeToShow(char32_t c);

// The text with each unsafe character replaced by U+FFFD, visibly and in place.
std::wstring ShownText(std::wstring_view text);

} // namespace skelvane
