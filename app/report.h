#pragma once
// The six checks' results as text or JSON, and the exit code: for the console report and
// for what the window copies to the clipboard.
#include "checks/check_result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skelvane {

struct ReportRow {
    std::string_view id; // stable key for scripts, e.g. "app_url"
    std::wstring name;   // the row's caption in the window
    CheckResult result;
    std::wstring nextStep; // empty on a pass
};

struct ReportOptions {
    bool json = false;
    bool help = false;
    bool version = false;
    // The first argument not understood, quoted and made safe to show; a long one is cut.
    std::optional<std::wstring> unknown;
};

inline constexpr int kExitAllPassed = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotWritten = 3; // the report could not be made or written

// The JSON's shape: raised only when a field changes its meaning or goes; new fields
// come without a new number.
inline constexpr int kReportSchema = 1;

// The program as the JSON and the copied results name it.
struct ProgramName {
    std::wstring_view name, version;
};

// A local date and time, as the copied results carry it.
struct LocalTime {
    int year, month, day, hour, minute, second;
};

// Each option as --name or /name, in any letter case; help also as -h, -? and /?.
ReportOptions ParseReportArguments(const std::vector<std::wstring>& arguments);
int ReportExitCode(const std::vector<ReportRow>& rows);

// One line per row (verdict, name, reason), an indented next step under each failure,
// then the system's description; lines end with "\n".
std::wstring ReportText(const std::vector<ReportRow>& rows, const std::wstring& osDescription);
std::string ReportJson(const std::vector<ReportRow>& rows, const std::wstring& osDescription,
                       ProgramName program);
std::wstring ReportUsage();

// What Copy results puts on the clipboard: the report's lines, then the program and when
// the checks ran, each line ended with "\r\n" as plain text on Windows is.
std::wstring CopiedResults(const std::vector<ReportRow>& rows, const std::wstring& osDescription,
                           ProgramName program, const LocalTime& when);

// A JSON string literal, quotes included.
std::string JsonString(std::wstring_view text);

} // namespace skelvane
