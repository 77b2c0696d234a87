#include "registry/cRegistry.h"

#include "common/ansi.h"
#include "common/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace skelvane {

namespace {

constexpr REGSAM kWriteAccess = 0x3F; // query, set, create sub key, enumerate, notify, link

HKEY Root(std::int32_t classKey) {
    return reinterpret_cast<HKEY>(RootHandleValue(classKey));
}

LONG Open(std::int32_t classKey, const std::wstring& section, REGSAM access, unique_hkey& key) {
    return ::RegOpenKeyExA(Root(classKey), ToAnsi(section).c_str(), 0, access, key.put());
}

LONG CreateOrOpen(std::int32_t classKey, const std::wstring& section, unique_hkey& key) {
    DWORD disposition = 0;
    char noClass[] = "";
    return ::RegCreateKeyExA(Root(classKey), ToAnsi(section).c_str(), 0, noClass,
                             REG_OPTION_NON_VOLATILE, kWriteAccess, nullptr, key.put(),
                             &disposition);
}

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

bool cRegistry::CreateKey() {
    unique_hkey key;
    if (const LONG rc = CreateOrOpen(classKey_, sectionKey_, key); rc != ERROR_SUCCESS)
        Raise(kErrRegistry, CreateKeyFailure(sectionKey_), rc);
    return true;
}

bool cRegistry::DeleteKey() {
    if (const LONG rc = ::RegDeleteKeyA(Root(classKey_), ToAnsi(sectionKey_).c_str());
        rc != ERROR_SUCCESS)
        Raise(kErrRegistry, DeleteKeyFailure(classKey_, sectionKey_), rc);
    return true;
}

bool cRegistry::DeleteValue() {
    LONG rc;
    {
        unique_hkey key;
        if (rc = Open(classKey_, sectionKey_, kWriteAccess, key); rc != ERROR_SUCCESS)
            Raise(kErrRegistry, OpenForDeleteFailure(classKey_, sectionKey_), rc);
        rc = ::RegDeleteValueA(key.get(), ToAnsi(valueKey_).c_str());
    }
    if (rc != ERROR_SUCCESS)
        Raise(kErrRegistry, DeleteValueFailure(classKey_, sectionKey_, valueKey_), rc);
    return true;
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

void cRegistry::Value(const Variant& vValue) {
    LONG rc = ERROR_SUCCESS;
    {
        unique_hkey key;
        if (rc = CreateOrOpen(classKey_, sectionKey_, key); rc != ERROR_SUCCESS)
            Raise(kErrRegistry, WriteFailure(classKey_, sectionKey_, valueKey_, vValue), rc);
        const std::string name = ToAnsi(valueKey_);
        switch (valueType_) {
        case kRegSz:
        case kRegExpandSz: {
            const std::wstring text = ToText(vValue);
            const std::string data = ToAnsi(text);
            rc = ::RegSetValueExA(key.get(), name.c_str(), 0, StoredTextType(text),
                                  reinterpret_cast<const BYTE*>(data.c_str()),
                                  static_cast<DWORD>(data.size() + 1));
            break;
        }
        case kRegBinary: {
            const auto* bytes = std::get_if<ByteArray>(&vValue);
            if (!bytes) throw RegistryError(kErrRegistry, L"", L"");
            rc = ::RegSetValueExA(key.get(), name.c_str(), 0, REG_BINARY, bytes->data(),
                                  static_cast<DWORD>(bytes->size()));
            break;
        }
        case kRegDword:
        case kRegDwordBigEndian: {
            DWORD number;
            if (const auto* i16 = std::get_if<std::int16_t>(&vValue))
                number = static_cast<DWORD>(static_cast<std::int32_t>(*i16));
            else if (const auto* i32 = std::get_if<std::int32_t>(&vValue))
                number = static_cast<DWORD>(*i32);
            else
                break; // only integers are stored as numbers; anything else writes nothing
            rc = ::RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&number), sizeof number);
            break;
        }
        default:
            rc = ERROR_INVALID_DATA;
        }
    } // the key is closed before any error leaves
    if (rc != ERROR_SUCCESS)
        Raise(kErrWriteRefused, WriteFailure(classKey_, sectionKey_, valueKey_, vValue), rc);
}

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

void cRegistry::WriteBothClassRoots(const std::wstring& text) {
    classKey_ = kHkeyClassesRoot;
    Value(text);
    const std::wstring section = sectionKey_;
    classKey_ = kHkeyLocalMachine;
    sectionKey_ = L"SOFTWARE\\Classes\\" + section;
    Value(text);
    sectionKey_ = section;
}

void cRegistry::CreateEXEAssociation(const ExeAssociation& association) {
    for (const AssociationWrite& write : PlanExeAssociation(association)) {
        sectionKey_ = write.section;
        valueType_ = kRegSz;
        valueKey_.clear();
        WriteBothClassRoots(write.value);
    }
}

void cRegistry::CreateAdditionalEXEAssociations(const std::wstring& sClassName,
                                                const std::vector<Variant>& vItems) {
    if (vItems.size() % 3 != 0) Raise(kErrInvalidItems, kInvalidItemsText);
    sectionKey_ = sClassName;
    if (!KeyExists()) Raise(kErrClassMissing, kClassMissingText);
    std::vector<std::wstring> items;
    for (const Variant& item : vItems)
        items.push_back(ToText(item));
    for (const AssociationWrite& write : PlanAdditionalVerbs(sClassName, items)) {
        valueType_ = kRegSz;
        sectionKey_ = write.section;
        valueKey_.clear();
        try {
            WriteBothClassRoots(write.value);
        } catch (const RegistryError&) {
            // One refused write does not stop the others.
        }
    }
}

} // namespace skelvane
