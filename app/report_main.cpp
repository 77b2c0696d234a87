// SkelvaneReport.exe: the six checks for administrators' tools, without a window.
#include "app/check_table.h"
#include "app/report.h"
#include "app/program_name.h"
#include "common/unique_handle.h"
#include "common/utf8.h"

#include <windows.h>
#include <process.h>

#include <span>

namespace skelvane {
namespace {

// A row run on a thread of its own, so the two web checks wait out their deadlines side
// by side: the report's worst case is one deadline, not two. The thread writes into this
// object, so the object never goes before the thread does, whatever throws.
class Concurrently {
  public:
    Concurrently(Prerequisites& checks, const CheckRow& row, WindowsFamily family)
        : checks_(checks), row_(row), family_(family) {
        thread_.reset(
            reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &Run, this, 0, nullptr)));
        if (!thread_) // no thread: run it here
            result_ = RunCheckRow(checks_, row_, family_, StepReader::Report);
    }
    ~Concurrently() { Join(); }
    Concurrently(const Concurrently&) = delete;
    Concurrently& operator=(const Concurrently&) = delete;

    ReportRow Result() {
        Join();
        return result_;
    }

  private:
    void Join() {
        if (thread_) ::WaitForSingleObject(thread_.get(), INFINITE); // the fetch ends itself
        thread_.reset();
    }
    static unsigned __stdcall Run(void* self) {
        auto* me = static_cast<Concurrently*>(self);
        me->result_ = RunCheckRow(me->checks_, me->row_, me->family_, StepReader::Report);
        return 0;
    }
    Prerequisites& checks_;
    const CheckRow& row_;
    const WindowsFamily family_;
    ReportRow result_;
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
    const WindowsFamily family = ThisWindows();
    // The web rows lead the table; both fetch at once, the others run meanwhile.
    Concurrently app(checks, kCheckRows[0], family);
    std::vector<ReportRow> rows;
    rows.reserve(std::size(kCheckRows));
    rows.push_back({}); // the first row's place, filled when its thread is done
    for (const CheckRow& row : std::span(kCheckRows).subspan(1))
        rows.push_back(RunCheckRow(checks, row, family, StepReader::Report));
    rows.front() = app.Result();

    const std::wstring os = checks.os().description;
    if (options.json) {
        const std::string json = ReportJson(rows, os, kThisProgram);
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
