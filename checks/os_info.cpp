#include "checks/os_info.h"

#include "common/number_text.h"

namespace skelvane {

std::int16_t NarrowTo16(std::uint32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFFu));
}

std::int16_t ParseServicePack(std::string_view csd) {
    constexpr std::size_t kPrefixLength = 12; // "Service Pack"
    if (csd.size() <= kPrefixLength) return 0;
    csd.remove_prefix(kPrefixLength);
    while (!csd.empty() && csd.front() == ' ')
        csd.remove_prefix(1);
    if (csd.empty() || csd.front() < '0' || csd.front() > '9') return 0;
    return static_cast<std::int16_t>(csd.front() - '0');
}

namespace {

std::wstring_view NameOf(const OsInfo& os, bool& ok) {
    ok = false;
    if (os.Platform == 1) {
        switch (os.Minor) {
        case 0:
            return L"Windows 95";
        case 10:
            return L"Windows 98";
        case 90:
            return L"Windows Me";
        default:
            return L"";
        }
    }
    if (os.Platform != 2) return L"";
    switch (os.Major) {
    case 3:
        return L"Windows NT 3.51";
    case 4:
        return L"Windows NT 4";
    case 5:
        switch (os.Minor) {
        case 0:
            return L"Windows 2000";
        case 1:
            ok = os.SP >= 2;
            return L"Windows XP";
        case 2:
            ok = os.SP >= 2;
            return L"Windows Server 2003";
        default:
            return L"";
        }
    case 6:
        ok = true;
        return L"Windows Vista/7";
    case 7:
        ok = true;
        return L"Windows 7";
    default:
        return L"";
    }
}

} // namespace

std::wstring GetOsDescription(OsInfo& info) {
    std::wstring text{NameOf(info, info.ok)};
    if (info.SP > 0) text += L" SP" + DecimalText(info.SP);
    return text;
}

OsInfo MakeOsInfo(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                  std::uint32_t build, std::string_view csdVersion) {
    OsInfo info;
    info.Platform = NarrowTo16(platform);
    info.Major = NarrowTo16(major);
    info.Minor = NarrowTo16(minor);
    info.Build = NarrowTo16(build);
    info.SP = ParseServicePack(csdVersion);
    info.description = GetOsDescription(info);
    return info;
}

} // namespace skelvane

#include "checks/check_result.h"

namespace skelvane {

CheckResult OsVerdict(const OsInfo& info) {
    std::wstring what = info.description;
    if (what.empty() || what.front() == L' ')
        what = L"unrecognised system (platform " + DecimalText(info.Platform) + L", version " +
               DecimalText(info.Major) + L"." + DecimalText(info.Minor) + L")" + what;
    if (info.ok) return Pass(what);
    return Fail(FailureKind::OsUnsupported,
                what + L" is not supported (needs Windows XP or Server 2003 with SP2, or later)");
}

} // namespace skelvane
