#pragma once
// The six checks and the probes they go through. The window and the console report
// both run them, so both give one verdict, with one reason, for each row.
#include "checks/check_result.h"
#include "checks/fetch_wait.h"
#include "checks/os_info.h"
#include "checks/version_info.h"

#include <string>

namespace skelvane {

class Prerequisites {
  public:
    virtual ~Prerequisites() = default;

    // The checks, in the order they run; each says pass or fail and why.
    CheckResult CheckAppUrl();
    CheckResult CheckDataUrl();
    CheckResult CheckOs(); // also keeps the system's record, for os()
    CheckResult CheckInstaller();
    CheckResult CheckDotNet();
    CheckResult CheckSmartCard();

    // True when url can be fetched and holds SearchString in any letter case; the
    // reason, when asked for, says what happened.
    bool TestUrl(const std::wstring& url, const std::wstring& SearchString,
                 std::wstring* reason = nullptr);
    std::wstring WindowsDirectory();
    bool DirExists(const std::wstring& DirName);
    bool IsInstallerOK(const std::wstring& Version);
    VersionRead ReadVersionInfo(const std::wstring& path, VersionInfo& info);

    // The system as the last CheckOs found it.
    const OsInfo& os() const { return os_; }

  protected:
    // Waits up to ms for a fetch to finish (`finished` is its event). A window waits
    // here while it keeps painting.
    virtual WaitEnd WaitForFetch(void* finished, unsigned ms);

  private:
    CheckResult CheckPage(const std::wstring& url, const std::wstring& marker);

    OsInfo os_;
};

} // namespace skelvane
