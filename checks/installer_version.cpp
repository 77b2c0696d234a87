#include "checks/installer_version.h"

namespace skelvane {

namespace {

// The decimal number at the start of a part, saturating instead of overflowing.
unsigned long PartValue(std::wstring_view part) {
    unsigned long value = 0;
    for (wchar_t c : part) {
        if (c == L' ' || c == L'\t' || c == L'\n') continue;
        if (c < L'0' || c > L'9') break;
        value = value > 100000000ul ? value : value * 10 + static_cast<unsigned long>(c - L'0');
    }
    return value;
}

} // namespace

bool IsInstallerOK(std::wstring_view Version) {
    const std::size_t dot = Version.find(L'.');
    const unsigned long major = PartValue(Version.substr(0, dot));
    if (major < 3) return false;
    if (major >= 4) return true;
    if (dot == std::wstring_view::npos) return false;
    std::wstring_view rest = Version.substr(dot + 1);
    return PartValue(rest.substr(0, rest.find(L'.'))) >= 1;
}

} // namespace skelvane
