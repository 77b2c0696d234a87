#pragma once
// After a cross, one short next step for the person at the window: chosen by what failed
// and, where it matters, by the Windows it runs on.
#include "checks/check_result.h"

#include <cstdint>
#include <string_view>

namespace skelvane {

enum class WindowsFamily { Older, XpOr2003, Vista, Seven, Eight, EightOneOrLater };
inline constexpr int kWindowsFamilies = 6;

// From the version Windows really is (not the one it reports to older programs).
WindowsFamily FamilyOf(std::uint32_t major, std::uint32_t minor);

// The step for a failure; empty for a pass. Where the failure is not known precisely
// enough to say more, the general step (kGeneralStep).
std::wstring_view NextStep(FailureKind kind, WindowsFamily family);

inline constexpr std::wstring_view kGeneralStep =
    L"Try again later; if it keeps failing, give these results to your help desk or to "
    L"Quorrel Card support.";

} // namespace skelvane
