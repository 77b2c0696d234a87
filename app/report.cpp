#include "app/report.h"

#include "common/number_text.h"

#include <algorithm>

namespace skelvane {

int ReportExitCode(const std::vector<ReportRow>& rows) {
    for (const ReportRow& row : rows)
        if (!row.result.passed) return kExitSomeFailed;
    return kExitAllPassed;
}

std::wstring ReportText(const std::vector<ReportRow>& rows, const std::wstring& osDescription) {
    std::size_t width = 0;
    for (const ReportRow& row : rows)
        width = std::max(width, row.name.size());
    std::wstring text;
    for (const ReportRow& row : rows) {
        text += row.result.passed ? L"PASS  " : L"FAIL  ";
        text +=
            row.name + std::wstring(width - row.name.size() + 2, L' ') + row.result.reason + L"\n";
        if (!row.nextStep.empty()) text += L"      Next step: " + row.nextStep + L"\n";
    }
    // Not recognised, the description is empty or only its service-pack suffix (" SP2").
    const bool recognised = !osDescription.empty() && osDescription.front() != L' ';
    text += std::wstring(L"Operating system: ") + (recognised ? L"" : L"(not recognised)") +
            osDescription + L"\n";
    return text;
}

std::wstring CopiedResults(const std::vector<ReportRow>& rows, const std::wstring& osDescription,
                           ProgramName program, const LocalTime& when) {
    const std::wstring time = DecimalText(when.year, 4) + L"-" + DecimalText(when.month, 2) + L"-" +
                              DecimalText(when.day, 2) + L" " + DecimalText(when.hour, 2) + L":" +
                              DecimalText(when.minute, 2) + L":" + DecimalText(when.second, 2);
    const std::wstring text = ReportText(rows, osDescription) + L"Program: " +
                              std::wstring(program.name) + L" " + std::wstring(program.version) +
                              L"\nChecked: " + time + L"\n";
    std::wstring crlf;
    for (wchar_t c : text)
        crlf += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
    return crlf;
}

} // namespace skelvane
