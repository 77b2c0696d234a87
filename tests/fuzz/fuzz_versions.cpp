// The system's version answer and the installer's version text, whatever they hold.
#include "checks/installer_version.h"
#include "checks/os_info.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skelvane;
    std::uint32_t numbers[4] = {};
    std::memcpy(numbers, data, std::min(size, sizeof numbers));
    const std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::int16_t sp = ParseServicePack(rest);
    if (sp < 0 || sp > 9) std::abort();
    OsInfo info = MakeOsInfo(numbers[0], numbers[1], numbers[2], numbers[3], rest);
    GetOsDescription(info);

    std::wstring version;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        version += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    IsInstallerOK(version);
    return 0;
}
