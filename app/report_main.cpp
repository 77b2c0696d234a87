// SkelvaneReport.exe: the six checks for administrators' tools, without a window.
#include "app/check_table.h"
#include "app/report.h"
#include "app/program_name.h"
#include "common/number_text.h"
#include "common/unique_handle.h"
#include "common/utf8.h"

#include <windows.h>
#include <process.h>

#include <algorithm>
#include <span>
#include <string_view>

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

// All of the text, in pieces a console of any Windows takes; 0, or the error that stopped it.
template <typename Unit, typename WriteSome>
DWORD WriteWhole(std::basic_string_view<Unit> text, WriteSome writeSome) {
    constexpr std::size_t kPiece = 8192;
    while (!text.empty()) {
        DWORD written = 0;
        if (!writeSome(text.data(), static_cast<DWORD>(std::min(text.size(), kPiece)), &written))
            return ::GetLastError() ? ::GetLastError() : DWORD{ERROR_WRITE_FAULT};
        if (written == 0) return ERROR_WRITE_FAULT; // would never end
        text.remove_prefix(written);
    }
    return 0;
}

// UTF-8 as Unicode to a console, as it is to a pipe or file, for the tools that read it.
DWORD Write(DWORD which, std::string_view utf8) {
    const HANDLE out = ::GetStdHandle(which);
    DWORD mode = 0;
    if (!::GetConsoleMode(out, &mode))
        return WriteWhole(utf8, [out](const char* data, DWORD size, DWORD* written) {
            return ::WriteFile(out, data, size, written, nullptr);
        });
    const int size = static_cast<int>(utf8.size());
    std::wstring text(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
    if (!text.empty())
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), int(text.size()));
    return WriteWhole(std::wstring_view(text),
                      [out](const wchar_t* data, DWORD size, DWORD* written) {
                          return ::WriteConsoleW(out, data, size, written, nullptr);
                      });
}

// Lines as text files on Windows end them.
std::string Lines(const std::wstring& text) {
    std::string crlf;
    for (char c : Utf8(text))
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}

// Where the output could not be written, standard error is the one place left to say so.
void Complain(const std::wstring& line) {
    Write(STD_ERROR_HANDLE, Lines(L"SkelvaneReport: " + line + L"\n"));
}

// The report's output; where it could not all be written, the exit code says so too.
int Print(std::string_view output, int exitCode) {
    const DWORD error = Write(STD_OUTPUT_HANDLE, output);
    if (!error) return exitCode;
    Complain(L"the report could not be written to standard output (Windows error " +
             DecimalText(error) + L").");
    return kExitNotWritten;
}

int Run(const std::vector<std::wstring>& arguments) {
    const ReportOptions options = ParseReportArguments(arguments);
    if (options.unknown) {
        Complain(L"unknown argument " + *options.unknown +
                 L"; SkelvaneReport --help explains the options.");
        return kExitUsage;
    }
    if (options.help) return Print(Lines(ReportUsage()), kExitAllPassed);
    if (options.version)
        return Print(Lines(L"SkelvaneReport " + std::wstring(kThisProgram.version) + L"\n"),
                     kExitAllPassed);
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
    return Print(options.json ? ReportJson(rows, os, kThisProgram) : Lines(ReportText(rows, os)),
                 ReportExitCode(rows));
}

} // namespace
} // namespace skelvane

int wmain(int argc, wchar_t** argv) {
    const auto notMade = [](std::string_view why) {
        try {
            skelvane::Complain(L"the report could not be made (" +
                               std::wstring(why.begin(), why.end()) + L").");
        } catch (...) { // not even that: the exit code alone says it
        }
        return skelvane::kExitNotWritten;
    };
    try {
        return skelvane::Run(std::vector<std::wstring>(argv + 1, argv + argc));
    } catch (const std::exception& e) { // the library's fixed texts, e.g. "std::bad_alloc"
        return notMade(e.what());
    } catch (...) {
        return notMade("unknown error");
    }
}
