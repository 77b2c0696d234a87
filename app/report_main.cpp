// SkelvaneReport.exe: the six checks for administrators' tools, without a window.
#include "../checks/directory_probes.h"
#include "../checks/installer_check.h"
#include "../checks/modOS.h"
#include "../checks/web_check.h"
#include "../common/unique_handle.h"
#include "layout.h"
#include "report.h"

#include <windows.h>
#include <process.h>

#include <exception>
#include <cstring>
#include <functional>

namespace skelvane {
namespace {

std::wstring RowName(ControlId label) {
    std::wstring caption{LayoutOf(label).caption};
    if (!caption.empty() && caption.back() == L':') caption.pop_back();
    return caption;
}

// A check that cannot finish has not passed; the report still covers every row.
CheckResult Guarded(const std::function<CheckResult()>& check) {
    try {
        return check();
    } catch (const std::exception& e) {
        return Fail(L"the check could not finish: " +
                    std::wstring(e.what(), e.what() + std::strlen(e.what())));
    } catch (...) {
        return Fail(L"the check could not finish");
    }
}

// A check run on a thread of its own, so the two web checks wait out their deadlines
// side by side: the report's worst case is one deadline, not two.
class Concurrently {
  public:
    explicit Concurrently(CheckResult (*check)()) : check_(check) {
        thread_.reset(
            reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &Run, this, 0, nullptr)));
        if (!thread_) result_ = Guarded(check_); // no thread to spare: run it here
    }
    CheckResult Result() {
        if (thread_) ::WaitForSingleObject(thread_.get(), INFINITE); // the fetch ends itself
        return result_;
    }

  private:
    static unsigned __stdcall Run(void* self) {
        auto* me = static_cast<Concurrently*>(self);
        me->result_ = Guarded(me->check_);
        return 0;
    }
    CheckResult (*check_)();
    CheckResult result_;
    unique_kernel_handle thread_;
};

CheckResult AppPage() {
    return FetchAndSearch(AppPageUrl(), kAppPageMarker, kFetchDeadlineMs);
}
CheckResult DataPage() {
    return FetchAndSearch(DataPageUrl(), kDataPageMarker, kFetchDeadlineMs);
}

// Unicode to a console; UTF-8 to a pipe or file, for the tools that read it.
void Write(DWORD which, const std::wstring& text) {
    const HANDLE out = ::GetStdHandle(which);
    DWORD mode = 0, written = 0;
    if (::GetConsoleMode(out, &mode)) {
        ::WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    std::string bytes = Utf8(text);
    std::string crlf;
    for (char c : bytes)
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
    OsInfo os;
    Concurrently app(AppPage);
    const CheckResult data = Guarded(DataPage);
    const std::vector<ReportRow> rows{
        {"app_url", RowName(ControlId::Label4), app.Result()},
        {"data_url", RowName(ControlId::Label6), data},
        {"os", RowName(ControlId::Label2), Guarded([&os] {
             os = modOS::GetOsInfo();
             return OsVerdict(os);
         })},
        {"installer", RowName(ControlId::Label7), Guarded(CheckWindowsInstaller)},
        {"dotnet", RowName(ControlId::Label3), Guarded(CheckDotNetFramework)},
        {"smartcard", RowName(ControlId::Label5), Guarded(CheckReaderTools)},
    };
    if (options.json) {
        const std::string json = ReportJson(rows, os.description);
        DWORD written = 0;
        ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), json.data(), static_cast<DWORD>(json.size()),
                    &written, nullptr);
    } else {
        Write(STD_OUTPUT_HANDLE, ReportText(rows, os.description));
    }
    return ReportExitCode(rows);
}

} // namespace
} // namespace skelvane

int wmain(int argc, wchar_t** argv) {
    return skelvane::Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
