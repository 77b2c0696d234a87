#include "registry/variant.h"

#include <cstdio>

namespace skelvane {

std::wstring ToText(const Variant& value) {
    struct Visitor {
        std::wstring operator()(std::monostate) const { return {}; }
        std::wstring operator()(const std::wstring& s) const { return s; }
        std::wstring operator()(std::int16_t v) const { return std::to_wstring(v); }
        std::wstring operator()(std::int32_t v) const { return std::to_wstring(v); }
        std::wstring operator()(std::uint8_t v) const { return std::to_wstring(v); }
        std::wstring operator()(double v) const {
            wchar_t buffer[32];
            std::swprintf(buffer, 32, L"%.15g", v);
            return buffer;
        }
        std::wstring operator()(const ByteArray& bytes) const {
            std::wstring text;
            for (std::uint8_t b : bytes) {
                wchar_t hex[4];
                std::swprintf(hex, 4, L"%02X", b);
                if (!text.empty()) text += L' ';
                text += hex;
            }
            return text;
        }
    };
    return std::visit(Visitor{}, value);
}

} // namespace skelvane
