#pragma once
// The eight standard texts of a file's version resource, and the pure pieces
// of reading them out of a version block.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace skelvane {

struct VersionInfo {
    std::wstring CompanyName;
    std::wstring FileDescription;
    std::wstring FileVersion;
    std::wstring InternalName;
    std::wstring LegalCopyright;
    std::wstring OriginalFileName;
    std::wstring ProductName;
    std::wstring ProductVersion;
};

// The keys in reading order; each fills the field at the same position.
inline constexpr const char* kVersionKeys[] = {
    "CompanyName",    "FileDescription",  "FileVersion", "InternalName",
    "LegalCopyright", "OriginalFileName", "ProductName", "ProductVersion",
};
std::wstring& VersionField(VersionInfo& info, std::size_t index);

inline constexpr std::int32_t kVersionRead = 1;
inline constexpr std::int32_t kVersionFailed = 2;

// The string table named by the first translation entry, e.g. "040904B0". A
// translation shorter than four bytes counts its missing bytes as zero.
std::string TranslationTableName(const std::uint8_t* value, std::size_t length);

// The NUL-terminated text at `text`, never reading at or past `end`: a value
// whose terminator lies outside the block ends at the block's end.
std::string_view BoundedText(const char* text, const char* end);

// Reads the version resource of path into info; 1 when all eight keys were read, 2 otherwise.
std::int32_t ReadVersionInfo(const std::wstring& path, VersionInfo& info);

// The same read, telling a damaged resource (never handed to the system's version
// functions) and a file another program may be changing (held open for writing, or
// locked) apart from a missing or incomplete one.
enum class VersionRead { Read, Failed, Damaged, BeingWritten };
VersionRead ReadVersionResource(const std::wstring& path, VersionInfo& info);

} // namespace skelvane
