#include "fetch_result.h"

namespace skelvane {

std::wstring FetchErrorText(std::uint32_t error) {
    switch (error) {
    case 12002:
        return L"the server did not answer in time";
    case 12005:
        return L"the address is not valid";
    case 12006:
        return L"the address uses an unsupported scheme";
    case 12007:
        return L"the server name could not be resolved";
    case 12017:
        return L"the request was cancelled";
    case 12029:
        return L"could not connect to the server";
    case 12030:
        return L"the connection was closed by the server";
    case 12152:
        return L"the server's answer was not valid HTTP";
    case 12156:
        return L"the redirect was refused";
    case 12157:
        return L"the secure channel could not be set up";
    case 12166:
        return L"the proxy auto-configuration script failed";
    case 12167:
        return L"the proxy auto-configuration script could not be downloaded";
    case 12175:
        return L"the server's certificate was not accepted";
    case 12044:
        return L"the server asks for a client certificate";
    case 12037:
        return L"the server's certificate has expired";
    case 12038:
        return L"the server's certificate is for another name";
    case 12045:
        return L"the server's certificate is not trusted";
    case 12057:
        return L"the server's certificate could not be checked for revocation";
    case 12169:
        return L"the server's certificate is not valid";
    case 12170:
        return L"the server's certificate has been revoked";
    case 8:
        return L"not enough memory";
    case 126:
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
