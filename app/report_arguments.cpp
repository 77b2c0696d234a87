// The console report's command line and its help: apart from the report's text, which the
// window's Copy results shares, so the window carries neither.
#include "app/report.h"

#include "common/number_text.h"
#include "common/shown_text.h"

#include <algorithm>

namespace skelvane {

namespace {

// Every spelling the report takes; compared ignoring letter case, as Windows tools do.
struct Spelling {
    std::wstring_view text;
    bool ReportOptions::*option;
};
constexpr Spelling kSpellings[] = {
    {L"--json", &ReportOptions::json},      {L"/json", &ReportOptions::json},
    {L"--help", &ReportOptions::help},      {L"/help", &ReportOptions::help},
    {L"-h", &ReportOptions::help},          {L"-?", &ReportOptions::help},
    {L"/?", &ReportOptions::help},          {L"--version", &ReportOptions::version},
    {L"/version", &ReportOptions::version},
};

bool SameIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c + 32) : c; };
    return std::ranges::equal(a, b, {}, lower, lower);
}

// Quoted and safe to show; a long argument (a script's runaway variable) is cut, with
// its length said after the quote, so a screen of it never hides the complaint.
std::wstring ShownArgument(std::wstring_view argument) {
    constexpr std::size_t kLongest = 60;
    if (argument.size() <= kLongest) return L"\"" + ShownText(argument) + L"\"";
    std::size_t cut = kLongest;
    if (argument[cut - 1] >= 0xD800 && argument[cut - 1] <= 0xDBFF) --cut; // a pair stays whole
    return L"\"" + ShownText(argument.substr(0, cut)) + L"\"... (" +
           DecimalText(static_cast<long long>(argument.size())) + L" characters)";
}

} // namespace

ReportOptions ParseReportArguments(const std::vector<std::wstring>& arguments) {
    ReportOptions options;
    for (const std::wstring& a : arguments) {
        const auto known = std::ranges::find_if(
            kSpellings, [&](const Spelling& s) { return SameIgnoringAsciiCase(a, s.text); });
        if (known != std::end(kSpellings)) {
            options.*(known->option) = true;
        } else if (!options.unknown) {
            options.unknown = ShownArgument(a); // it reaches the console
        }
    }
    return options;
}

std::wstring ReportUsage() {
    return L"SkelvaneReport: checks whether this computer can run the Quorrel Card software.\n"
           L"\n"
           L"Usage: SkelvaneReport [--json]\n"
           L"       SkelvaneReport --help | --version\n"
           L"\n"
           L"Runs the six checks of the Skelvane window, without pauses and without a window,\n"
           L"and prints one line per check (PASS or FAIL and the reason), with the next step\n"
           L"on an indented line under each failure, then the operating system's description.\n"
           L"\n"
           L"  --json     print the same as one JSON object:\n"
           L"             {\"passed\": bool, \"os\": text,\n"
           L"              \"checks\": [{\"id\", \"name\", \"passed\", \"reason\",\n"
           L"                          \"next_step\" (failures only)}, ...],\n"
           L"              \"program\": {\"name\", \"version\"}, \"schema\": 1}\n"
           L"  --help     print this text (also -h, -? or /?)\n"
           L"  --version  print the program's name and version\n"
           L"Each option may also be written /json, /help, /version, in any letter case.\n"
           L"\n"
           L"Check ids: app_url, data_url, os, installer, dotnet, smartcard.\n"
           L"The two web checks run side by side; each may take up to 60 seconds when a\n"
           L"server does not answer.\n"
           L"\n"
           L"Exit code: 0 when all six checks pass, 1 when any fails, 2 for an argument it\n"
           L"does not know (nothing is checked), 3 when the report could not be made or\n"
           L"written (one line on standard error says why).\n";
}

} // namespace skelvane
