#pragma once
// Registry text read through the wide functions, so that no code page stands between what
// is stored and what is read. The registry class reads through the system code page, as
// it must; this is for what needs the stored characters themselves.
#include <windows.h>

#include <optional>
#include <string>

namespace skelvane {

// A text value as a program would use it: REG_SZ and REG_MULTI_SZ as stored, less one NUL
// at the end; REG_EXPAND_SZ expanded (as stored where that fails). Nothing for a value of
// another type or one that cannot be read. `view` may name a registry view
// (KEY_WOW64_32KEY, KEY_WOW64_64KEY).
std::optional<std::wstring> ReadRegistryText(HKEY root, const wchar_t* key, const wchar_t* name,
                                             REGSAM view = 0);

} // namespace skelvane
