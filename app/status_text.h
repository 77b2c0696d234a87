#pragma once
// What the status boxes say to assistive technology, and which boxes they are.
#include "layout.h"

namespace skelvane {

inline constexpr wchar_t kNotCheckedText[] = L"not checked yet";
inline constexpr wchar_t kPassedText[] = L"passed";
inline constexpr wchar_t kFailedText[] = L"failed";

// Top to bottom, the order in which the checks run.
inline constexpr ControlId kStatusBoxes[] = {
    ControlId::picInternetApp, ControlId::picInternetData, ControlId::picOs,
    ControlId::picInstaller,   ControlId::picDotNet,       ControlId::picSmartCard,
};

} // namespace skelvane
