// The registry class's document-type registration: the writes its plan makes, under both
// class roots.
#include "registry/cRegistry.h"

namespace skelvane {

void cRegistry::WriteBothClassRoots(const std::wstring& text) {
    classKey_ = kHkeyClassesRoot;
    Value(text);
    const std::wstring section = sectionKey_;
    classKey_ = kHkeyLocalMachine;
    sectionKey_ = L"SOFTWARE\\Classes\\" + section;
    Value(text);
    sectionKey_ = section;
}

void cRegistry::CreateEXEAssociation(const ExeAssociation& association) {
    for (const AssociationWrite& write : PlanExeAssociation(association)) {
        sectionKey_ = write.section;
        valueType_ = kRegSz;
        valueKey_.clear();
        WriteBothClassRoots(write.value);
    }
}

void cRegistry::CreateAdditionalEXEAssociations(const std::wstring& sClassName,
                                                const std::vector<Variant>& vItems) {
    if (vItems.size() % 3 != 0) Raise(kErrInvalidItems, kInvalidItemsText);
    sectionKey_ = sClassName;
    if (!KeyExists()) Raise(kErrClassMissing, kClassMissingText);
    std::vector<std::wstring> items;
    for (const Variant& item : vItems)
        items.push_back(ToText(item));
    for (const AssociationWrite& write : PlanAdditionalVerbs(sClassName, items)) {
        valueType_ = kRegSz;
        sectionKey_ = write.section;
        valueKey_.clear();
        try {
            WriteBothClassRoots(write.value);
        } catch (const RegistryError&) {
            // One refused write does not stop the others.
        }
    }
}

} // namespace skelvane
