#pragma once
// The six checks, once: what scripts call each, the label that names it, the status box
// that shows it, and the check itself. The window's sequence, its list of status boxes
// and the console report all read this table, top to bottom in the order the checks run.
#include "app/layout.h"
#include "checks/prerequisites.h"

#include <array>
#include <string_view>

namespace skelvane {

struct CheckRow {
    std::string_view id; // stable key for scripts, e.g. "app_url"
    ControlId label;
    ControlId box;
    CheckResult (Prerequisites::*check)();
};

inline constexpr CheckRow kCheckRows[] = {
    {"app_url", ControlId::Label4, ControlId::picInternetApp, &Prerequisites::CheckAppUrl},
    {"data_url", ControlId::Label6, ControlId::picInternetData, &Prerequisites::CheckDataUrl},
    {"os", ControlId::Label2, ControlId::picOs, &Prerequisites::CheckOs},
    {"installer", ControlId::Label7, ControlId::picInstaller, &Prerequisites::CheckInstaller},
    {"dotnet", ControlId::Label3, ControlId::picDotNet, &Prerequisites::CheckDotNet},
    {"smartcard", ControlId::Label5, ControlId::picSmartCard, &Prerequisites::CheckSmartCard},
};

inline constexpr std::array<ControlId, std::size(kCheckRows)> kStatusBoxes = [] {
    std::array<ControlId, std::size(kCheckRows)> boxes{};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = kCheckRows[i].box;
    return boxes;
}();

} // namespace skelvane
