#include "registry/registry_rules.h"

#include "common/number_text.h"

namespace skelvane {

std::int32_t StoredTextType(std::wstring_view text) {
    const std::size_t first = text.find(L'%');
    if (first == std::wstring_view::npos) return kRegSz;
    return text.find(L'%', first + 2) != std::wstring_view::npos ? kRegExpandSz : kRegSz;
}

std::int32_t ReverseByteOrder(std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>((u >> 24) | ((u >> 8) & 0xFF00u) | ((u << 8) & 0xFF0000u) |
                                     (u << 24));
}

std::int32_t DwordFromBytes(const ByteArray& bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return static_cast<std::int32_t>(value);
}

std::string_view StoredText(const ByteArray& bytes) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    return text;
}

std::intptr_t RootHandleValue(std::int32_t classKey) {
    return static_cast<std::intptr_t>(classKey);
}

std::wstring CreateKeyFailure(std::wstring_view section) {
    return L"Failed to create registry Key: '" + std::wstring(section);
}

static std::wstring KeyAndSection(std::int32_t classKey, std::wstring_view section) {
    return DecimalText(classKey) + L"',Section: '" + std::wstring(section);
}

std::wstring DeleteKeyFailure(std::int32_t classKey, std::wstring_view section) {
    return L"Failed to delete registry Key: '" + KeyAndSection(classKey, section);
}

std::wstring OpenForDeleteFailure(std::int32_t classKey, std::wstring_view section) {
    return L"Failed to open key '" + KeyAndSection(classKey, section) + L"' for delete access";
}

std::wstring DeleteValueFailure(std::int32_t classKey, std::wstring_view section,
                                std::wstring_view valueName) {
    return DeleteKeyFailure(classKey, section) + L"',Key: '" + std::wstring(valueName);
}

std::wstring WriteFailure(std::int32_t classKey, std::wstring_view section,
                          std::wstring_view valueName, const Variant& value) {
    return L"Failed to set registry value Key: '" + KeyAndSection(classKey, section) + L"',Key: '" +
           std::wstring(valueName) + L"' to value: '" + ToText(value) + L"'";
}

} // namespace skelvane
