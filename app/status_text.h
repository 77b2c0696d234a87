#pragma once
// What the status boxes say: to assistive technology before a result, then the row, its
// verdict and what the tooltip shows ("Dot Net Framework V3.5: failed: directory not found:
// C:\..." and the next step on a line of its own, naming the row's action where it has one).
#include "app/report.h"

#include <string>
#include <string_view>

namespace skelvane {

inline constexpr wchar_t kNotCheckedText[] = L"not checked yet";
inline constexpr wchar_t kPassedText[] = L"passed";
inline constexpr wchar_t kFailedText[] = L"failed";

// The tooltip: the reason, then the next step on its own line, then the menu item that
// opens the place the step names.
inline std::wstring TipText(const ReportRow& row, std::wstring_view action = {}) {
    std::wstring text = row.result.reason;
    if (!row.nextStep.empty()) text += L"\r\n" + row.nextStep;
    if (!action.empty()) text += L" Right-click: " + std::wstring(action);
    return text;
}

inline std::wstring StatusText(const ReportRow& row, std::wstring_view action = {}) {
    return row.name + L": " + (row.result.passed ? kPassedText : kFailedText) + L": " +
           TipText(row, action);
}

} // namespace skelvane
