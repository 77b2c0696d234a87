// Document-type registrations built from any texts and flags.
#include "registry/association_plan.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skelvane;
    if (size < 2) return 0;
    std::vector<std::wstring> parts(1);
    for (std::size_t i = 2; i + 1 < size; i += 2) {
        const wchar_t c = static_cast<wchar_t>(data[i] | data[i + 1] << 8);
        if (c == L'|')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    auto part = [&](std::size_t i) { return i < parts.size() ? parts[i] : std::wstring(); };
    ExeAssociation a;
    a.sExePath = part(0), a.sClassName = part(1), a.sClassDescription = part(2);
    a.sAssociation = part(3), a.sInstallMenuText = part(4);
    a.bSupportPrint = data[0] & 1, a.bSupportNew = data[0] & 2, a.bSupportInstall = data[0] & 4;
    a.lDefaultIconIndex = static_cast<std::int8_t>(data[1]);
    // The extension first, then only keys under the class (an empty class name is the
    // caller's to give: its keys then stand at the root).
    const std::vector<AssociationWrite> plan = PlanExeAssociation(a);
    if (plan.size() < 4 || plan[0].section != L"." + a.sAssociation) std::abort();
    for (std::size_t i = 1; i < plan.size(); ++i)
        if (!plan[i].section.starts_with(a.sClassName)) std::abort();
    PlanAdditionalVerbs(a.sClassName, parts);
    QuoteExePath(a.sExePath);
    return 0;
}
