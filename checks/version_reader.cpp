// Reading version resources through the system's version functions.
#include "../common/ansi.h"
#include "version_info.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace skelvane {

std::int32_t ReadVersionInfo(const std::wstring& path, VersionInfo& info) {
    info = VersionInfo{};
    try {
        const std::string file = ToAnsi(path);
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &ignored);
        if (size < 1) return kVersionFailed;
        std::vector<char> block(size);
        if (!::GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return kVersionFailed;
        const char* const blockEnd = block.data() + block.size();

        // Only the first translation entry counts; its length may be anything.
        void* translation = nullptr;
        UINT length = 0;
        if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length))
            return kVersionFailed;
        const char* entry = static_cast<const char*>(translation);
        if (entry < block.data() || entry >= blockEnd)
            length = 0;
        else
            length = static_cast<UINT>(std::min<std::ptrdiff_t>(length, blockEnd - entry));
        const std::string table =
            TranslationTableName(reinterpret_cast<const std::uint8_t*>(entry), length);

        for (std::size_t i = 0; i < std::size(kVersionKeys); ++i) {
            const std::string subBlock = "\\StringFileInfo\\" + table + "\\" + kVersionKeys[i];
            void* value = nullptr;
            UINT characters = 0;
            if (!::VerQueryValueA(block.data(), subBlock.c_str(), &value, &characters))
                return kVersionFailed;
            // Read whole, however long, but never past the block the value lives in.
            VersionField(info, i) =
                FromAnsi(BoundedText(static_cast<const char*>(value), blockEnd));
        }
        return kVersionRead;
    } catch (...) {
        return kVersionFailed;
    }
}

} // namespace skelvane
