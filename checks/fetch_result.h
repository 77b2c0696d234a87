#pragma once
// How a fetch ended, and the short text that says so.
#include <cstdint>
#include <string>

namespace skelvane {

enum class FetchOutcome {
    Found,              // the page arrived and holds the marker
    NotFound,           // the page arrived without the marker
    HttpError,          // the server answered with an error status
    TimedOut,           // the overall deadline passed
    TooManyRedirects,   // more than the allowed redirects, or a loop
    BadAddress,         // not an http or https address
    TransportError,     // name resolution, connection, TLS or protocol failure
    Encoded,            // the page came compressed although it was asked for plain
    ProxyNeedsPassword, // the proxy asks for sign-in by name and password only
    ProxyRefusedSignIn, // the proxy turned down the user's Windows sign-in
    ServerNeedsSignIn,  // the server itself answered 401
};

struct FetchResult {
    FetchOutcome outcome = FetchOutcome::TransportError;
    std::uint32_t error = 0; // the system's error number, for TransportError
    int status = 0;          // the last HTTP status seen
    std::wstring url;        // the last address fetched
};

// A short reason a person can act on, e.g. "fetch timed out after 60 s".
std::wstring DescribeFetch(const FetchResult& result, unsigned deadlineMs);

// The meaning of the HTTP stack's error numbers that a fetch can end with.
std::wstring FetchErrorText(std::uint32_t error);

} // namespace skelvane
