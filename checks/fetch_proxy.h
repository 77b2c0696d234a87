#pragma once
// The user's own proxy settings, as the browser control panel keeps them, for the fetch.
#include <windows.h>
#include <winhttp.h>

#include <string>

namespace skelvane {

class ProxySettings {
  public:
    // The settings as they are now. Reading them costs more than a small page's whole
    // fetch from a nearby server (under Wine), so they are read again only once something
    // under the keys they live in has changed.
    static ProxySettings Current();

    bool UsesNamedProxy() const { return !proxy_.empty(); }
    const wchar_t* Proxy() const { return proxy_.empty() ? WINHTTP_NO_PROXY_NAME : proxy_.c_str(); }
    const wchar_t* Bypass() const {
        return bypass_.empty() ? WINHTTP_NO_PROXY_BYPASS : bypass_.c_str();
    }

    // Where a script or discovery decides the proxy, it is asked per address.
    void ApplyAutomatic(HINTERNET session, HINTERNET request, const std::wstring& url) const;

  private:
    static bool Read(ProxySettings& settings); // false when the system could not say
    bool autoDetect_ = false;
    std::wstring autoConfigUrl_, proxy_, bypass_;
};

} // namespace skelvane
