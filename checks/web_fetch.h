#pragma once
// A plain GET over the system's HTTP stack, searched for a marker as it arrives.
#include "checks/fetch_result.h"
#include "checks/fetch_wait.h"
#include "checks/next_step.h"
#include "checks/url.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skelvane {

inline constexpr int kMaxRedirects = 10;

// The TLS version sets to offer on this system (see TlsProtocolChoices), from the
// version Windows really is, not the one it reports to older programs.
std::vector<std::uint32_t> SystemTlsChoices();

// The family of the Windows this is, from the version it really is.
WindowsFamily SystemFamily();

// The system's conversion of a host name beyond ASCII (kernel32, Vista and later); empty
// where there is none.
HostToAscii SystemHostToAscii();

// Blocks until `finished` (an event handle) is set or ms have passed.
WaitEnd WaitPlainly(void* finished, unsigned ms);

struct FetchOptions {
    unsigned deadlineMs = 60000;
    std::vector<std::uint32_t> tlsChoices = SystemTlsChoices();
    HostToAscii hostToAscii = SystemHostToAscii(); // for a redirect to a host beyond ASCII
    WindowsFamily family = SystemFamily();         // what a connection dropped in TLS means
    FetchWait wait;                                // unset: WaitPlainly
};

// Fetches url and looks for marker (ASCII letter case ignored). Ends, one way or
// another, within the deadline of the call; never throws.
FetchResult FetchAndFind(const std::wstring& url, std::string_view marker,
                         const FetchOptions& options);
inline FetchResult FetchAndFind(const std::wstring& url, std::string_view marker,
                                unsigned deadlineMs) {
    FetchOptions options;
    options.deadlineMs = deadlineMs;
    return FetchAndFind(url, marker, options);
}

} // namespace skelvane
