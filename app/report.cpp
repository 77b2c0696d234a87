#include "app/report.h"

#include "common/number_text.h"
#include "common/shown_text.h"
#include "common/utf8.h"

#include <algorithm>

namespace skelvane {

ReportOptions ParseReportArguments(const std::vector<std::wstring>& arguments) {
    ReportOptions options;
    for (const std::wstring& a : arguments) {
        if (a == L"--json" || a == L"/json") {
            options.json = true;
        } else if (a == L"--help" || a == L"-h" || a == L"/?" || a == L"-?") {
            options.help = true;
        } else if (options.error.empty()) {
            options.error = ShownText(a); // it reaches the console
        }
    }
    return options;
}

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
    text += L"Operating system: " + (osDescription.empty() ? L"(not recognised)" : osDescription) +
            L"\n";
    return text;
}

std::string JsonString(std::wstring_view text) {
    std::string out = "\"";
    for (char c : Utf8(text)) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u" + HexText(static_cast<unsigned char>(c), 4);
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string ReportJson(const std::vector<ReportRow>& rows, const std::wstring& osDescription,
                       ProgramName program) {
    std::string json = "{\"passed\": ";
    json += ReportExitCode(rows) == kExitAllPassed ? "true" : "false";
    json += ", \"os\": " + JsonString(osDescription) + ", \"checks\": [";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ReportRow& row = rows[i];
        json += i ? ", " : "";
        json += "{\"id\": \"" + std::string(row.id) + "\", \"name\": " + JsonString(row.name) +
                ", \"passed\": " + (row.result.passed ? "true" : "false") +
                ", \"reason\": " + JsonString(row.result.reason);
        if (!row.nextStep.empty()) json += ", \"next_step\": " + JsonString(row.nextStep);
        json += "}";
    }
    // Fields are only ever added, after those older scripts know.
    return json + "], \"program\": {\"name\": " + JsonString(program.name) +
           ", \"version\": " + JsonString(program.version) +
           "}, \"schema\": " + Utf8(DecimalText(kReportSchema)) + "}\n";
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

std::wstring ReportUsage() {
    return L"SkelvaneReport: checks whether this computer can run the Quorrel Card software.\n"
           L"\n"
           L"Usage: SkelvaneReport [--json]\n"
           L"\n"
           L"Runs the six checks of the Skelvane window, without pauses and without a window,\n"
           L"and prints one line per check (PASS or FAIL and the reason), with the next step\n"
           L"on an indented line under each failure, then the operating system's description.\n"
           L"\n"
           L"  --json   print the same as one JSON object:\n"
           L"           {\"passed\": bool, \"os\": text,\n"
           L"            \"checks\": [{\"id\", \"name\", \"passed\", \"reason\",\n"
           L"                        \"next_step\" (failures only)}, ...],\n"
           L"            \"program\": {\"name\", \"version\"}, \"schema\": 1}\n"
           L"  --help   print this text\n"
           L"\n"
           L"Check ids: app_url, data_url, os, installer, dotnet, smartcard.\n"
           L"The two web checks run side by side; each may take up to 60 seconds when a\n"
           L"server does not answer.\n"
           L"\n"
           L"Exit code: 0 when all six checks pass, 1 when any fails, 2 for a bad argument.\n";
}

} // namespace skelvane
