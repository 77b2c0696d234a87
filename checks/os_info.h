#pragma once
// The operating-system record and the pure rules that describe it.
#include <cstdint>
#include <string>
#include <string_view>

namespace skelvane {

struct OsInfo {
    std::int16_t Platform = 0;
    std::int16_t Major = 0;
    std::int16_t Minor = 0;
    std::int16_t Build = 0;
    std::int16_t SP = 0;
    std::wstring description;
    bool ok = false;
};

// Narrows a 32-bit system number into a 16-bit field. Values outside the
// signed 16-bit range keep their low 16 bits (two's complement), which is
// well defined and matches what the build number's low word means on 9x.
std::int16_t NarrowTo16(std::uint32_t value);

// The service-pack number from the system's service-pack text: the first
// character after the 12 of "Service Pack" and any spaces, if it is a digit.
std::int16_t ParseServicePack(std::string_view csdVersion);

// Names the system from Platform, Major, Minor and SP; sets ok.
std::wstring GetOsDescription(OsInfo& info);

// Fills a new record from the raw answer of the version request.
OsInfo MakeOsInfo(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                  std::uint32_t build, std::string_view csdVersion);

} // namespace skelvane

namespace skelvane {

// The row's verdict with a reason naming the system.
struct CheckResult;
CheckResult OsVerdict(const OsInfo& info);

} // namespace skelvane
