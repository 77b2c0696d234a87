#pragma once
// The program's name and version, from the one place the version resource takes them.
#include "app/report.h"
#include "resources/version.h"

namespace skelvane {

#define SKELVANE_WIDEN2(text) L##text
#define SKELVANE_WIDEN(text) SKELVANE_WIDEN2(text)
inline constexpr ProgramName kThisProgram{L"Skelvane", SKELVANE_WIDEN(SKELVANE_VERSION_TEXT)};
#undef SKELVANE_WIDEN
#undef SKELVANE_WIDEN2

} // namespace skelvane
