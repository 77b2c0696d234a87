#include "app/row_actions.h"

namespace skelvane {

namespace {

using enum FailureKind;
using enum WindowsFamily;
using enum PlaceKind;

template <typename... Family> constexpr std::uint32_t Families(Family... families) {
    return ((std::uint32_t{1} << static_cast<int>(families)) | ...);
}

// The Settings app's pages have these addresses from Windows 10 on; servers are left out,
// as nothing says the addresses work there. Each Control Panel page is opened by its
// canonical name (Vista and later) or, on XP, by its legacy command. Server 2012 R2 shares
// its family with the later servers, for which the canonical names are not confirmed.
constexpr std::uint32_t kSettingsApp = 10;

constexpr RowAction kWindowsFeatures = {
    L"Open Windows Features", L"Windows Features", {{{Program, L"OptionalFeatures.exe"}}}};
// The console's file name is confirmed from Server 2012 on only.
constexpr RowAction kServerManager = {
    L"Open Server Manager", L"Server Manager", {{{Program, L"ServerManager.exe"}}}};
constexpr RowAction kDotNetDownload = {
    L"Open the .NET Framework 3.5 SP1 download page",
    L".NET Framework 3.5 SP1",
    {{{Address, L"https://dotnet.microsoft.com/download/dotnet-framework/net35-sp1"}}}};
// The page that links the stand-alone installer of Windows 11 26H1 and later.
constexpr RowAction kDotNetInstaller = {
    L"Open the .NET Framework 3.5 installer page",
    L"stand-alone .NET Framework 3.5 installer",
    {{{Address, L"https://learn.microsoft.com/dotnet/framework/install/dotnet-35-windows-11"}}}};
constexpr RowAction kNetworkConnections = {L"Open Network Connections",
                                           L"network connection",
                                           {{{Program, L"control.exe", L"netconnections"}}}};

constexpr Place kDateAndTimePanel = {Program, L"control.exe", L"/name Microsoft.DateAndTime"};
constexpr Place kDateAndTimeSettings = {Address, L"ms-settings:dateandtime", {}, kSettingsApp};
constexpr RowAction kDateAndTimeXp = {
    L"Open Date and Time", L"date and time", {{{Program, L"control.exe", L"date/time"}}}};
constexpr RowAction kDateAndTime = {L"Open Date and Time", L"date and time", {{kDateAndTimePanel}}};
// Windows 8.1 shares its family with 10 and 11: it falls back to the Control Panel.
constexpr RowAction kDateAndTimeSettingsFirst = {
    L"Open Date and Time", L"date and time", {{kDateAndTimeSettings, kDateAndTimePanel}}};
constexpr RowAction kDateAndTimeSettingsOnly = {
    L"Open Date and Time", L"date and time", {{kDateAndTimeSettings}}};

// XP has no action here: its Internet Options number their tabs otherwise.
constexpr Place kConnectionsTab = {Program, L"control.exe",
                                   L"/name Microsoft.InternetOptions /page 4"};
constexpr Place kProxySettings = {Address, L"ms-settings:network-proxy", {}, kSettingsApp};
constexpr RowAction kProxy = {L"Open proxy settings", L"proxy settings", {{kConnectionsTab}}};
constexpr RowAction kProxySettingsFirst = {
    L"Open proxy settings", L"proxy settings", {{kProxySettings, kConnectionsTab}}};
constexpr RowAction kProxySettingsOnly = {
    L"Open proxy settings", L"proxy settings", {{kProxySettings}}};

constexpr std::uint32_t kVistaTo8 =
    Families(Vista, Server2008, Seven, Server2008R2, Eight, Server2012);

struct Entry {
    FailureKind kind;
    std::uint32_t families;
    const RowAction* action;
};

constexpr Entry kActions[] = {
    {DotNetMissing, Families(Xp, Server2003, Vista, Server2008), &kDotNetDownload},
    {DotNetMissing, Families(Seven, Eight, EightOneOrLater), &kWindowsFeatures},
    {DotNetMissing, Families(Eleven26H1OrLater), &kDotNetInstaller},
    {DotNetMissing, Families(Server2012, Server2012R2OrLater), &kServerManager},
    {NoConnection, ~std::uint32_t{0}, &kNetworkConnections},
    {CertificateDate, Families(Xp, Server2003), &kDateAndTimeXp},
    {CertificateDate, kVistaTo8, &kDateAndTime},
    {CertificateDate, Families(EightOneOrLater), &kDateAndTimeSettingsFirst},
    {CertificateDate, Families(Eleven26H1OrLater), &kDateAndTimeSettingsOnly},
    {ProxyScript, kVistaTo8, &kProxy},
    {ProxyScript, Families(EightOneOrLater), &kProxySettingsFirst},
    {ProxyScript, Families(Eleven26H1OrLater), &kProxySettingsOnly},
};

} // namespace

const RowAction* ActionFor(FailureKind kind, WindowsFamily family) {
    for (const Entry& entry : kActions)
        if (entry.kind == kind && (entry.families & Families(family))) return entry.action;
    return nullptr;
}

} // namespace skelvane
