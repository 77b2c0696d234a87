#pragma once
// The console report: the six checks' results as text or JSON, and the exit code.
#include "checks/check_result.h"

#include <string>
#include <string_view>
#include <vector>

namespace skelvane {

struct ReportRow {
    std::string_view id; // stable key for scripts, e.g. "app_url"
    std::wstring name;   // the row's caption in the window
    CheckResult result;
};

struct ReportOptions {
    bool json = false;
    bool help = false;
    std::wstring error; // an argument that was not understood
};

inline constexpr int kExitAllPassed = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;

ReportOptions ParseReportArguments(const std::vector<std::wstring>& arguments);
int ReportExitCode(const std::vector<ReportRow>& rows);

std::wstring ReportText(const std::vector<ReportRow>& rows, const std::wstring& osDescription);
std::string ReportJson(const std::vector<ReportRow>& rows, const std::wstring& osDescription);
std::wstring ReportUsage();

// A JSON string literal, quotes included.
std::string JsonString(std::wstring_view text);

} // namespace skelvane
