#include "checks/fetch_result.h"

namespace skelvane {

std::wstring FetchErrorText(std::uint32_t error) {
    switch (error) {
    case kErrorTimeout:
        return L"the server did not answer in time";
    case kErrorInvalidUrl:
        return L"the address is not valid";
    case kErrorUnrecognizedScheme:
        return L"the address uses an unsupported scheme";
    case kErrorNameNotResolved:
        return L"the server name could not be resolved";
    case kErrorOperationCancelled:
        return L"the request was cancelled";
    case kErrorCannotConnect:
        return L"could not connect to the server";
    case kErrorConnectionError:
        return L"the connection was closed by the server";
    case kErrorInvalidServerResponse:
        return L"the server's answer was not valid HTTP";
    case kErrorRedirectFailed:
        return L"the redirect was refused";
    case kErrorSecureFailure:
        return L"the secure channel could not be set up";
    case kErrorAutoProxyServiceError:
        return L"the proxy auto-configuration script failed";
    case kErrorUnableToDownloadScript:
        return L"the proxy auto-configuration script could not be downloaded";
    case kErrorSecureChannelError:
        return L"the server's certificate was not accepted";
    case kErrorClientAuthCertNeeded:
        return L"the server asks for a client certificate";
    case kErrorSecureCertDateInvalid:
        return L"the server's certificate has expired";
    case kErrorSecureCertCnInvalid:
        return L"the server's certificate is for another name";
    case kErrorSecureInvalidCa:
        return L"the server's certificate is not trusted";
    case kErrorSecureCertRevFailed:
        return L"the server's certificate could not be checked for revocation";
    case kErrorSecureInvalidCert:
        return L"the server's certificate is not valid";
    case kErrorSecureCertRevoked:
        return L"the server's certificate has been revoked";
    case kErrorOutOfMemory:
        return L"not enough memory";
    case kErrorModuleNotFound:
        return L"WinHTTP is not available on this system";
    default:
        return L"network error " + std::to_wstring(error);
    }
}

std::wstring DescribeFetch(const FetchResult& r, unsigned deadlineMs) {
    switch (r.outcome) {
    case FetchOutcome::Found:
        return L"page found with its marker: " + r.url;
    case FetchOutcome::NotFound:
        return L"page has no marker: " + r.url;
    case FetchOutcome::HttpError:
        return L"server answered HTTP " + std::to_wstring(r.status) + L": " + r.url;
    case FetchOutcome::TimedOut:
        return L"fetch timed out after " + std::to_wstring(deadlineMs / 1000) +
               (deadlineMs % 1000 ? L"." + std::to_wstring(deadlineMs % 1000 / 100) : L"") +
               L" s: " + r.url;
    case FetchOutcome::TooManyRedirects:
        return L"too many redirects: " + r.url;
    case FetchOutcome::BadAddress:
        return L"not an http or https address: " + r.url;
    case FetchOutcome::TransportError:
        return FetchErrorText(r.error) + L": " + r.url;
    case FetchOutcome::Encoded:
        return L"the server sent the page compressed, although asked not to: " + r.url;
    case FetchOutcome::ProxyNeedsPassword:
        return L"the proxy asks for a user name and password: " + r.url;
    case FetchOutcome::ProxyRefusedSignIn:
        return L"the proxy did not accept this user's Windows sign-in: " + r.url;
    case FetchOutcome::ServerNeedsSignIn:
        return L"the server asks for a user name and password (HTTP 401): " + r.url;
    }
    return L"fetch failed: " + r.url;
}

} // namespace skelvane
