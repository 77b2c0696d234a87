#pragma once
// General-purpose registry access: an object names one place in the registry
// through its properties; each operation opens, works and closes by itself.
#include "association_plan.h"
#include "registry_rules.h"
#include "variant.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace skelvane {

// Raised by the write, create and delete operations.
class RegistryError : public std::runtime_error {
  public:
    RegistryError(std::int32_t number, std::wstring source, std::wstring description);
    std::int32_t Number() const { return number_; }
    const std::wstring& Source() const { return source_; }
    const std::wstring& Description() const { return description_; }

  private:
    std::int32_t number_;
    std::wstring source_;
    std::wstring description_;
};

class cRegistry {
  public:
    bool KeyExists() const;
    bool CreateKey();
    bool DeleteKey();
    bool DeleteValue();
    Variant Value();
    void Value(const Variant& vValue);
    // Names at positions 1..count are at indexes 0..count-1.
    bool EnumerateValues(std::vector<std::wstring>& sKeyNames, std::int32_t& iKeyCount) const;
    bool EnumerateSections(std::vector<std::wstring>& sSect, std::int32_t& iSectCount) const;
    void CreateEXEAssociation(const ExeAssociation& association);
    // Raises kErrInvalidItems or kErrClassMissing (writing nothing) so the caller learns
    // of them; a single write that fails later is skipped and the rest go on.
    void CreateAdditionalEXEAssociations(const std::wstring& sClassName,
                                         const std::vector<Variant>& vItems);

    std::int32_t ValueType() const { return valueType_; }
    void ValueType(std::int32_t eValueType) { valueType_ = eValueType; }
    std::int32_t ClassKey() const { return classKey_; }
    void ClassKey(std::int32_t eKey) { classKey_ = eKey; }
    const std::wstring& SectionKey() const { return sectionKey_; }
    void SectionKey(const std::wstring& sSectionKey) { sectionKey_ = sSectionKey; }
    const std::wstring& ValueKey() const { return valueKey_; }
    void ValueKey(const std::wstring& sValueKey) { valueKey_ = sValueKey; }
    const Variant& Default() const { return default_; }
    void Default(const Variant& vDefault) { default_ = vDefault; }

    // The program's executable name without extension, followed by ".cRegistry".
    static std::wstring ErrorSource();

  private:
    void WriteBothClassRoots(const std::wstring& text);
    [[noreturn]] void Raise(std::int32_t number, std::wstring description) const;

    std::int32_t classKey_ = 0;
    std::wstring sectionKey_;
    std::wstring valueKey_;
    Variant default_;
    std::int32_t valueType_ = 0;
};

} // namespace skelvane
