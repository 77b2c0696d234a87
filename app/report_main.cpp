// SkelvaneReport.exe: the six checks for administrators' tools, without a window.
#include "app/check_table.h"
#include "app/report.h"
#include "common/ansi.h"
#include "common/unique_handle.h"
#include "common/utf8.h"

#include <windows.h>
#include <process.h>

#include <exception>

namespace skelvane {
namespace {

std::wstring RowName(ControlId label) {
    std::wstring caption{LayoutOf(label).caption};
    if (!caption.empty() && caption.back() == L':') caption.pop_back();
    return caption;
}

// The program's one boundary for a check that throws: it has not passed, and the
// report still covers every row.
CheckResult Guarded(Prerequisites& checks, const CheckRow& row) {
    try {
        return (checks.*row.check)();
    } catch (const std::exception& e) {
        return Fail(L"the check could not finish: " + FromAnsi(e.what()));
    } catch (...) {
        return Fail(L"the check could not finish");
    }
}

// A check run on a thread of its own, so the two web checks wait out their deadlines
// side by side: the report's worst case is one deadline, not two.
class Concurrently {
  public:
    Concurrently(Prerequisites& checks, const CheckRow& row) : checks_(checks), row_(row) {
        thread_.reset(
            reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &Run, this, 0, nullptr)));
        if (!thread_) result_ = Guarded(checks_, row_); // no thread to spare: run it here
    }
    CheckResult Result() {
        if (thread_) ::WaitForSingleObject(thread_.get(), INFINITE); // the fetch ends itself
        return result_;
    }

  private:
    static unsigned __stdcall Run(void* self) {
        auto* me = static_cast<Concurrently*>(self);
        me->result_ = Guarded(me->checks_, me->row_);
        return 0;
    }
    Prerequisites& checks_;
    const CheckRow& row_;
    CheckResult result_;
    unique_kernel_handle thread_;
};

// Unicode to a console; UTF-8 to a pipe or file, for the tools that read it.
void Write(DWORD which, const std::wstring& text) {
    const HANDLE out = ::GetStdHandle(which);
    DWORD mode = 0, written = 0;
    if (::GetConsoleMode(out, &mode)) {
        ::WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    std::string crlf;
    for (char c : Utf8(text))
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ::WriteFile(out, crlf.data(), static_cast<DWORD>(crlf.size()), &written, nullptr);
}

int Run(const std::vector<std::wstring>& arguments) {
    const ReportOptions options = ParseReportArguments(arguments);
    if (!options.error.empty()) {
        Write(STD_ERROR_HANDLE, L"SkelvaneReport: unknown argument \"" + options.error +
                                    L"\"; SkelvaneReport --help explains the options.\n");
        return kExitUsage;
    }
    if (options.help) {
        Write(STD_OUTPUT_HANDLE, ReportUsage());
        return kExitAllPassed;
    }
    Prerequisites checks;
    // The web rows lead the table; both fetch at once, the others run meanwhile.
    Concurrently app(checks, kCheckRows[0]);
    std::vector<ReportRow> rows;
    for (const CheckRow& row : kCheckRows)
        rows.push_back({row.id, RowName(row.label),
                        &row == &kCheckRows[0] ? CheckResult{} : Guarded(checks, row)});
    rows.front().result = app.Result();

    const std::wstring os = checks.os().description;
    if (options.json) {
        const std::string json = ReportJson(rows, os);
        DWORD written = 0;
        ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), json.data(), static_cast<DWORD>(json.size()),
                    &written, nullptr);
    } else {
        Write(STD_OUTPUT_HANDLE, ReportText(rows, os));
    }
    return ReportExitCode(rows);
}

} // namespace
} // namespace skelvane

int wmain(int argc, wchar_t** argv) {
    try {
        return skelvane::Run(std::vector<std::wstring>(argv + 1, argv + argc));
    } catch (...) {
        return skelvane::kExitSomeFailed; // not even the report could be made
    }
}
