#include "common/number_text.h"

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
    wchar_t text[32] = {};
#ifdef _WIN32
    ::_snwprintf(text, 31, L"%.15g", value); // the system's own, not the runtime's
#else
    std::swprintf(text, 32, L"%.15g", value);
#endif
    return text;
}

} // namespace skelvane
