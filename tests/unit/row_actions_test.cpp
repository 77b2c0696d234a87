#include "app/row_actions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

namespace skelvane {
namespace {

using enum FailureKind;
using enum WindowsFamily;

std::wstring Lower(std::wstring_view text) {
    std::wstring lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return std::towlower(c); });
    return lower;
}

// Each action names a place its row's step sends the user to, and opens only a program of
// the system folder by its bare name or a fixed address; the Settings app's addresses only
// on clients from Windows 10 on; and a family whose tool is not certain has none.
TEST(RowActions, EachOpensThePlaceItsStepNames) {
    struct Case {
        FailureKind kind;
        WindowsFamily family;
        const wchar_t* target; // the first place's; null: no action
        const wchar_t* arguments;
    };
    const Case cases[] = {
        {DotNetMissing, Seven, L"OptionalFeatures.exe", L""},
        {DotNetMissing, EightOneOrLater, L"OptionalFeatures.exe", L""},
        {DotNetMissing, Server2012R2OrLater, L"ServerManager.exe", L""},
        {DotNetMissing, Server2008R2, nullptr, nullptr},
        {DotNetMissing, Vista, L"https://dotnet.microsoft.com/download/dotnet-framework/net35-sp1",
         L""},
        {DotNetMissing, Eleven26H1OrLater,
         L"https://learn.microsoft.com/dotnet/framework/install/dotnet-35-windows-11", L""},
        {DotNetMissing, Older, nullptr, nullptr},
        {CertificateDate, Xp, L"control.exe", L"date/time"},
        {CertificateDate, Server2008R2, L"control.exe", L"/name Microsoft.DateAndTime"},
        {CertificateDate, EightOneOrLater, L"ms-settings:dateandtime", L""},
        {CertificateDate, Server2012R2OrLater, nullptr, nullptr},
        {ProxyScript, Xp, nullptr, nullptr},
        {ProxyScript, Server2012, L"control.exe", L"/name Microsoft.InternetOptions /page 4"},
        {ProxyScript, Eleven26H1OrLater, L"ms-settings:network-proxy", L""},
        {NoConnection, Older, L"control.exe", L"netconnections"},
        {NameNotResolved, Seven, nullptr, nullptr},
        {None, Seven, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << static_cast<int>(c.kind) << " on " << static_cast<int>(c.family));
        const RowAction* action = ActionFor(c.kind, c.family);
        ASSERT_EQ(action != nullptr, c.target != nullptr);
        if (action) {
            EXPECT_EQ(action->places[0].target, c.target);
            EXPECT_EQ(action->places[0].arguments, c.arguments);
        }
    }

    const auto server = [](WindowsFamily f) {
        return f == Server2003 || f == Server2008 || f == Server2008R2 || f == Server2012 ||
               f == Server2012R2OrLater;
    };
    for (int k = static_cast<int>(None); k <= static_cast<int>(ReaderToolsMissing); ++k)
        for (int f = 0; f < kWindowsFamilies; ++f) {
            const auto kind = static_cast<FailureKind>(k);
            const auto family = static_cast<WindowsFamily>(f);
            const RowAction* action = ActionFor(kind, family);
            if (!action) continue;
            SCOPED_TRACE(testing::Message() << k << " on " << f);
            EXPECT_NE(Lower(NextStep(kind, family, StepReader::Window)).find(Lower(action->place)),
                      std::wstring::npos);
            EXPECT_TRUE(action->caption.starts_with(L"Open "));
            EXPECT_FALSE(action->places[0].target.empty());
            for (const Place& place : action->places) {
                if (place.target.empty()) continue;
                if (place.kind == PlaceKind::Program) {
                    EXPECT_TRUE(place.target.ends_with(L".exe"));
                    EXPECT_EQ(place.target.find_first_of(L"\\/:\""), std::wstring_view::npos);
                } else {
                    const bool settings = place.target.starts_with(L"ms-settings:");
                    EXPECT_TRUE(settings || place.target.starts_with(L"https://"));
                    EXPECT_TRUE(place.arguments.empty());
                    if (settings) {
                        EXPECT_GE(place.fromMajor, 10u);
                        EXPECT_FALSE(server(family));
                    }
                }
            }
        }
}

} // namespace
} // namespace skelvane
