#pragma once
// A small HTTP server on 127.0.0.1 inside the test process, with pages that
// behave the ways the web rows must cope with.
#include <windows.h>

#include <string>
#include <vector>

namespace skelvane::test {

class LoopbackServer {
  public:
    // Listens on the given loopback port, or on one the system picks for 0. With an
    // answer, gives that same answer to every request (a proxy that challenges, say).
    explicit LoopbackServer(unsigned short port = 0, std::string answer = {});
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // The answer that is no answer: the server reads the request and keeps silent.
    static constexpr char kSilence[] = "(silence)";
    // No answer either: the server closes the connection once the first bytes have come
    // (for an https client, its TLS hello).
    static constexpr char kHangUp[] = "(hang up)";
    // A hostile server: every path but those under /x redirects to kHostileLocation (under
    // /x, with terminal escapes, BEL, DEL, a C1 control, a right-to-left override, a zero
    // width space, a line separator and a byte order mark, the last five as UTF-8); under
    // /x it serves the marker page.
    static constexpr char kHostile[] = "(hostile)";
    static constexpr char kHostileLocation[] =
        "/x\x1B[2J\x1B]0;owned\x07\x1B[31m red \x7F\xC2\x85\xE2\x80\xAEmth\xE2\x80\x8B."
        "\xE2\x80\xA8\xEF\xBB\xBF"
        "exe";

    bool running() const { return listener_ != ~0u; }
    unsigned short port() const { return port_; }
    long requests() const { return requests_; } // requests answered so far
    // Requests whose target held a control, a space or a byte beyond ASCII: sent raw.
    long rawTargets() const { return rawTargets_; }
    std::wstring Url(const std::wstring& path) const;

    // Paths: /marker, /plain, /missing (404 holding the marker), /redirect, /redirect-absolute,
    // /loop, /chain/N (N redirects, then the marker), /silent (never answers),
    // /trickle (a byte every 50 ms, forever), /big (8 MiB, the marker last), the
    // install page the product fetches, /install/QuorrelApp/publish.htm (the marker),
    // /install/QuorrelApp/dots (a relative redirect with dot segments to /final/page.htm;
    // any path with dot segments in it is 404), /guarded (the marker with the cookie
    // that /check sets, else a redirect to /check, which sends the user back),
    // /compressing (gzip unless asked for identity) and /gzip (gzip whatever is asked).
    static constexpr char kMarkerPage[] =
        "<html><body>Install qUoRrElApP.ApPlIcAtIoN now</body></html>";

  private:
    static DWORD WINAPI AcceptLoop(void* self);
    static DWORD WINAPI Serve(void* context);
    void Respond(UINT_PTR client, const std::string& path, const std::string& request);

    UINT_PTR listener_ = ~0u;
    unsigned short port_ = 0;
    HANDLE acceptThread_ = nullptr;
    volatile LONG stopping_ = 0;
    volatile LONG requests_ = 0;
    volatile LONG rawTargets_ = 0;
    std::string answer_;
    CRITICAL_SECTION lock_;
    std::vector<UINT_PTR> clients_;
    std::vector<HANDLE> threads_;
};

// A loopback port with nothing listening on it.
unsigned short RefusingPort();

} // namespace skelvane::test
