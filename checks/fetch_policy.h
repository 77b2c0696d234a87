#pragma once
// The web fetch's decisions that need no network: which TLS versions to ask for, how
// to answer a sign-in challenge, when to retry, and what a response header means.
#include "checks/fetch_result.h"
#include "checks/next_step.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace skelvane {

// The HTTP stack's protocol flags, as its secure-protocols option takes them.
inline constexpr std::uint32_t kTls10 = 0x80, kTls11 = 0x200, kTls12 = 0x800, kTls13 = 0x2000;

// The sets of TLS versions to ask for on a system of this (true) version, best first.
// A set the system refuses falls to the next; after the last, the system's default
// stands. The stack on Windows 7 and 8.0 offers only TLS 1.0 unless asked for more,
// and takes 1.1 and 1.2 once its update is in; Windows 11 (build 22000) and Server
// 2022 (20348) take 1.3. XP's stack knows no option but its default.
std::vector<std::uint32_t> TlsProtocolChoices(std::uint32_t major, std::uint32_t minor,
                                              std::uint32_t build);

// The authentication schemes the HTTP stack names in a challenge.
inline constexpr std::uint32_t kAuthBasic = 0x1, kAuthNtlm = 0x2, kAuthPassport = 0x4,
                               kAuthDigest = 0x8, kAuthNegotiate = 0x10;

// What to do when a proxy asks for sign-in (407): answer once with the logged-on
// user's own Windows sign-in (Negotiate, else NTLM), never a stored or typed password.
struct ProxyAnswer {
    enum Kind { WindowsSignIn, NeedsPassword, Refused } kind;
    std::uint32_t scheme = 0; // for WindowsSignIn
    bool operator==(const ProxyAnswer&) const = default;
};
ProxyAnswer AnswerProxyChallenge(std::uint32_t offeredSchemes, int answersSoFar);

// A server that asks for a client certificate without needing one: answer once with none.
bool RetryWithoutClientCertificate(std::uint32_t error, bool alreadyRetried);

// The precise certificate error behind the stack's catch-all secure failure (12175), from
// the flags its status callback reports; 12175 itself when the flags name nothing known.
// Where several are set, the one a user can most easily act on wins: the clock first.
std::uint32_t CertificateError(std::uint32_t secureFailureFlags);

// What a connection the server ended (12030) means. WinHTTP says the same for "an
// incompatible SSL protocol": over https, before the request went out, the server left
// during the handshake. On XP to 7 and their servers, which lack or may have turned off
// the TLS versions servers now ask for, that is the secure channel failing (12157); newer
// Windows offers those versions, so there it stays a dropped connection.
std::uint32_t ExplainDroppedConnection(std::uint32_t error, bool secure, bool requestSent,
                                       WindowsFamily family);

// True when a Content-Encoding header names any coding but identity.
bool IsEncoded(std::wstring_view contentEncoding);

} // namespace skelvane
