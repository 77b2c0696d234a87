#include "app/check_table.h"

#include "checks/modOS.h"

#include <exception>

namespace skelvane {

namespace {

std::wstring RowName(ControlId label) {
    std::wstring caption{LayoutOf(label).caption};
    if (!caption.empty() && caption.back() == L':') caption.pop_back();
    return caption;
}

// The one boundary for a check that throws, so every row still gets its verdict.
CheckResult Guarded(Prerequisites& checks, const CheckRow& row) {
    try {
        return (checks.*row.check)();
    } catch (const std::exception& e) {
        std::wstring what;
        for (const char* c = e.what(); *c; ++c)
            what += static_cast<wchar_t>(static_cast<unsigned char>(*c));
        return Fail(FailureKind::Unfinished, L"the check could not finish: " + what);
    } catch (...) {
        return Fail(FailureKind::Unfinished, L"the check could not finish");
    }
}

} // namespace

ReportRow RunCheckRow(Prerequisites& checks, const CheckRow& row, WindowsFamily family,
                      StepReader reader) {
    try {
        CheckResult result = Guarded(checks, row);
        std::wstring step = NextStep(result.kind, family, reader);
        return {row.id, RowName(row.label), std::move(result), std::move(step)};
    } catch (...) { // not even the row could be made (no memory): it has not passed
        ReportRow fallback{row.id, {}, {}, {}}; // makes nothing that could throw
        try {
            fallback.name = RowName(row.label);
            fallback.result = Fail(FailureKind::Unfinished, L"the check could not finish");
            fallback.nextStep = kGeneralStep;
        } catch (...) { // still no memory: the id and the verdict at least
        }
        return fallback;
    }
}

WindowsFamily ThisWindows() {
    const modOS::TrueVersion version = modOS::GetTrueVersion();
    return FamilyOf(version.major, version.minor, version.productType, version.build);
}

} // namespace skelvane
