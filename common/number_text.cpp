#include "common/number_text.h"

#include <cmath>
#include <cstdio>

namespace skelvane {

std::wstring DecimalText(long long value, int digits) {
    // Counted in the negative range, which also holds the most negative number.
    const bool negative = value < 0;
    long long rest = negative ? value : -value;
    std::wstring text;
    do {
        text.insert(text.begin(), static_cast<wchar_t>(L'0' - rest % 10));
        rest /= 10;
    } while (rest != 0 || static_cast<int>(text.size()) < digits);
    return negative ? L"-" + text : text;
}

std::string HexText(unsigned value, int digits) {
    std::string text;
    for (; value != 0 || static_cast<int>(text.size()) < digits; value >>= 4)
        text.insert(text.begin(), "0123456789ABCDEF"[value & 0xF]);
    return text;
}

std::wstring DoubleText(double value) {
    // The same text on every system: the Windows runtime writes infinity as "1.#INF" and
    // every exponent with three digits, where the C standard asks for at least two.
    if (std::isnan(value)) return L"nan";
    if (std::isinf(value)) return value < 0 ? L"-inf" : L"inf";
    wchar_t buffer[32] = {};
#ifdef _WIN32
    ::_snwprintf(buffer, 31, L"%.15g", value); // the system's own, not the runtime's
#else
    std::swprintf(buffer, 32, L"%.15g", value);
#endif
    std::wstring text = buffer;
    if (const std::size_t e = text.find(L'e'); e != std::wstring::npos)
        while (text.size() - (e + 2) > 2 && text[e + 2] == L'0')
            text.erase(e + 2, 1); // past the exponent's sign
    return text;
}

} // namespace skelvane
