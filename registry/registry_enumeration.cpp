// The registry class's lists of a key's values and subkeys.
#include "registry/cRegistry.h"
#include "registry/registry_keys.h"

#include <algorithm>
#include <cstring>

namespace skelvane {

using namespace registry_keys;

bool cRegistry::EnumerateValues(std::vector<std::wstring>& sKeyNames,
                                std::int32_t& iKeyCount) const {
    sKeyNames.clear();
    iKeyCount = 0;
    unique_hkey key;
    if (Open(classKey_, sectionKey_, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return true;
    DWORD longest = 0;
    if (::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return true;
    // The longest length is counted in characters; a name in a multi-byte code page
    // may need more bytes, so the buffer grows when the platform asks for more.
    std::string name(std::max<DWORD>(longest + 1, 1), '\0');
    for (DWORD index = 0;;) {
        DWORD size = static_cast<DWORD>(name.size());
        const LONG rc = ::RegEnumValueA(key.get(), index, name.data(), &size, nullptr, nullptr,
                                        nullptr, nullptr);
        if (rc == ERROR_MORE_DATA && name.size() < 32768) {
            name.assign(name.size() * 2, '\0');
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        sKeyNames.push_back(FromAnsi({name.data(), std::min<std::size_t>(size, name.size())}));
        ++iKeyCount;
        ++index;
    }
    return true;
}

bool cRegistry::EnumerateSections(std::vector<std::wstring>& sSect,
                                  std::int32_t& iSectCount) const {
    try {
        sSect.clear();
        iSectCount = 0;
        unique_hkey key;
        if (Open(classKey_, sectionKey_, KEY_ENUMERATE_SUB_KEYS, key) != ERROR_SUCCESS) return true;
        // Room for the longest name the registry allows (255 characters) and its NUL.
        std::string name(256, '\0');
        for (DWORD index = 0;;) {
            std::fill(name.begin(), name.end(), '\0');
            const LONG rc =
                ::RegEnumKeyA(key.get(), index, name.data(), static_cast<DWORD>(name.size()));
            if (rc == ERROR_MORE_DATA && name.size() < 2048) {
                name.resize(name.size() * 2);
                continue;
            }
            if (rc != ERROR_SUCCESS) break;
            sSect.push_back(FromAnsi({name.data(), ::strnlen(name.data(), name.size())}));
            ++iSectCount;
            ++index;
        }
        return true;
    } catch (const std::exception& e) {
        Raise(kErrEnumerateSections, FromAnsi(e.what()));
    }
}

} // namespace skelvane
