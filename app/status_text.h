#pragma once
// What the status boxes say: to assistive technology before a result, then the verdict
// followed by what the tooltip shows ("failed: directory not found: C:\..." and the next
// step on a line of its own).
#include "app/report.h"

#include <string>

namespace skelvane {

inline constexpr wchar_t kNotCheckedText[] = L"not checked yet";
inline constexpr wchar_t kPassedText[] = L"passed";
inline constexpr wchar_t kFailedText[] = L"failed";

// The tooltip: the reason, then the next step on its own line.
inline std::wstring TipText(const ReportRow& row) {
    std::wstring text = row.result.reason;
    if (!row.nextStep.empty()) text += L"\r\n" + row.nextStep;
    return text;
}

inline std::wstring StatusText(const ReportRow& row) {
    return std::wstring(row.result.passed ? kPassedText : kFailedText) + L": " + TipText(row);
}

} // namespace skelvane
