#pragma once
// Numbers as text, without the runtime's printf family: the portable printf it brings
// in weighs more than the rest of the window program's own code.
#include <string>

namespace skelvane {

// At least `digits` long, zeros in front: DecimalText(7, 2) is "07".
std::wstring DecimalText(long long value, int digits = 1);

// Upper-case hexadecimal, at least `digits` long.
std::string HexText(unsigned value, int digits);

// As "%.15g" gives it by the C standard (an exponent of at least two digits), with
// "inf", "-inf" and "nan".
std::wstring DoubleText(double value);

} // namespace skelvane
