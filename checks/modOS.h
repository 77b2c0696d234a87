#pragma once
#include "checks/os_info.h"

#include <cstdint>

namespace skelvane::modOS {

// Asks the running system for its version and describes it.
OsInfo GetOsInfo();

// The version Windows really is, from the kernel: the documented request stops at 6.2 for
// programs that do not declare later systems. For choices that depend on the real
// system (TLS versions, the next step after a failure); XP's numbers where it cannot tell.
// The product type (1 workstation, 2 domain controller, 3 server) tells clients from the
// servers that share their version numbers.
struct TrueVersion {
    std::uint32_t major = 5, minor = 1, build = 0, productType = 1;
};
TrueVersion GetTrueVersion();

} // namespace skelvane::modOS
