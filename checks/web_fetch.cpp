#include "checks/web_fetch.h"

#include "checks/fetch_policy.h"
#include "checks/fetch_proxy.h"
#include "checks/fetch_workers.h"
#include "checks/modOS.h"
#include "checks/stream_search.h"
#include "checks/url.h"
#include "common/ansi.h"
#include "common/deadline.h"
#include "common/system_function.h"
#include "common/system_library.h"
#include "common/unique_handle.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <memory>

namespace skelvane {

namespace {

struct hinternet_traits {
    using type = HINTERNET;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::WinHttpCloseHandle(h); }
};
using unique_hinternet = unique_handle<hinternet_traits>;

} // namespace

// XP has the conversion only from an optional download, so there it counts as missing. The
// host name rules (letters, digits and hyphens) refuse what would become a delimiter once
// mapped, as a full-width slash does. Each label goes alone: Wine's conversion applies
// those rules to the dots between labels too (and to every character beyond ASCII, so
// under Wine only names that map to ASCII convert).
HostToAscii SystemHostToAscii() {
    using IdnToAsciiFunction = int(WINAPI*)(DWORD, const wchar_t*, int, wchar_t*, int);
    const auto convert = SystemFunction<IdnToAsciiFunction>(L"kernel32.dll", "IdnToAscii");
    if (!convert) return {};
    const HostToAscii label = [convert](std::wstring_view text) -> std::optional<std::wstring> {
        constexpr DWORD kHostNameRules = 0x02; // IDN_USE_STD3_ASCII_RULES
        const int length = static_cast<int>(text.size());
        const int size = convert(kHostNameRules, text.data(), length, nullptr, 0);
        if (size <= 0) return std::nullopt;
        std::wstring ascii(static_cast<std::size_t>(size), L'\0');
        if (convert(kHostNameRules, text.data(), length, ascii.data(), size) != size)
            return std::nullopt;
        return ascii;
    };
    return [label](std::wstring_view host) { return HostByLabels(host, label); };
}

namespace {

// WinHTTP hands a header over one character per byte: as Latin-1, or in the system code
// page (Wine does that). Servers send a Location beyond ASCII as UTF-8, and browsers read it
// so: the bytes are recovered and read as UTF-8; what is not UTF-8 stays as it came.
std::wstring LocationAsSent(const std::wstring& header) {
    std::string bytes;
    bool beyondAscii = false;
    for (wchar_t c : header) {
        if (c > 0xFF) {
            const std::optional<std::string> ansi = ToAnsiExactly(header);
            if (!ansi) return header;
            bytes = *ansi;
            beyondAscii = true;
            break;
        }
        bytes += static_cast<char>(c);
        beyondAscii = beyondAscii || c > 0x7F;
    }
    if (!beyondAscii) return header;
    const int size = static_cast<int>(bytes.size());
    const int n =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (n <= 0) return header;
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), n) !=
        n)
        return header;
    return text;
}

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::wstring QueryText(HINTERNET request, DWORD what) {
    DWORD bytes = 0;
    ::WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                          &bytes, WINHTTP_NO_HEADER_INDEX);
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) return {};
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!::WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &bytes,
                               WINHTTP_NO_HEADER_INDEX))
        return {};
    text.resize(bytes / sizeof(wchar_t));
    return text;
}

int QueryStatus(HINTERNET request) {
    DWORD status = 0, size = sizeof status;
    ::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                          WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
    return static_cast<int>(status);
}

// Asks for the first set of TLS versions the system takes; with none, its default stands.
void OfferTlsVersions(HINTERNET session, const std::vector<std::uint32_t>& choices) {
    for (DWORD flags : choices)
        if (::WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &flags, sizeof flags))
            return;
}

class Fetch {
  public:
    Fetch(std::wstring url, std::string_view marker, const FetchOptions& options)
        : marker_(marker), deadline_(options.deadlineMs), tlsChoices_(options.tlsChoices),
          hostToAscii_(options.hostToAscii), family_(options.family) {
        result_.url = std::move(url);
    }

    // One session for the whole chain, so cookies a hop sets go with the next hops.
    // Only the hop limit ends a chain: a sign-in check may send the user back to the
    // page it came from, which then answers.
    FetchResult Run() {
        const ProxySettings proxy = ProxySettings::Current();
        unique_hinternet session(::WinHttpOpen(L"Skelvane/1.0",
                                               proxy.UsesNamedProxy()
                                                   ? WINHTTP_ACCESS_TYPE_NAMED_PROXY
                                                   : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                               proxy.Proxy(), proxy.Bypass(), 0));
        if (!session) return Failed();
        OfferTlsVersions(session.get(), tlsChoices_);

        for (int hop = 0; hop <= kMaxRedirects; ++hop) {
            const auto url = ParseUrl(result_.url);
            if (!url) return End(FetchOutcome::BadAddress);
            std::wstring next;
            if (!Hop(session.get(), *url, proxy, next)) return result_;
            const auto target = ParseUrl(next);
            if (url->secure && target && !target->secure)
                return Failed(ERROR_WINHTTP_REDIRECT_FAILED); // no quiet downgrade from https
            result_.url = next;
        }
        return End(FetchOutcome::TooManyRedirects);
    }

  private:
    // One request. Returns true with `next` set when the server redirects.
    bool Hop(HINTERNET session, const Url& url, const ProxySettings& proxy, std::wstring& next) {
        unique_hinternet connection(::WinHttpConnect(session, url.host.c_str(), url.port, 0));
        if (!connection) return Failed(), false;
        unique_hinternet request(::WinHttpOpenRequest(
            connection.get(), L"GET", url.path.c_str(), nullptr, WINHTTP_NO_REFERER,
            WINHTTP_DEFAULT_ACCEPT_TYPES, url.secure ? WINHTTP_FLAG_SECURE : 0));
        if (!request) return Failed(), false;
        timeoutsSetTo_ = 0;
        // Certificate errors come back as one catch-all; the callback says which it was,
        // and whether the request went out.
        DWORD_PTR self = reinterpret_cast<DWORD_PTR>(this);
        ::WinHttpSetOption(request.get(), WINHTTP_OPTION_CONTEXT_VALUE, &self, sizeof self);
        ::WinHttpSetStatusCallback(
            request.get(), &OnStatus,
            WINHTTP_CALLBACK_FLAG_SECURE_FAILURE | WINHTTP_CALLBACK_FLAG_SEND_REQUEST, 0);
        // Redirects are followed here, so that they are counted.
        DWORD feature = WINHTTP_DISABLE_REDIRECTS;
        ::WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &feature, sizeof feature);
        // A compressed body would hide the marker from the search.
        ::WinHttpAddRequestHeaders(request.get(), L"Accept-Encoding: identity", DWORD(-1),
                                   WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
        proxy.ApplyAutomatic(session, request.get(), result_.url);

        if (!Exchange(request.get(), url.secure)) return false;
        if (IsRedirect(result_.status)) {
            const std::wstring location = QueryText(request.get(), WINHTTP_QUERY_LOCATION);
            if (location.empty()) return End(FetchOutcome::HttpError), false;
            const Redirect redirect =
                ResolveLocation(result_.url, LocationAsSent(location), hostToAscii_);
            if (redirect.hostUnconvertible) {
                result_.url = redirect.url;
                return End(FetchOutcome::UnconvertibleHost), false;
            }
            next = redirect.url;
            return true;
        }
        if (result_.status == 401) return End(FetchOutcome::ServerNeedsSignIn), false;
        // An error page is no proof of reach, whatever it says.
        if (result_.status < 200 || result_.status > 299)
            return End(FetchOutcome::HttpError), false;
        if (IsEncoded(QueryText(request.get(), WINHTTP_QUERY_CONTENT_ENCODING)))
            return End(FetchOutcome::Encoded), false;
        Read(request.get());
        return false;
    }

    // Sends the request and takes the answer's head, answering at most once a server
    // that asks for a client certificate and once a proxy that asks for sign-in.
    bool Exchange(HINTERNET request, bool secure) {
        bool certificateRetried = false;
        int proxyAnswers = 0;
        for (;;) {
            secureFailureFlags_ = 0; // what an earlier hop or try reported is not this one's
            result_.requestSent = false;
            LimitTo(request);
            bool sent = ::WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                             WINHTTP_NO_REQUEST_DATA, 0, 0, 0);
            if (sent) {
                LimitTo(request);
                sent = ::WinHttpReceiveResponse(request, nullptr);
            }
            if (!sent) {
                DWORD error = ::GetLastError();
                if (error == kErrorSecureFailure) error = CertificateError(secureFailureFlags_);
                error = ExplainDroppedConnection(error, secure, result_.requestSent, family_);
                if (!RetryWithoutClientCertificate(error, certificateRetried))
                    return Failed(error), false;
                certificateRetried = true;
                ::WinHttpSetOption(request, WINHTTP_OPTION_CLIENT_CERT_CONTEXT,
                                   WINHTTP_NO_CLIENT_CERT_CONTEXT, 0);
                continue;
            }
            result_.status = QueryStatus(request);
            if (result_.status != 407) return true;

            DWORD offered = 0, first = 0, target = 0;
            ::WinHttpQueryAuthSchemes(request, &offered, &first, &target);
            const ProxyAnswer answer = AnswerProxyChallenge(offered, proxyAnswers++);
            if (answer.kind == ProxyAnswer::NeedsPassword)
                return End(FetchOutcome::ProxyNeedsPassword), false;
            if (answer.kind == ProxyAnswer::Refused)
                return End(FetchOutcome::ProxyRefusedSignIn), false;
            // The logged-on user's own sign-in: no name and no password are given.
            DWORD policy = WINHTTP_AUTOLOGON_SECURITY_LEVEL_LOW;
            ::WinHttpSetOption(request, WINHTTP_OPTION_AUTOLOGON_POLICY, &policy, sizeof policy);
            if (!::WinHttpSetCredentials(request, WINHTTP_AUTH_TARGET_PROXY, answer.scheme, nullptr,
                                         nullptr, nullptr))
                return End(FetchOutcome::ProxyRefusedSignIn), false;
        }
    }

    // Called on this thread, inside the send, when the server's certificate fails and
    // when the request has gone out.
    static void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, void* info,
                                  DWORD length) {
        auto* self = reinterpret_cast<Fetch*>(context);
        if (!self) return;
        if (status == WINHTTP_CALLBACK_STATUS_REQUEST_SENT) self->result_.requestSent = true;
        if (status == WINHTTP_CALLBACK_STATUS_SECURE_FAILURE && info && length >= sizeof(DWORD))
            self->secureFailureFlags_ = *static_cast<DWORD*>(info);
    }

    void Read(HINTERNET request) {
        StreamSearch search(marker_);
        char buffer[4096];
        while (!search.found()) {
            if (deadline_.Remaining() == 0) return void(End(FetchOutcome::TimedOut));
            LimitTo(request);
            // Ask what has arrived first: a read for more than that may wait for bytes
            // that a server closing its end will never send.
            DWORD available = 0;
            if (!::WinHttpQueryDataAvailable(request, &available)) return void(Failed());
            if (available == 0) break;
            DWORD got = 0;
            if (!::WinHttpReadData(request, buffer, std::min<DWORD>(available, sizeof buffer),
                                   &got))
                return void(Failed());
            if (got == 0) break;
            search.Feed({buffer, got});
        }
        End(search.found() ? FetchOutcome::Found : FetchOutcome::NotFound);
    }

    FetchResult End(FetchOutcome outcome) {
        result_.outcome = outcome;
        return result_;
    }
    // WinHTTP's own time-outs (per phase and per packet), kept within what is left of the
    // deadline, so a worker whose caller walked away at the deadline ends too. Once a
    // connection is up, setting them costs about as much as reading a small page (under
    // Wine), so they are set anew only when they would outlast the deadline by more than
    // kSlackMs. The name lookup keeps no time-out: one costs a thread per request, and the
    // caller walks away from a lookup that blocks at its deadline all the same.
    void LimitTo(HINTERNET request) {
        constexpr DWORD kSlackMs = 250;
        const DWORD remaining = std::max<DWORD>(deadline_.Remaining(), 1);
        if (timeoutsSetTo_ != 0 && timeoutsSetTo_ - remaining <= kSlackMs) return;
        const int ms = static_cast<int>(remaining);
        ::WinHttpSetTimeouts(request, 0, ms, ms, ms);
        timeoutsSetTo_ = remaining;
    }

    FetchResult Failed(DWORD error = ::GetLastError()) {
        if (deadline_.Remaining() == 0) return End(FetchOutcome::TimedOut);
        result_.error = error;
        return End(FetchOutcome::TransportError);
    }

    std::string marker_;
    Deadline deadline_;
    std::vector<std::uint32_t> tlsChoices_;
    HostToAscii hostToAscii_;
    WindowsFamily family_;
    FetchResult result_;
    DWORD secureFailureFlags_ = 0;
    DWORD timeoutsSetTo_ = 0; // for the current request; 0 before they are set
};

// Shared by the caller and the worker: the caller may walk away at the deadline (or
// when its window closes) while a blocked name lookup finishes alone.
struct Job {
    Job(const std::wstring& url, std::string_view marker, const FetchOptions& options)
        : fetch(url, marker, options) {}
    Fetch fetch;
    FetchResult result;
    unique_kernel_handle finished{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

void Work(Job& job) {
    try {
        job.result = job.fetch.Run();
    } catch (...) {
        job.result.outcome = FetchOutcome::TransportError;
        job.result.error = kErrorOutOfMemory;
    }
    ::SetEvent(job.finished.get());
}

} // namespace

WaitEnd WaitPlainly(void* finished, unsigned ms) {
    return ::WaitForSingleObject(finished, ms) == WAIT_OBJECT_0 ? WaitEnd::Finished
                                                                : WaitEnd::TimedOut;
}

WindowsFamily SystemFamily() {
    const modOS::TrueVersion v = modOS::GetTrueVersion();
    return FamilyOf(v.major, v.minor, v.productType, v.build);
}

std::vector<std::uint32_t> SystemTlsChoices() {
    const modOS::TrueVersion version = modOS::GetTrueVersion();
    return TlsProtocolChoices(version.major, version.minor, version.build);
}

FetchResult FetchAndFind(const std::wstring& url, std::string_view marker,
                         const FetchOptions& options) {
    // WinHTTP is loaded on first use, from the system folder; a system without it fails
    // the row instead of the program. The first call through the delay-load table takes a
    // reference of its own, so letting go of this one never unloads it under a worker
    // that is still running.
    const unique_module winhttp(LoadSystemLibrary(L"winhttp.dll"));
    if (!winhttp)
        return {FetchOutcome::TransportError, static_cast<std::uint32_t>(::GetLastError()), 0, url};
    try {
        const Deadline deadline(options.deadlineMs);
        auto job = std::make_shared<Job>(url, marker, options);
        if (!job->finished) return {FetchOutcome::TransportError, kErrorOutOfMemory, 0, url};
        if (!RunOnWorker([job] { Work(*job); }))
            return {FetchOutcome::TransportError, kErrorOutOfMemory, 0, url};
        const FetchWait& wait = options.wait ? options.wait : WaitPlainly;
        const WaitEnd end = wait(job->finished.get(), deadline.Remaining());
        // The event has the last word: a fetch may finish while the wait was held up (a
        // modal loop under the window's dispatch) or in its last moment.
        if (end == WaitEnd::Finished ||
            ::WaitForSingleObject(job->finished.get(), 0) == WAIT_OBJECT_0)
            return job->result;
        if (end == WaitEnd::WindowGone)
            return {FetchOutcome::TransportError, kErrorOperationCancelled, 0, url};
        return {FetchOutcome::TimedOut, 0, 0, url};
    } catch (...) {
        return {FetchOutcome::TransportError, kErrorOutOfMemory, 0, url};
    }
}

} // namespace skelvane
