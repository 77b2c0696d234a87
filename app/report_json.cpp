// The console report as one JSON object (the window never makes it).
#include "app/report.h"

#include "common/number_text.h"
#include "common/utf8.h"

namespace skelvane {

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

} // namespace skelvane
