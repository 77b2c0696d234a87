#pragma once
// Text that came from outside the program (a server, the registry, a file) is shown only
// after this: control characters could clear or retitle an administrator's terminal,
// direction marks could make a path or address read as another on screen, and invisible
// characters could make two different names look the same.
#include <string>
#include <string_view>

namespace skelvane {

// Controls but tab, line and paragraph separators, lone surrogates, U+FFFE and U+FFFF, and
// every default-ignorable code point (direction marks, invisible characters and the like).
bool IsUnsafeToShow(char32_t c);

// The text with each unsafe code point replaced by one U+FFFD, visibly and in place. A
// surrogate pair is one code point; a surrogate without its partner is unsafe.
std::wstring ShownText(std::wstring_view text);
std::u16string ShownText(std::u16string_view text);

} // namespace skelvane
