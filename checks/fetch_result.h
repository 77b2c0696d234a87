#pragma once
// How a fetch ended, the short text that says so, and what kind of failure it is.
#include "checks/check_result.h"

#include <cstdint>
#include <string>

namespace skelvane {

enum class FetchOutcome {
    Found,              // the page arrived and holds the marker
    NotFound,           // the page arrived without the marker
    HttpError,          // the server answered with an error status
    TimedOut,           // the overall deadline passed
    TooManyRedirects,   // more than the allowed redirects
    BadAddress,         // not an http or https address
    TransportError,     // name resolution, connection, TLS or protocol failure
    Encoded,            // the page came compressed although it was asked for plain
    ProxyNeedsPassword, // the proxy asks for sign-in by name and password only
    ProxyRefusedSignIn, // the proxy turned down the user's Windows sign-in
    ServerNeedsSignIn,  // the server itself answered 401
    UnconvertibleHost,  // a redirect to a host beyond ASCII, on a system that cannot convert it
};

struct FetchResult {
    FetchOutcome outcome = FetchOutcome::TransportError;
    std::uint32_t error = 0; // the system's error number, for TransportError
    int status = 0;          // the last HTTP status seen
    std::wstring url;        // the last address fetched
    // The last request went out whole. Over https it goes out through the secure channel
    // only, so a fetch that failed without it never had one up.
    bool requestSent = false;
};

// A short reason a person can act on, e.g. "fetch timed out after 60 s".
std::wstring DescribeFetch(const FetchResult& result, unsigned deadlineMs);

// What kind of failure the fetch is, for the next step; None when it found the marker.
FailureKind FetchFailureKind(const FetchResult& result);

// The HTTP stack's error numbers a fetch can end with, by the names WinHTTP gives them.
enum WinHttpError : std::uint32_t {
    kErrorOutOfMemory = 8,      // ERROR_NOT_ENOUGH_MEMORY
    kErrorModuleNotFound = 126, // ERROR_MOD_NOT_FOUND: no WinHTTP on the system
    kErrorTimeout = 12002,      // ERROR_WINHTTP_TIMEOUT
    kErrorInvalidUrl = 12005,   // ERROR_WINHTTP_INVALID_URL
    kErrorUnrecognizedScheme = 12006,
    kErrorNameNotResolved = 12007,
    kErrorOperationCancelled = 12017,
    kErrorCannotConnect = 12029,
    kErrorConnectionError = 12030,
    kErrorSecureCertDateInvalid = 12037,
    kErrorSecureCertCnInvalid = 12038,
    kErrorClientAuthCertNeeded = 12044,
    kErrorSecureInvalidCa = 12045,
    kErrorSecureCertRevFailed = 12057,
    kErrorInvalidServerResponse = 12152,
    kErrorRedirectFailed = 12156,
    kErrorSecureChannelError = 12157,
    kErrorBadAutoProxyScript = 12166,
    kErrorUnableToDownloadScript = 12167,
    kErrorSecureInvalidCert = 12169,
    kErrorSecureCertRevoked = 12170,
    kErrorSecureFailure = 12175, // some certificate error; which one, the status callback tells
    kErrorAutoProxyServiceError = 12178,
    kErrorSecureCertWrongUsage = 12179,
};

// The meaning of the HTTP stack's error numbers that a fetch can end with.
std::wstring FetchErrorText(std::uint32_t error);

} // namespace skelvane
