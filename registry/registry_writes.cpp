// The registry class's writes and deletes: apart from the reads, so a program that only
// reads (as the checks do) carries none of them.
#include "registry/cRegistry.h"
#include "registry/registry_keys.h"

namespace skelvane {

using namespace registry_keys;

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

} // namespace skelvane
