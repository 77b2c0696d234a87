#pragma once
// The one UTF-16 to UTF-8 conversion: for pipes, files, JSON and the bytes of a page.
#include <string>
#include <string_view>

namespace skelvane {

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view text);

} // namespace skelvane
