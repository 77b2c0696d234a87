#include "checks/version_info.h"

#include "common/number_text.h"

namespace skelvane {

std::wstring& VersionField(VersionInfo& info, std::size_t index) {
    std::wstring* fields[] = {&info.CompanyName,  &info.FileDescription, &info.FileVersion,
                              &info.InternalName, &info.LegalCopyright,  &info.OriginalFileName,
                              &info.ProductName,  &info.ProductVersion};
    return *fields[index];
}

std::string TranslationTableName(const std::uint8_t* value, std::size_t length) {
    std::uint8_t entry[4] = {};
    for (std::size_t i = 0; i < 4 && i < length && value; ++i)
        entry[i] = value[i];
    const unsigned language = entry[0] | (entry[1] << 8);
    const unsigned codePage = entry[2] | (entry[3] << 8);
    return HexText(language, 4) + HexText(codePage, 4);
}

std::string_view BoundedText(const char* text, const char* end) {
    if (!text || !end || text >= end) return {};
    const char* stop = text;
    while (stop < end && *stop != '\0')
        ++stop;
    return {text, static_cast<std::size_t>(stop - text)};
}

} // namespace skelvane
