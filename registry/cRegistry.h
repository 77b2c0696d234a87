#pragma once
// General-purpose registry access: an object names one place in the registry
// through its properties; each operation opens, works and closes by itself.
#include "registry/association_plan.h"
#include "registry/registry_rules.h"
#include "registry/variant.h"

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace skelvane {

// Raised by the write, create and delete operations: the error's own number, source
// and description, and, like std::system_error, the Windows status code it came from
// (0 where no system call failed).
class RegistryError : public std::exception {
  public:
    RegistryError(std::int32_t number, std::wstring source, std::wstring description,
                  long status = 0);
    const char* what() const noexcept override { return what_.c_str(); } // in the ANSI code page
    std::int32_t Number() const { return number_; }
    const std::wstring& Source() const { return source_; }
    const std::wstring& Description() const { return description_; }
    long Status() const { return status_; }

  private:
    std::int32_t number_;
    std::wstring source_;
    std::wstring description_;
    long status_;
    std::string what_;
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
    [[noreturn]] void Raise(std::int32_t number, std::wstring description, long status = 0) const;

    std::int32_t classKey_ = 0;
    std::wstring sectionKey_;
    std::wstring valueKey_;
    Variant default_;
    std::int32_t valueType_ = 0;
};

} // namespace skelvane
