#pragma once
// The registry class's decisions that need no registry: numbers, texts, byte work.
#include "registry/variant.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace skelvane {

inline constexpr std::int32_t kErrRegistry = 26001;
inline constexpr std::int32_t kObjectErrorBase = static_cast<std::int32_t>(0x80040000u);
inline constexpr std::int32_t kErrWriteRefused = kObjectErrorBase + 27049;      // 0x800469A9
inline constexpr std::int32_t kErrEnumerateSections = kObjectErrorBase + 27050; // 0x800469AA
inline constexpr std::int32_t kErrInvalidItems = kObjectErrorBase + 27052;      // 0x800469AC
inline constexpr std::int32_t kErrClassMissing = kObjectErrorBase + 27053;      // 0x800469AD

inline constexpr std::int32_t kHkeyClassesRoot = static_cast<std::int32_t>(0x80000000u);
inline constexpr std::int32_t kHkeyCurrentUser = static_cast<std::int32_t>(0x80000001u);
inline constexpr std::int32_t kHkeyLocalMachine = static_cast<std::int32_t>(0x80000002u);

// Type codes the value read and write know.
enum RegType : std::int32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegDwordBigEndian = 5,
    kRegLink = 6,
    kRegMultiSz = 7,
};

// A text holding "%" and a further "%" at least two places later is stored as
// REG_EXPAND_SZ, any other as REG_SZ.
std::int32_t StoredTextType(std::wstring_view text);

std::int32_t ReverseByteOrder(std::int32_t value);

// A 32-bit value from stored bytes, low byte first: missing bytes count as zero,
// bytes past the fourth are ignored.
std::int32_t DwordFromBytes(const ByteArray& bytes);

// The characters of a stored string: one terminating NUL is dropped when there is one;
// a value stored without it keeps all its characters.
std::string_view StoredText(const ByteArray& bytes);

// The root handle value as the platform wants it: 32-bit values sign-extend on 64-bit.
std::intptr_t RootHandleValue(std::int32_t classKey);

// Error descriptions; the class key is written in signed decimal.
std::wstring CreateKeyFailure(std::wstring_view section);
std::wstring DeleteKeyFailure(std::int32_t classKey, std::wstring_view section);
std::wstring OpenForDeleteFailure(std::int32_t classKey, std::wstring_view section);
std::wstring DeleteValueFailure(std::int32_t classKey, std::wstring_view section,
                                std::wstring_view valueName);
std::wstring WriteFailure(std::int32_t classKey, std::wstring_view section,
                          std::wstring_view valueName, const Variant& value);

inline constexpr wchar_t kInvalidItemsText[] =
    L"Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
    L"Name/Text/Command";
inline constexpr wchar_t kClassMissingText[] =
    L"Error - attempt to create additional associations before class defined.";

} // namespace skelvane
