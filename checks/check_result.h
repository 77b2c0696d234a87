#pragma once
#include "common/shown_text.h"

#include <string>
#include <string_view>

namespace skelvane {

// What went wrong, as far as the next step depends on it.
enum class FailureKind {
    None,                 // the check passed
    Unfinished,           // the check itself could not finish
    NameNotResolved,      // the server's name is unknown to this network
    NoConnection,         // no connection, a dropped one, or no answer in time
    CertificateDate,      // the certificate is not valid yet or has expired
    CertificateAuthority, // nobody this computer trusts issued the certificate
    CertificateName,      // the certificate is for another name
    CertificateOther,     // revoked, unreadable or not checkable
    SecureChannel,        // no secure channel: no protocol both sides speak
    ProxyScript,          // the automatic proxy configuration failed
    ProxyNeedsPassword,   // the proxy wants a typed name and password
    ProxyRefusedSignIn,   // the proxy turned down the user's Windows sign-in
    ServicePage,          // an answer, but not the page: an error, a sign-in page, no marker
    WebOther,             // any other network failure
    OsUnsupported,
    InstallerTooOld,
    InstallerBroken, // msi.dll missing, damaged or without a version
    DotNetMissing,
    ReaderToolsMissing,
};

// What a check found: pass or fail, what kind of failure, and a short reason a person can
// act on. A reason may hold text from outside (an address a server sent, a registry
// value, a path); it is made showable here, where every reason is made, for the window,
// the console and the JSON alike.
struct CheckResult {
    CheckResult() = default;
    CheckResult(bool passed, std::wstring_view reason, FailureKind kind = FailureKind::Unfinished)
        : passed(passed), reason(ShownText(reason)), kind(passed ? FailureKind::None : kind) {}
    bool passed = false;
    std::wstring reason;
    FailureKind kind = FailureKind::Unfinished;
};

inline CheckResult Pass(std::wstring_view reason) {
    return {true, reason};
}
inline CheckResult Fail(FailureKind kind, std::wstring_view reason) {
    return {false, reason, kind};
}

} // namespace skelvane
