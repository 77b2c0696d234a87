#include "checks/next_step.h"

#include <optional>

namespace skelvane {

namespace {

// A step for a kind on every system, or on one family only; the first that fits wins, so
// a family's own step stands before the kind's step for every system.
constexpr std::optional<WindowsFamily> kAny = std::nullopt;
struct Advice {
    FailureKind kind;
    std::optional<WindowsFamily> family;
    std::wstring_view step;
};

using enum FailureKind;
using enum WindowsFamily;
constexpr std::wstring_view kNewerWindows =
    L"This version of Windows cannot make the secure connection the service needs: use this "
    L"program on a newer Windows.";
constexpr std::wstring_view kTlsUpdate =
    L"Install the Windows update that lets WinHTTP use TLS 1.1 and 1.2 (KB3140245), "
    L"then try again.";
constexpr std::wstring_view kInstallDotNet = L"Install .NET Framework 3.5 SP1.";
constexpr std::wstring_view kTurnOnDotNet =
    L"Turn on \".NET Framework 3.5\" in Windows Features (Control Panel, Programs and Features, "
    L"Turn Windows features on or off).";

constexpr Advice kAdvice[] = {
    {NameNotResolved, kAny,
     L"Check that this computer is connected to the internet; on a company network, ask IT "
     L"whether a proxy is needed."},
    {NoConnection, kAny,
     L"Check the network connection, and ask IT whether a firewall or proxy blocks this "
     L"program."},
    {CertificateDate, kAny, L"Check that this computer's date and time are right, then try again."},
    {CertificateAuthority, kAny, L"The network may be intercepting secure connections: ask IT."},
    {CertificateName, kAny, L"The secure connection reached a server of another name: ask IT."},
    {CertificateOther, kAny,
     L"The service's certificate was not accepted: ask IT whether secure connections are "
     L"inspected or blocked here."},
    {SecureChannel, XpOr2003, kNewerWindows},
    {SecureChannel, Older, kNewerWindows},
    {SecureChannel, Vista, kNewerWindows},
    {SecureChannel, Seven, kTlsUpdate},
    {SecureChannel, Eight, kTlsUpdate},
    {ProxyScript, kAny,
     L"The proxy settings could not be worked out: ask IT to check this computer's proxy "
     L"settings."},
    {ProxyNeedsPassword, kAny,
     L"Ask IT to let this program through the proxy without a typed password."},
    {ProxyRefusedSignIn, kAny,
     L"Ask IT to let this program through the proxy with your Windows sign-in."},
    {ServicePage, kAny,
     L"The service may be down, or a sign-in page is in the way: try again later, or "
     L"contact Quorrel Card support."},
    {OsUnsupported, XpOr2003, L"Install Service Pack 2 or later for this Windows."},
    {OsUnsupported, kAny,
     L"This software needs Windows XP or Server 2003 with Service Pack 2, Windows Vista, or a "
     L"later Windows."},
    {InstallerTooOld, kAny, L"Install Windows Installer 3.1 or later, then run this check again."},
    {InstallerBroken, kAny,
     L"Repair Windows: as an administrator, run \"sfc /scannow\" in a command prompt."},
    {DotNetMissing, Older,
     L".NET Framework 3.5 does not run on this Windows: use a newer Windows."},
    {DotNetMissing, Eight, kTurnOnDotNet},
    {DotNetMissing, EightOneOrLater, kTurnOnDotNet},
    {DotNetMissing, kAny, kInstallDotNet},
    {ReaderToolsMissing, kAny, L"Install the card reader tools, then run this check again."},
};

} // namespace

WindowsFamily FamilyOf(std::uint32_t major, std::uint32_t minor) {
    if (major < 5 || (major == 5 && minor == 0)) return Older;
    if (major == 5) return XpOr2003;
    if (major == 6 && minor == 0) return Vista;
    if (major == 6 && minor == 1) return Seven;
    if (major == 6 && minor == 2) return Eight;
    return EightOneOrLater;
}

std::wstring_view NextStep(FailureKind kind, WindowsFamily family) {
    if (kind == None) return {};
    for (const Advice& advice : kAdvice)
        if (advice.kind == kind && (!advice.family || *advice.family == family)) return advice.step;
    return kGeneralStep;
}

} // namespace skelvane
