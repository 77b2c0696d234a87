#include "registry/cRegistry.h"

#include "common/ansi.h"
#include "common/unique_handle.h"
#include "registry/registry_keys.h"

#include <windows.h>

#include <algorithm>

namespace skelvane {

using namespace registry_keys;

namespace {

// Reads a value's data whole, even if it grows between the size query and the read.
bool ReadData(HKEY key, const std::string& name, DWORD& type, ByteArray& data) {
    DWORD size = 0;
    BYTE probe[4];
    LONG rc = ::RegQueryValueExA(key, name.c_str(), nullptr, &type, probe, &size);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) return false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        data.assign(size, 0);
        DWORD got = size;
        rc =
            ::RegQueryValueExA(key, name.c_str(), nullptr, &type, size ? data.data() : probe, &got);
        if (rc == ERROR_SUCCESS) {
            data.resize(std::min<DWORD>(got, size));
            return true;
        }
        if (rc != ERROR_MORE_DATA) return false;
        size = got > size ? got : size * 2 + 16;
    }
    return false;
}

// Expands %NAME% references in stored (system code page) text.
std::wstring ExpandEnvironmentText(std::string_view stored) {
    const std::string text(stored);
    const DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    std::string expanded(needed, '\0');
    const DWORD written =
        needed ? ::ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed) : 0;
    if (written == 0 || written > needed) return FromAnsi(stored);
    expanded.resize(written - 1);
    return FromAnsi(expanded);
}

Variant Decode(DWORD type, const ByteArray& data) {
    switch (type) {
    case REG_SZ:
    case REG_MULTI_SZ:
        return FromAnsi(StoredText(data));
    case REG_EXPAND_SZ:
        return ExpandEnvironmentText(StoredText(data));
    case REG_DWORD:
        return DwordFromBytes(data);
    case REG_DWORD_BIG_ENDIAN:
        return ReverseByteOrder(DwordFromBytes(data));
    default:
        return data;
    }
}

} // namespace

RegistryError::RegistryError(std::int32_t number, std::wstring source, std::wstring description,
                             long status)
    : number_(number), source_(std::move(source)), description_(std::move(description)),
      status_(status), what_(ToAnsi(description_)) {}

std::wstring cRegistry::ErrorSource() {
    // A program may live at a path longer than MAX_PATH: the buffer grows until the
    // whole path fits (a full buffer means it was cut).
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = 0;
    while ((n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
               path.size() &&
           path.size() < 32768)
        path.resize(path.size() * 2);
    std::wstring name = path.substr(0, n < path.size() ? n : 0);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    if (const std::size_t dot = name.rfind(L'.'); dot != std::wstring::npos) name.resize(dot);
    return name + L".cRegistry";
}

void cRegistry::Raise(std::int32_t number, std::wstring description, long status) const {
    throw RegistryError(number, ErrorSource(), std::move(description), status);
}

bool cRegistry::KeyExists() const {
    unique_hkey key;
    return Open(classKey_, sectionKey_, KEY_QUERY_VALUE, key) == ERROR_SUCCESS;
}

Variant cRegistry::Value() {
    unique_hkey key;
    Open(classKey_, sectionKey_, KEY_QUERY_VALUE, key); // a failed open fails the query below
    DWORD type = 0;
    ByteArray data;
    if (!key || !ReadData(key.get(), ToAnsi(valueKey_), type, data)) return default_;
    valueType_ = static_cast<std::int32_t>(type);
    return Decode(type, data);
}

} // namespace skelvane
