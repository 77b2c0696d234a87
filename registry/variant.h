#pragma once
// The tagged value the registry class reads and writes.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace skelvane {

using ByteArray = std::vector<std::uint8_t>;

// Empty, text, 16-bit or 32-bit integer, byte array; a byte and a floating-point
// number are carried too, so callers that hold one get it back unchanged.
using Variant = std::variant<std::monostate, std::wstring, std::int16_t, std::int32_t, ByteArray,
                             std::uint8_t, double>;

// Text of a value: numbers in decimal, empty for the empty variant, a byte array
// as space-separated hexadecimal bytes.
std::wstring ToText(const Variant& value);

} // namespace skelvane
