#pragma once
// The keys every part of the registry class opens: a root by its number, a key opened or
// created under it, all through the system code page.
#include "common/ansi.h"
#include "common/unique_handle.h"
#include "registry/registry_rules.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace skelvane::registry_keys {

inline constexpr REGSAM kWriteAccess = 0x3F; // query, set, create sub key, enumerate, notify, link

inline HKEY Root(std::int32_t classKey) {
    return reinterpret_cast<HKEY>(RootHandleValue(classKey));
}

inline LONG Open(std::int32_t classKey, const std::wstring& section, REGSAM access,
                 unique_hkey& key) {
    return ::RegOpenKeyExA(Root(classKey), ToAnsi(section).c_str(), 0, access, key.put());
}

inline LONG CreateOrOpen(std::int32_t classKey, const std::wstring& section, unique_hkey& key) {
    DWORD disposition = 0;
    char noClass[] = "";
    return ::RegCreateKeyExA(Root(classKey), ToAnsi(section).c_str(), 0, noClass,
                             REG_OPTION_NON_VOLATILE, kWriteAccess, nullptr, key.put(),
                             &disposition);
}

} // namespace skelvane::registry_keys
