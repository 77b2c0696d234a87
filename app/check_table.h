#pragma once
// The six checks, once: what scripts call each, the label that names it, the status box
// that shows it, and the check itself. The window's sequence, its list of status boxes
// and the console report all read this table, top to bottom in the order the checks run.
#include "app/layout.h"
#include "app/report.h"
#include "checks/next_step.h"
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

// Runs one row's check as both programs do: a check that throws has not passed, and a
// failure carries its next step for this Windows, worded for its reader. The one
// boundary for what a check throws: the callers need none of their own.
ReportRow RunCheckRow(Prerequisites& checks, const CheckRow& row, WindowsFamily family,
                      StepReader reader);

// The Windows the next steps are chosen for: the one this really is.
WindowsFamily ThisWindows();

} // namespace skelvane
