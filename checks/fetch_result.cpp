#include "checks/fetch_result.h"

#include "common/number_text.h"

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
    case kErrorSecureChannelError:
        return L"the secure channel could not be set up";
    case kErrorBadAutoProxyScript:
        return L"the proxy auto-configuration script failed";
    case kErrorUnableToDownloadScript:
        return L"the proxy auto-configuration script could not be downloaded";
    case kErrorAutoProxyServiceError:
        return L"no proxy could be found for the address";
    case kErrorSecureFailure:
        return L"the server's certificate was not accepted";
    case kErrorSecureCertWrongUsage:
        return L"the server's certificate is not meant for this use";
    case kErrorClientAuthCertNeeded:
        return L"the server asks for a client certificate";
    case kErrorSecureCertDateInvalid:
        return L"the server's certificate has expired or is not yet valid";
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
        return L"network error " + DecimalText(error);
    }
}

std::wstring DescribeFetch(const FetchResult& r, unsigned deadlineMs) {
    switch (r.outcome) {
    case FetchOutcome::Found:
        return L"page found with its marker: " + r.url;
    case FetchOutcome::NotFound:
        return L"page has no marker: " + r.url;
    case FetchOutcome::HttpError:
        return L"server answered HTTP " + DecimalText(r.status) + L": " + r.url;
    case FetchOutcome::TimedOut:
        return L"fetch timed out after " + DecimalText(deadlineMs / 1000) +
               (deadlineMs % 1000 ? L"." + DecimalText(deadlineMs % 1000 / 100) : L"") + L" s: " +
               r.url;
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
    case FetchOutcome::UnconvertibleHost:
        return L"the server redirected to a name this Windows cannot look up: " + r.url;
    }
    return L"fetch failed: " + r.url;
}

FailureKind FetchFailureKind(const FetchResult& r) {
    switch (r.outcome) {
    case FetchOutcome::Found:
        return FailureKind::None;
    case FetchOutcome::NotFound:
    case FetchOutcome::HttpError:
    case FetchOutcome::TooManyRedirects:
    case FetchOutcome::Encoded:
    case FetchOutcome::ServerNeedsSignIn:
        return FailureKind::ServicePage;
    case FetchOutcome::TimedOut:
        return FailureKind::NoConnection;
    case FetchOutcome::ProxyNeedsPassword:
        return FailureKind::ProxyNeedsPassword;
    case FetchOutcome::ProxyRefusedSignIn:
        return FailureKind::ProxyRefusedSignIn;
    case FetchOutcome::BadAddress:
    case FetchOutcome::UnconvertibleHost:
        return FailureKind::WebOther;
    case FetchOutcome::TransportError:
        break;
    }
    switch (r.error) {
    case kErrorNameNotResolved:
        return FailureKind::NameNotResolved;
    case kErrorTimeout:
    case kErrorCannotConnect:
    case kErrorConnectionError:
        return FailureKind::NoConnection;
    case kErrorSecureCertDateInvalid:
        return FailureKind::CertificateDate;
    case kErrorSecureInvalidCa:
        return FailureKind::CertificateAuthority;
    case kErrorSecureCertCnInvalid:
        return FailureKind::CertificateName;
    case kErrorSecureCertRevFailed:
    case kErrorSecureInvalidCert:
    case kErrorSecureCertRevoked:
    case kErrorSecureFailure:
    case kErrorSecureCertWrongUsage:
        return FailureKind::CertificateOther;
    case kErrorSecureChannelError:
        return FailureKind::SecureChannel;
    case kErrorBadAutoProxyScript:
    case kErrorUnableToDownloadScript:
    case kErrorAutoProxyServiceError:
        return FailureKind::ProxyScript;
    default:
        return FailureKind::WebOther;
    }
}

} // namespace skelvane
