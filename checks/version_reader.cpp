// Reading version resources through the system's version functions, once the file's
// own bytes have shown that those functions can do so safely.
#include "common/ansi.h"
#include "common/system_library.h"
#include "common/unique_handle.h"
#include "checks/version_info.h"
#include "checks/version_resource.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace skelvane {

namespace {

// What the file says of its version resource, from a read-only view of exactly the bytes
// it was measured to have: a file cut short since then cannot be mapped at that size.
VersionResourceFacts InspectFile(HANDLE file) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > SIZE_MAX)
        return {};
    const unique_kernel_handle mapping(
        ::CreateFileMappingW(file, nullptr, PAGE_READONLY, static_cast<DWORD>(size.QuadPart >> 32),
                             static_cast<DWORD>(size.QuadPart), nullptr));
    if (!mapping) return {};
    const auto bytes = static_cast<std::size_t>(size.QuadPart);
    const unique_view view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, bytes));
    if (!view) return {};
    return InspectVersionResource({static_cast<const std::uint8_t*>(view.get()), bytes});
}

struct FileIdentity {
    DWORD volume = 0, indexHigh = 0, indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file, &info)) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// True while path names the file whose identity is `held`: its volume and its index there.
// (On FAT the index is where the name's entry lies in its folder, so there it shows only
// that the name was not moved elsewhere.)
bool NamesFile(const std::wstring& path, const std::optional<FileIdentity>& held) {
    const unique_file named(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
    return held && named && IdentityOf(named.get()) == held;
}

void Pause(int point) {
    if (gVersionReadPause) gVersionReadPause(point);
}

} // namespace

VersionRead ReadVersionResource(const std::wstring& path, VersionInfo& info) {
    info = VersionInfo{};
    try {
        // Held open until the system has read it, others allowed to read, rename or delete
        // it (as the loader allows) but not to write: its bytes cannot change in between.
        // Putting another file in its place takes write access to its folder (for the
        // installer row, one the registry's administrators chose), and is looked for below.
        const unique_file file(::CreateFileW(path.c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return ::GetLastError() == ERROR_SHARING_VIOLATION ? VersionRead::BeingWritten
                                                               : VersionRead::Failed;
        const VersionResourceFacts facts = InspectFile(file.get());
        if (facts.state == VersionResourceState::Absent) return VersionRead::Failed;
        if (facts.state == VersionResourceState::Damaged) return VersionRead::Damaged;

        // The system reads the file by its name in the system code page: a name with no
        // exact form there would be another file's.
        const std::optional<std::string> ansiName = ToAnsiExactly(path);
        if (!ansiName) return VersionRead::Failed;
        const std::string& name = *ansiName;
        const unique_module functions(LoadSystemLibrary(L"version.dll"));
        if (!functions) return VersionRead::Failed;
        // Others may rename the file: the name must still be its name when the system reads.
        const std::optional<FileIdentity> checked = IdentityOf(file.get());
        Pause(0);
        if (!NamesFile(path, checked)) return VersionRead::Replaced;
        DWORD ignored = 0;
        const DWORD reported = ::GetFileVersionInfoSizeA(name.c_str(), &ignored);
        if (reported < 1) return VersionRead::Failed;
        if (!ReportedSizeIsSane(reported, facts)) return VersionRead::Damaged;
        const DWORD size = VersionBufferSize(reported, facts);
        std::vector<char> block(size);
        Pause(1);
        if (!::GetFileVersionInfoA(name.c_str(), 0, size, block.data())) return VersionRead::Failed;
        if (!NamesFile(path, checked)) return VersionRead::Replaced;
        // The file may have changed since it was looked at: what was read must be sound
        // too, with room behind it for the system's conversion of its texts.
        const std::span<const std::uint8_t> read(
            reinterpret_cast<const std::uint8_t*>(block.data()), (size - 4) / 2);
        if (!VersionBlockIsSound(read)) return VersionRead::Damaged;
        const char* const blockEnd = block.data() + block.size();

        // Only the first translation entry counts; its length may be anything.
        void* translation = nullptr;
        UINT length = 0;
        if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length))
            return VersionRead::Failed;
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
                return VersionRead::Failed;
            // Read whole, however long, but never past the block the value lives in.
            VersionField(info, i) =
                FromAnsi(BoundedText(static_cast<const char*>(value), blockEnd));
        }
        return VersionRead::Read;
    } catch (...) {
        return VersionRead::Failed;
    }
}

std::int32_t ReadVersionInfo(const std::wstring& path, VersionInfo& info) {
    return ReadVersionResource(path, info) == VersionRead::Read ? kVersionRead : kVersionFailed;
}

} // namespace skelvane
