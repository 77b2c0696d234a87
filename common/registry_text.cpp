#include "common/registry_text.h"

#include "common/unique_handle.h"

namespace skelvane {

namespace {

std::wstring Expanded(const std::wstring& text) {
    const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    std::wstring expanded(needed, L'\0');
    const DWORD written =
        needed ? ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed) : 0;
    if (written == 0 || written > needed) return text;
    expanded.resize(written - 1);
    return expanded;
}

} // namespace

std::optional<std::wstring> ReadRegistryText(HKEY root, const wchar_t* key, const wchar_t* name,
                                             REGSAM view) {
    unique_hkey opened;
    if (::RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | view, opened.put()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, bytes = 0;
    LONG rc = ::RegQueryValueExW(opened.get(), name, nullptr, &type, nullptr, &bytes);
    std::wstring text;
    // The value may grow between the size query and the read: a few tries, as it grows.
    for (int attempt = 0; attempt < 8 && (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA);
         ++attempt) {
        text.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        rc = ::RegQueryValueExW(opened.get(), name, nullptr, &type,
                                reinterpret_cast<BYTE*>(text.data()), &bytes);
        if (rc == ERROR_SUCCESS) {
            text.resize(bytes / sizeof(wchar_t));
            break;
        }
    }
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ))
        return std::nullopt;
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    return type == REG_EXPAND_SZ ? Expanded(text) : text;
}

} // namespace skelvane
