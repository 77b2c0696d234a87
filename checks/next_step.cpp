#include "checks/next_step.h"

#include <initializer_list>

namespace skelvane {

namespace {

using enum FailureKind;
using enum WindowsFamily;

// A set of families, one bit each.
using Families = std::uint32_t;
constexpr Families Of(std::initializer_list<WindowsFamily> families) {
    Families set = 0;
    for (WindowsFamily f : families)
        set |= Families{1} << static_cast<int>(f);
    return set;
}
constexpr Families kAny = (Families{1} << kWindowsFamilies) - 1;
constexpr Families kXpAnd2003 = Of({Xp, Server2003});
constexpr Families kVistaTo2008R2 = Of({Vista, Server2008, Seven, Server2008R2});
constexpr Families kEightAndLater =
    Of({Eight, Server2012, EightOneOrLater, Server2012R2OrLater, Eleven26H1OrLater});

// The first row for the kind whose families hold this one wins, so a family's own step
// stands before the kind's step for every system. A step that ends in something to do on
// this computer says how to check again, in the reader's words.
struct Advice {
    FailureKind kind;
    Families families;
    std::wstring_view step;
    bool thenCheckAgain = false;
};

constexpr std::wstring_view kNewerWindows =
    L"This version of Windows cannot make the secure connection the service needs: use this "
    L"program on a newer Windows.";

constexpr Advice kAdvice[] = {
    {NameNotResolved, kAny,
     L"Check that this computer is connected to the internet; on a company network, ask IT "
     L"whether a proxy is needed."},
    {NoConnection, kAny,
     L"Check the network connection, and ask IT whether a firewall or proxy blocks this "
     L"program."},
    {CertificateDate, kAny,
     L"If this computer's date and time are right, the service's certificate may have "
     L"expired: contact Quorrel Card support. Otherwise, set them right in Date and Time.",
     true},
    {CertificateAuthority, Of({Xp}),
     L"This Windows gets no more updates, so its root certificates are out of date: install "
     L"Microsoft's last root certificate update for Windows XP (KB931125), or use this program "
     L"on a newer Windows."},
    {CertificateAuthority, Of({Server2003}),
     L"This Windows gets no more updates, so its root certificates are out of date: ask IT to "
     L"install current root certificates, or use this program on a newer Windows."},
    {CertificateAuthority, kVistaTo2008R2,
     L"This Windows fetches root certificates as needed from ctldl.windowsupdate.com: if it "
     L"cannot reach that address, ask IT to install current ones; if it can, ask IT whether "
     L"the network intercepts secure connections."},
    {CertificateAuthority, kAny, L"The network may be intercepting secure connections: ask IT."},
    {CertificateName, kXpAnd2003,
     L"This Windows does not tell the server which name it wants (SNI), so a server that "
     L"hosts several names answers with another one's certificate: use this program on a "
     L"newer Windows."},
    {CertificateName, kAny, L"The secure connection reached a server of another name: ask IT."},
    {CertificateOther, kAny,
     L"The service's certificate was not accepted: ask IT whether secure connections are "
     L"inspected or blocked here."},
    {SecureChannel, Of({Older, Xp, Server2003, Vista}), kNewerWindows},
    {SecureChannel, Of({Server2008}),
     L"Ask IT to install the update that adds TLS 1.1 and 1.2 to Windows Server 2008 SP2 "
     L"(KB4019276) and to turn them on.",
     true},
    // Off by default on 7 and 2008 R2, on from 8 on; this program asks for it either way,
    // so only an administrator's Enabled = 0 for clients keeps it out.
    {SecureChannel, Of({Seven, Server2008R2}),
     L"TLS 1.2 is off by default here, but this program asks for it itself: ask IT to check "
     L"that no \"Enabled\" value of 0 under the registry's TLS 1.2 Client key turns it off. If "
     L"none does, the service needs more than this Windows offers."},
    {SecureChannel, Of({Eight}),
     L"This program asks for TLS 1.2 itself: ask IT to check that no \"Enabled\" value of 0 "
     L"under the registry's TLS 1.2 Client key turns it off. If none does, the service needs "
     L"more than this Windows offers."},
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
    {OsUnsupported, kXpAnd2003, L"Install Service Pack 2 or later for this Windows."},
    {OsUnsupported, kAny,
     L"This software needs Windows XP or Server 2003 with Service Pack 2, Windows Vista, or a "
     L"later Windows."},
    // Windows Installer is part of every Windows here: XP and Server 2003 ship 2.0, 3.0 or 3.1
    // (by service pack) and take the 3.1 and 4.5 redistributables; Vista and later ship 4.0 or
    // later, so there a version below 3.1 cannot be the system's own file. From Windows 8 on,
    // the repair tool (DISM) mends the component store that "sfc" restores files from.
    {InstallerTooOld, kVistaTo2008R2,
     L"Windows Installer is part of this Windows, so the file the registry names is not the "
     L"system's: ask IT to repair Windows (\"sfc /scannow\") and to check the registry's "
     L"installer location.",
     true},
    {InstallerTooOld, kEightAndLater,
     L"Windows Installer is part of this Windows, so the file the registry names is not the "
     L"system's: ask IT to repair Windows (\"DISM /Online /Cleanup-Image /RestoreHealth\", "
     L"then \"sfc /scannow\") and to check the registry's installer location.",
     true},
    {InstallerTooOld, kAny, L"Install Windows Installer 3.1 or later.", true},
    {InstallerBroken, kXpAnd2003,
     L"Reinstall Windows Installer: install Windows Installer 4.5 (KB942288) from the "
     L"Microsoft Download Center, or 3.1 (KB893803).",
     true},
    {InstallerBroken, kVistaTo2008R2,
     L"Repair Windows: in a command prompt run as administrator, run \"sfc /scannow\".", true},
    {InstallerBroken, kEightAndLater,
     L"Repair Windows: in a command prompt run as administrator, run \"DISM /Online "
     L"/Cleanup-Image /RestoreHealth\", then \"sfc /scannow\".",
     true},
    {DotNetMissing, Of({Older}),
     L".NET Framework 3.5 does not run on this Windows: use a newer Windows."},
    {DotNetMissing, kXpAnd2003,
     L"Install Windows Installer 3.1 if it is not there yet, then .NET Framework 3.5 SP1.", true},
    {DotNetMissing, Of({Vista, Server2008}), L"Install .NET Framework 3.5 SP1.", true},
    {DotNetMissing, Of({Seven}),
     L".NET Framework 3.5.1 is part of this Windows: turn on \"Microsoft .NET Framework "
     L"3.5.1\" in Windows Features (Control Panel, Programs and Features, Turn Windows "
     L"features on or off).",
     true},
    // The other box under it, WCF Activation, would add web server role services.
    {DotNetMissing, Of({Server2008R2}),
     L".NET Framework 3.5.1 is part of this Windows: in Server Manager, choose Add Features, "
     L"expand \".NET Framework 3.5.1 Features\" and select \".NET Framework 3.5.1\" only.",
     true},
    {DotNetMissing, Of({Eight, EightOneOrLater}),
     L"Turn on \".NET Framework 3.5 (includes .NET 2.0 and 3.0)\" in Windows Features "
     L"(Control Panel, Programs and Features, Turn Windows features on or off).",
     true},
    {DotNetMissing, Of({Eleven26H1OrLater}),
     L".NET Framework 3.5 is no longer a feature of this Windows: install it with Microsoft's "
     L"stand-alone .NET Framework 3.5 installer.",
     true},
    {DotNetMissing, Of({Server2012, Server2012R2OrLater}),
     L"In Server Manager, choose Add Roles and Features and select \".NET Framework 3.5 "
     L"Features\".",
     true},
    {ReaderToolsMissing, kAny, L"Install the card reader tools.", true},
};

constexpr std::wstring_view kCheckAgain[] = {
    L" Then press F5 to check again.", // the window
    L" Then run this report again.",   // the console report
};

} // namespace

WindowsFamily FamilyOf(std::uint32_t major, std::uint32_t minor, std::uint32_t productType,
                       std::uint32_t build) {
    const bool server = productType == kServer || productType == kDomainController;
    if (major < 5 || (major == 5 && minor == 0)) return Older;
    if (major == 5) return minor == 2 && server ? Server2003 : Xp; // XP x64 is 5.2 too
    if (major == 6 && minor == 0) return server ? Server2008 : Vista;
    if (major == 6 && minor == 1) return server ? Server2008R2 : Seven;
    if (major == 6 && minor == 2) return server ? Server2012 : Eight;
    if (server) return Server2012R2OrLater;
    return build >= 28000 ? Eleven26H1OrLater : EightOneOrLater;
}

std::wstring NextStep(FailureKind kind, WindowsFamily family, StepReader reader) {
    if (kind == None) return {};
    const Families self = Of({family});
    for (const Advice& advice : kAdvice)
        if (advice.kind == kind && (advice.families & self)) {
            std::wstring step(advice.step);
            if (advice.thenCheckAgain) step += kCheckAgain[static_cast<int>(reader)];
            return step;
        }
    return std::wstring(kGeneralStep);
}

} // namespace skelvane
