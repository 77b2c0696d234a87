// Stored registry data of any shape, and any text to store.
#include "registry/registry_rules.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skelvane;
    const ByteArray bytes(data, data + size);
    const std::int32_t dword = DwordFromBytes(bytes);
    if (ReverseByteOrder(ReverseByteOrder(dword)) != dword) std::abort();
    const std::string_view text = StoredText(bytes);
    if (text.size() > size || text.size() + 1 < size) std::abort();

    std::wstring wide;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        wide += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    const std::int32_t type = StoredTextType(wide);
    if (type != kRegSz && type != kRegExpandSz) std::abort();
    if (type == kRegExpandSz && wide.find(L'%') == std::wstring::npos) std::abort();

    ToText(Variant(bytes));
    WriteFailure(dword, wide, wide, Variant(wide));
    DeleteValueFailure(dword, wide, wide);
    return 0;
}
