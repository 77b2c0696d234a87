#include "checks/fetch_proxy.h"

#include "common/lasting.h"
#include "common/unique_handle.h"

namespace skelvane {

namespace {

void Take(LPWSTR text, std::wstring& into) {
    const unique_global owned(text);
    if (text) into = text;
}

// The settings last read, and the system's notice that a key they are kept under has
// changed since. A key is watched anew before the settings are read again, so a change
// made during the read is not missed; a key that cannot be watched has them read every
// time. (A watch also ends with the thread that set it: the next fetch reads once more.)
class WatchedSettings {
  public:
    WatchedSettings() {
        ::InitializeCriticalSection(&lock_);
        constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
        ::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_NOTIFY, watches_[0].key.put());
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_NOTIFY, watches_[1].key.put());
    }

    ProxySettings Current(bool (*read)(ProxySettings&)) {
        const Locked locked(lock_);
        bool unchanged = true;
        for (Watch& watch : watches_) {
            if (watch.armed && ::WaitForSingleObject(watch.changed.get(), 0) == WAIT_TIMEOUT)
                continue;
            unchanged = false;
            watch.armed =
                watch.key && watch.changed &&
                ::RegNotifyChangeKeyValue(watch.key.get(), TRUE,
                                          REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                          watch.changed.get(), TRUE) == ERROR_SUCCESS;
        }
        if (!unchanged || !read_) read_ = read(settings_ = {});
        return settings_;
    }

  private:
    struct Watch {
        unique_hkey key;
        unique_kernel_handle changed{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
        bool armed = false;
    };
    CRITICAL_SECTION lock_;
    Watch watches_[2]; // the user's settings, and the machine's for where policy puts them
    ProxySettings settings_;
    bool read_ = false; // settings_ are the system's, not a failed read's empty ones
};

} // namespace

ProxySettings ProxySettings::Current() {
    return Lasting<WatchedSettings>().Current(&Read);
}

bool ProxySettings::Read(ProxySettings& settings) {
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
    if (!::WinHttpGetIEProxyConfigForCurrentUser(&config)) return false;
    settings.autoDetect_ = config.fAutoDetect != FALSE;
    Take(config.lpszAutoConfigUrl, settings.autoConfigUrl_);
    Take(config.lpszProxy, settings.proxy_);
    Take(config.lpszProxyBypass, settings.bypass_);
    return true;
}

void ProxySettings::ApplyAutomatic(HINTERNET session, HINTERNET request,
                                   const std::wstring& url) const {
    if (!autoDetect_ && autoConfigUrl_.empty()) return;
    WINHTTP_AUTOPROXY_OPTIONS options{};
    if (autoDetect_) {
        options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
        options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    if (!autoConfigUrl_.empty()) {
        options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = autoConfigUrl_.c_str();
    }
    options.fAutoLogonIfChallenged = TRUE;
    WINHTTP_PROXY_INFO info{};
    const bool found = ::WinHttpGetProxyForUrl(session, url.c_str(), &options, &info);
    const unique_global proxy(info.lpszProxy), bypass(info.lpszProxyBypass);
    if (found) ::WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info);
}

} // namespace skelvane
