#pragma once
#include "checks/os_info.h"

namespace skelvane::modOS {

// Asks the running system for its version and describes it.
OsInfo GetOsInfo();

} // namespace skelvane::modOS
