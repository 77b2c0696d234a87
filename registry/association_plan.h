#pragma once
// The keys and default values a document-type registration writes, in order.
#include <cstdint>
#include <string>
#include <vector>

namespace skelvane {

struct AssociationWrite {
    std::wstring section; // key below the class root
    std::wstring value;   // its unnamed default value
    bool operator==(const AssociationWrite&) const = default;
};

struct ExeAssociation {
    std::wstring sExePath;
    std::wstring sClassName;
    std::wstring sClassDescription;
    std::wstring sAssociation;
    std::wstring sOpenMenuText = L"&Open";
    bool bSupportPrint = false;
    std::wstring sPrintMenuText = L"&Print";
    bool bSupportNew = false;
    std::wstring sNewMenuText = L"&New";
    bool bSupportInstall = false;
    std::wstring sInstallMenuText;
    std::int32_t lDefaultIconIndex = -1;
};

// The program path trimmed of spaces and enclosed in double quotation marks.
std::wstring QuoteExePath(const std::wstring& path);

std::vector<AssociationWrite> PlanExeAssociation(const ExeAssociation& a);

// Verb name, menu text and command triples; the command is written unchanged.
std::vector<AssociationWrite> PlanAdditionalVerbs(const std::wstring& className,
                                                  const std::vector<std::wstring>& items);

} // namespace skelvane
