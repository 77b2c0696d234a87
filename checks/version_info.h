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

// The same read, telling a damaged resource, a file another program may be changing (held
// open for writing, or locked) and a name that stopped naming the file checked (moved or
// replaced) apart from a missing or incomplete one. The system's version functions read by
// name: they get the name only once the file under it has been checked, and only while
// it names that file just before their first read (what they read is not trusted until
// it names it again after their last). A file put in its place and taken away again
// wholly within their reads is not seen; that takes write access to the file's folder
// (for the installer's library, an administrator's).
enum class VersionRead { Read, Failed, Damaged, BeingWritten, Replaced };
VersionRead ReadVersionResource(const std::wstring& path, VersionInfo& info);

// For tests: called where another program could put another file under the name, once
// the file has been checked (0) and between the system's two reads (1). Null otherwise.
inline void (*gVersionReadPause)(int point) = nullptr;

} // namespace skelvane
