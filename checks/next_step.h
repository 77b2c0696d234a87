#pragma once
// After a cross, one short next step for the person at the window: chosen by what failed
// and, where it matters, by the Windows it runs on, clients and servers apart.
#include "checks/check_result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace skelvane {

// Each client with the server built on it; "OrLater" families share their steps. Windows
// 11 from 26H1 (build 28000) stands apart from 8.1..25H2 only where .NET 3.5 is concerned.
enum class WindowsFamily {
    Older,
    Xp,
    Server2003,
    Vista,
    Server2008,
    Seven,
    Server2008R2,
    Eight,
    Server2012,
    EightOneOrLater,
    Server2012R2OrLater,
    Eleven26H1OrLater,
};
inline constexpr int kWindowsFamilies = 12;

// The product type the kernel reports with the version.
inline constexpr std::uint32_t kWorkstation = 1, kDomainController = 2, kServer = 3;

// From the version Windows really is (not the one it reports to older programs) and its
// product type; an unknown product type counts as a workstation.
WindowsFamily FamilyOf(std::uint32_t major, std::uint32_t minor, std::uint32_t productType,
                       std::uint32_t build);

// Who reads the step: the window, where F5 checks again, or the console report, which
// is run again instead.
enum class StepReader { Window, Report };

// The step for a failure; empty for a pass. Where the failure is not known precisely
// enough to say more, the general step (kGeneralStep).
std::wstring NextStep(FailureKind kind, WindowsFamily family, StepReader reader);

inline constexpr std::wstring_view kGeneralStep =
    L"Try again later; if it keeps failing, give these results to your help desk or to "
    L"Quorrel Card support.";

} // namespace skelvane
