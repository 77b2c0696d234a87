#include "checks/prerequisites.h"

#include "checks/directory_probes.h"
#include "checks/installer_check.h"
#include "checks/installer_version.h"
#include "checks/modOS.h"
#include "checks/path_template.h"
#include "checks/program_files.h"
#include "checks/reader_tools.h"
#include "checks/web_check.h"
#include "checks/web_fetch.h"
#include "common/ansi.h"
#include "common/registry_text.h"
#include "registry/cRegistry.h"

namespace skelvane {

CheckResult Prerequisites::CheckAppUrl() {
    return CheckPage(AppPageUrl(), kAppPageMarker);
}

CheckResult Prerequisites::CheckDataUrl() {
    return CheckPage(DataPageUrl(), kDataPageMarker);
}

CheckResult Prerequisites::CheckPage(const std::wstring& url, const std::wstring& marker) {
    return FetchAndSearch(url, marker, kFetchDeadlineMs, [this](void* finished, unsigned ms) {
        return WaitForFetch(finished, ms);
    });
}

CheckResult Prerequisites::CheckOs() {
    os_ = modOS::GetOsInfo();
    return OsVerdict(os_);
}

CheckResult Prerequisites::CheckInstaller() {
    std::wstring location;
    {
        cRegistry registry;
        registry.ClassKey(kHkeyLocalMachine);
        registry.SectionKey(kInstallerKey);
        registry.ValueKey(kInstallerValue);
        registry.ValueType(kRegSz);
        location = ToText(registry.Value());
    }
    // Joined as they are: a trailing backslash doubles, an empty location leaves the root.
    const std::wstring library = location + kInstallerLibrary;
    // The location came through the system code page, where '?' stands in for a character
    // it has no form for; the search and the version functions take the path that way too.
    if (library.find(L'?') != std::wstring::npos || !ToAnsiExactly(library))
        return Fail(FailureKind::InstallerBroken,
                    L"the path holds a character the system's code page cannot represent: " +
                        library);
    // Nor may it have put a look-alike in place of a character it lacks (A with macron read
    // as A, naming another folder): the value is read once more as stored, and must agree.
    if (const std::optional<std::wstring> stored =
            ReadRegistryText(HKEY_LOCAL_MACHINE, kInstallerKey, kInstallerValue);
        stored && *stored != location)
        return Fail(FailureKind::InstallerBroken,
                    L"the path reads as another in the system's code page: " + *stored +
                        kInstallerLibrary + L" as " + library);
    if (FindNormalFile(library).empty())
        return Fail(FailureKind::InstallerBroken, L"msi.dll not found: " + library);

    VersionInfo info;
    const VersionRead read = ReadVersionInfo(library, info);
    if (read == VersionRead::Damaged)
        return Fail(FailureKind::InstallerBroken, L"the version resource is damaged: " + library);
    if (read == VersionRead::Replaced)
        return Fail(FailureKind::InstallerBroken,
                    L"msi.dll was moved or replaced while it was read: " + library);
    if (read == VersionRead::BeingWritten)
        return Fail(FailureKind::InstallerBroken,
                    L"msi.dll is held open for writing, or locked, by another program: " + library);
    if (info.FileVersion.empty())
        return Fail(FailureKind::InstallerBroken, L"msi.dll has no file version: " + library);
    if (IsInstallerOK(info.FileVersion)) return Pass(L"msi.dll version " + info.FileVersion);
    return Fail(FailureKind::InstallerTooOld,
                L"msi.dll version " + info.FileVersion + L" is below 3.1");
}

CheckResult Prerequisites::CheckDotNet() {
    const std::wstring path = ReplaceAll(kDotNetPathTemplate, kWindowsToken, WindowsDirectory());
    if (DirExists(path)) return Pass(L"directory found: " + path);
    return Fail(FailureKind::DotNetMissing, L"directory not found: " + path);
}

CheckResult Prerequisites::CheckSmartCard() {
    // Every place is probed, every time, in order; the first found names the pass.
    const ProgramFilesFolders system = SystemProgramFiles();
    std::wstring found, looked;
    for (const std::wstring& place : ReaderToolsPlaces(system.x86, system.x64)) {
        // The probe takes the path in the system code page, where a name with no exact form
        // would be a look-alike's: another folder.
        const bool exists = ToAnsiExactly(place) && DirExists(place);
        if (exists && found.empty()) found = place;
        looked += (looked.empty() ? L"" : L" or ") + place;
    }
    if (!found.empty()) return Pass(L"directory found: " + found);
    return Fail(FailureKind::ReaderToolsMissing, L"directory not found: " + looked);
}

bool Prerequisites::TestUrl(const std::wstring& url, const std::wstring& SearchString,
                            std::wstring* reason) {
    const CheckResult result = CheckPage(url, SearchString);
    if (reason) *reason = result.reason;
    return result.passed;
}

std::wstring Prerequisites::WindowsDirectory() {
    return skelvane::WindowsDirectory();
}

bool Prerequisites::DirExists(const std::wstring& DirName) {
    return skelvane::DirExists(DirName);
}

bool Prerequisites::IsInstallerOK(const std::wstring& Version) {
    return skelvane::IsInstallerOK(Version);
}

VersionRead Prerequisites::ReadVersionInfo(const std::wstring& path, VersionInfo& info) {
    return ReadVersionResource(path, info);
}

WaitEnd Prerequisites::WaitForFetch(void* finished, unsigned ms) {
    return WaitPlainly(finished, ms);
}

} // namespace skelvane
