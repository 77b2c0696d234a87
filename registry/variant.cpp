#include "registry/variant.h"

#include "common/number_text.h"

namespace skelvane {

std::wstring ToText(const Variant& value) {
    struct Visitor {
        std::wstring operator()(std::monostate) const { return {}; }
        std::wstring operator()(const std::wstring& s) const { return s; }
        std::wstring operator()(std::int16_t v) const { return DecimalText(v); }
        std::wstring operator()(std::int32_t v) const { return DecimalText(v); }
        std::wstring operator()(std::uint8_t v) const { return DecimalText(v); }
        std::wstring operator()(double v) const { return DoubleText(v); }
        std::wstring operator()(const ByteArray& bytes) const {
            std::wstring text;
            for (std::uint8_t b : bytes) {
                if (!text.empty()) text += L' ';
                for (char digit : HexText(b, 2))
                    text += static_cast<wchar_t>(digit);
            }
            return text;
        }
    };
    return std::visit(Visitor{}, value);
}

} // namespace skelvane
