#include "registry/association_plan.h"

#include "common/number_text.h"

namespace skelvane {

std::wstring QuoteExePath(const std::wstring& path) {
    const std::size_t first = path.find_first_not_of(L' ');
    std::wstring p = first == std::wstring::npos
                         ? std::wstring()
                         : path.substr(first, path.find_last_not_of(L' ') - first + 1);
    if (p.empty() || p.front() != L'"') p.insert(p.begin(), L'"');
    // A lone quotation mark is both first and last: an empty path stays one character.
    if (p.back() != L'"') p.push_back(L'"');
    return p;
}

namespace {
const wchar_t* OrDefault(const std::wstring& text, const wchar_t* fallback) {
    return text.empty() ? fallback : text.c_str();
}
} // namespace

std::vector<AssociationWrite> PlanExeAssociation(const ExeAssociation& a) {
    const std::wstring exe = QuoteExePath(a.sExePath);
    const std::wstring& c = a.sClassName;
    std::vector<AssociationWrite> plan{
        {L"." + a.sAssociation, c},
        {c, a.sClassDescription},
    };
    auto verb = [&](const wchar_t* key, const std::wstring& menu, const wchar_t* suffix) {
        plan.push_back({c + L"\\shell\\" + key, menu});
        plan.push_back({c + L"\\shell\\" + key + L"\\command", exe + suffix});
    };
    verb(L"open", OrDefault(a.sOpenMenuText, L"&Open"), L" \"%1\"");
    if (a.bSupportPrint) verb(L"print", OrDefault(a.sPrintMenuText, L"&Print"), L" /p \"%1\"");
    if (a.bSupportInstall)
        verb(L"add",
             a.sInstallMenuText.empty() ? L"&Install " + a.sAssociation : a.sInstallMenuText,
             L" /a \"%1\"");
    if (a.bSupportNew) verb(L"new", OrDefault(a.sNewMenuText, L"&New"), L" /n \"%1\"");
    if (a.lDefaultIconIndex >= 0)
        plan.push_back({c + L"\\DefaultIcon", exe + L"," + DecimalText(a.lDefaultIconIndex)});
    return plan;
}

std::vector<AssociationWrite> PlanAdditionalVerbs(const std::wstring& className,
                                                  const std::vector<std::wstring>& items) {
    std::vector<AssociationWrite> plan;
    for (std::size_t i = 0; i + 2 < items.size(); i += 3) {
        const std::wstring key = className + L"\\shell\\" + items[i];
        plan.push_back({key, items[i + 1]});
        plan.push_back({key + L"\\command", items[i + 2]});
    }
    return plan;
}

} // namespace skelvane
