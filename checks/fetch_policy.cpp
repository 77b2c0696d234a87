#include "checks/fetch_policy.h"

#include <algorithm>
#include <iterator>

namespace skelvane {

// Vista (6.0) takes 1.1 and 1.2 only with its update; asking without it is harmless.
std::vector<std::uint32_t> TlsProtocolChoices(std::uint32_t major, std::uint32_t,
                                              std::uint32_t build) {
    constexpr std::uint32_t kUpTo12 = kTls10 | kTls11 | kTls12;
    if (major < 6) return {};
    if (major > 10 || (major == 10 && build >= 20348)) return {kUpTo12 | kTls13, kUpTo12};
    return {kUpTo12};
}

ProxyAnswer AnswerProxyChallenge(std::uint32_t offered, int answersSoFar) {
    if (answersSoFar > 0) return {ProxyAnswer::Refused};
    if (offered & kAuthNegotiate) return {ProxyAnswer::WindowsSignIn, kAuthNegotiate};
    if (offered & kAuthNtlm) return {ProxyAnswer::WindowsSignIn, kAuthNtlm};
    return {ProxyAnswer::NeedsPassword};
}

bool RetryWithoutClientCertificate(std::uint32_t error, bool alreadyRetried) {
    return error == kErrorClientAuthCertNeeded && !alreadyRetried;
}

std::uint32_t CertificateError(std::uint32_t flags) {
    // The status callback's WINHTTP_CALLBACK_STATUS_FLAG_* values, each with its error.
    constexpr std::uint32_t kByFlag[][2] = {
        {0x20, kErrorSecureCertDateInvalid}, {0x08, kErrorSecureInvalidCa},
        {0x10, kErrorSecureCertCnInvalid},   {0x04, kErrorSecureCertRevoked},
        {0x01, kErrorSecureCertRevFailed},   {0x40, kErrorSecureCertWrongUsage},
        {0x02, kErrorSecureInvalidCert},     {0x80000000u, kErrorSecureChannelError},
    };
    for (const auto& [flag, error] : kByFlag)
        if (flags & flag) return error;
    return kErrorSecureFailure;
}

std::uint32_t ExplainDroppedConnection(std::uint32_t error, bool secure, bool requestSent,
                                       WindowsFamily family) {
    using enum WindowsFamily;
    constexpr WindowsFamily kBeforeEight[] = {Older,      Xp,    Server2003,  Vista,
                                              Server2008, Seven, Server2008R2};
    const bool beforeEight = std::find(std::begin(kBeforeEight), std::end(kBeforeEight), family) !=
                             std::end(kBeforeEight);
    return error == kErrorConnectionError && secure && !requestSent && beforeEight
               ? kErrorSecureChannelError
               : error;
}

bool IsEncoded(std::wstring_view coding) {
    while (!coding.empty() && (coding.front() == L' ' || coding.front() == L'\t'))
        coding.remove_prefix(1);
    while (!coding.empty() && (coding.back() == L' ' || coding.back() == L'\t'))
        coding.remove_suffix(1);
    if (coding.empty()) return false;
    constexpr std::wstring_view kIdentity = L"identity";
    if (coding.size() != kIdentity.size()) return true;
    for (std::size_t i = 0; i < coding.size(); ++i)
        if ((coding[i] | 0x20) != kIdentity[i]) return true;
    return false;
}

} // namespace skelvane
