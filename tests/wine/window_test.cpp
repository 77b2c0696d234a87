// The checker window, run as the user runs it, watched from outside its process.
#include "app/check_table.h"
#include "app/layout.h"
#include "app/program_name.h"
#include "app/status_text.h"
#include "resources/resource.h"
#include "checks/prerequisites.h"
#include "loopback_server.h"
#include "support.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace skelvane::test {
namespace {

bool ClearlyRed(Colour c) {
    return (c & 0xFF) > 120 && (c >> 8 & 0xFF) < 110 && (c >> 16 & 0xFF) < 90;
}
bool ClearlyGreen(Colour c) {
    return (c >> 8 & 0xFF) > 90 && (c & 0xFF) < 110 && (c >> 16 & 0xFF) < 110;
}
bool NotWhite(Colour c) {
    return (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) < 600;
}

// The http host answers through an address full of terminal escapes and direction marks.
TEST(Window, LayoutSequenceAndClose) {
    LoopbackServer hostile(47801, LoopbackServer::kHostile); // the test build's http host
    ASSERT_TRUE(hostile.running());
    ChildProcess app(L"\"" + ProductExe(L"Skelvane.exe") + L"\"");
    ASSERT_TRUE(app.started());
    HWND window = FindProcessWindow(app.id(), kMainClass, 20000);
    ASSERT_TRUE(window);

    // The frame: caption, fixed border, close box only, 412 x 225 client at 96 DPI.
    EXPECT_EQ(WindowText(window), kWindowCaption);
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT client;
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 412);
    EXPECT_EQ(client.bottom, 225);

    // Every control at its place, with its caption and initial state.
    for (const ControlLayout& item : kControls) {
        HWND control = Item(window, item.id);
        if (item.kind == ControlKind::Hidden) {
            EXPECT_FALSE(control) << item.name;
            continue;
        }
        ASSERT_TRUE(control) << item.name;
        EXPECT_EQ(PlaceOf(window, item.id), ToPixels(item.place, 96)) << item.name;
        EXPECT_EQ(::IsWindowVisible(control) != FALSE, item.visible) << item.name;
        if (item.kind != ControlKind::PictureBox) {
            EXPECT_EQ(WindowText(control), item.caption) << item.name;
        }
    }
    EXPECT_FALSE(::IsWindowEnabled(Item(window, ControlId::cmdClose)));
    // What a screen reader hears before the checks (the first row may already have run).
    for (std::size_t row = 1; row < std::size(kStatusBoxes); ++row)
        EXPECT_EQ(WindowText(Item(window, kStatusBoxes[row])), kNotCheckedText);

    // A click on the disabled Close does nothing.
    ::PostMessageW(window, WM_COMMAND,
                   MAKEWPARAM(static_cast<int>(ControlId::cmdClose), BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(window, ControlId::cmdClose)));

    const std::vector<Change> changes = WatchRun(window, 90000);
    ASSERT_TRUE(::IsWindow(window));
    ASSERT_TRUE(::IsWindowEnabled(Item(window, ControlId::cmdClose)));

    // Each box changed once, top to bottom, at least a second apart, to the verdict,
    // reason and next step of the same check run here; hovering it shows the reason and
    // the next step as its tooltip. Nothing the hostile server sent shows raw.
    ASSERT_EQ(changes.size(), std::size(kCheckRows));
    Prerequisites here;
    std::vector<ReportRow> expected;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        expected.push_back(RunCheckRow(here, kCheckRows[i], ThisWindows(), StepReader::Window));
        EXPECT_EQ(changes[i].row, i);
        EXPECT_EQ(changes[i].text, ShownStatus(expected[i]));
        EXPECT_FALSE(ShowsUnsafe(changes[i].text));
        // A screen reader names the row first: "Dot Net Framework V3.5: failed: ...". Wine's
        // 64-bit oleacc gives no object for another process's window (E_NOINTERFACE).
        if (sizeof(void*) == 4) {
            EXPECT_EQ(AccessibleName(Item(window, kStatusBoxes[i])), changes[i].text);
        }
        EXPECT_TRUE(changes[i].text.starts_with(expected[i].name + L": "));
        const std::wstring tip = HoverText(Item(window, kStatusBoxes[i]), app.id());
        EXPECT_EQ(tip, ShownTip(expected[i]));
        EXPECT_FALSE(ShowsUnsafe(tip));
        EXPECT_EQ(expected[i].nextStep.empty(), expected[i].result.passed);
        if (i > 0) {
            EXPECT_GE(changes[i].at - changes[i - 1].before, 1000.0);
        }
    }
    EXPECT_TRUE(changes[0].text.starts_with(expected[0].name + L": " + kPassedText))
        << std::string(changes[0].text.begin(), changes[0].text.end());
    EXPECT_EQ(hostile.rawTargets(), 0);
    EXPECT_EQ(WindowText(Item(window, ControlId::lblOS)), here.os().description);

    // What is drawn matches what is said: a green tick, a red cross (no framework here).
    ASSERT_FALSE(expected[4].result.passed);
    const Shot shot = Capture(window);
    for (const auto& [box, passed] :
         {std::pair{ControlId::picInternetApp, true}, std::pair{ControlId::picDotNet, false}}) {
        EXPECT_GT(shot.Count(PlaceOf(window, box), passed ? ClearlyGreen : ClearlyRed), 10);
        EXPECT_EQ(shot.Count(PlaceOf(window, box), passed ? ClearlyRed : ClearlyGreen), 0);
    }

    ::PostMessageW(window, WM_COMMAND,
                   MAKEWPARAM(static_cast<int>(ControlId::cmdClose), BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(window, ControlId::cmdClose)));
    EXPECT_TRUE(app.Wait(5000));
    EXPECT_EQ(app.ExitCode(), 0u);
}

TEST(Window, ChecksRunEvenWhenStartedMinimized) {
    ChildProcess app(L"\"" + ProductExe(L"Skelvane.exe") + L"\"", false, SW_SHOWMINNOACTIVE);
    HWND window = FindProcessWindow(app.id(), kMainClass, 20000);
    ASSERT_TRUE(window);
    const std::vector<Change> changes = WatchRun(window, 90000);
    EXPECT_EQ(changes.size(), std::size(kStatusBoxes));
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app.Wait(10000));
}

TEST(Window, CloseFromTitleBarMidRunEndsPromptly) {
    ChildProcess app(L"\"" + ProductExe(L"Skelvane.exe") + L"\"");
    HWND window = FindProcessWindow(app.id(), kMainClass, 20000);
    ASSERT_TRUE(window);
    const DWORD start = ::GetTickCount();
    while (WindowText(Item(window, ControlId::picInternetApp)) == kNotCheckedText &&
           ::GetTickCount() - start < 20000)
        ::Sleep(20);
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    const DWORD closedAt = ::GetTickCount();
    ASSERT_TRUE(app.Wait(10000));
    // The pause before the next check answers the close at once.
    EXPECT_LT(::GetTickCount() - closedAt, 2000u);
    EXPECT_EQ(app.ExitCode(), 0u);
}

// While the first row waits on a server that never answers, the window paints and
// answers the system throughout; a close from the title bar then ends the program
// within 2 s, the fetch abandoned.
TEST(Window, StaysResponsiveDuringAFetchAndClosesMidFetch) {
    LoopbackServer silent(47801, LoopbackServer::kSilence); // the test build's http host
    ASSERT_TRUE(silent.running());
    ChildProcess app(L"\"" + ProductExe(L"Skelvane.exe") + L"\"");
    HWND window = FindProcessWindow(app.id(), kMainClass, 20000);
    ASSERT_TRUE(window);
    for (const DWORD start = ::GetTickCount();
         !silent.requests() && ::GetTickCount() - start < 20000;)
        ::Sleep(20);
    ASSERT_GE(silent.requests(), 1);

    DWORD longest = 0;
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < 5000; ::Sleep(50)) {
        const DWORD asked = ::GetTickCount();
        DWORD_PTR answer = 0;
        EXPECT_TRUE(::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 500, &answer));
        longest = std::max(longest, ::GetTickCount() - asked);
    }
    EXPECT_LT(longest, 500u);
    std::printf("longest answer to WM_NULL during the fetch: %lu ms\n", longest);
    EXPECT_EQ(WindowText(Item(window, ControlId::picInternetApp)), kNotCheckedText);
    // Painted mid-wait: the placeholder of every row, the logo, the captions.
    ::InvalidateRect(window, nullptr, TRUE);
    ::Sleep(300);
    const Shot shot = Capture(window);
    for (ControlId drawn : {kStatusBoxes[0], kStatusBoxes[1], kStatusBoxes[2], kStatusBoxes[3],
                            kStatusBoxes[4], kStatusBoxes[5], ControlId::Label4})
        EXPECT_GT(shot.Count(PlaceOf(window, drawn), NotWhite), 10);

    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); // what the title bar's close box sends
    const DWORD closedAt = ::GetTickCount();
    ASSERT_TRUE(app.Wait(10000));
    const DWORD took = ::GetTickCount() - closedAt;
    EXPECT_LT(took, 2000u);
    EXPECT_EQ(app.ExitCode(), 0u);
    std::printf("closed mid-fetch: the process ended %lu ms later\n", took);
}

// Every message of the window's private range, as any program on the desktop may post it.
void PostPrivateRange(HWND window) {
    for (UINT msg = WM_APP; msg <= WM_APP + 15; ++msg)
        for (WPARAM w : {0, 1, 10})
            ::PostMessageW(window, msg, w, 0);
}

// Ctrl+C and the client area's menu copy the results once the checks are done, not
// before; Escape never closes the window, Enter on the focused Close does. What another
// program posts to the window's private range, during the run and after it, neither
// starts, nests nor ends a run: the copy still holds the one run's six rows.
TEST(Window, KeysAndMenuAfterTheChecks) {
    ChildProcess app(L"\"" + ProductExe(L"Skelvane.exe") + L"\"");
    HWND window = FindProcessWindow(app.id(), kMainClass, 20000);
    ASSERT_TRUE(window);
    ::SetForegroundWindow(window);
    EmptyClipboard();
    while (WindowText(Item(window, kStatusBoxes[0])) == kNotCheckedText && ::IsWindow(window))
        ::Sleep(20);
    PostPrivateRange(window);
    Press({VK_CONTROL, 'C'}); // while the checks run: held, like all input
    EXPECT_EQ(Clipboard(), L"");
    WatchRun(window, 90000);
    HWND close = Item(window, ControlId::cmdClose);
    ASSERT_TRUE(::IsWindowEnabled(close));
    PostPrivateRange(window);

    // The console report's lines, then the program and when the checks ran: today.
    LocalTime when{};
    const std::wstring copied = CopyResults(when);
    ASSERT_NE(copied.find(L"Checked: "), std::wstring::npos)
        << std::string(copied.begin(), copied.end());
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    EXPECT_EQ(when.year, today.wYear);
    EXPECT_EQ(when.month, today.wMonth);
    EXPECT_EQ(when.day, today.wDay);
    Prerequisites here;
    std::vector<ReportRow> rows;
    for (const CheckRow& row : kCheckRows)
        rows.push_back(RunCheckRow(here, row, ThisWindows(), StepReader::Window));
    EXPECT_EQ(copied, CopiedResults(rows, here.os().description, kThisProgram, when));
    std::printf("copied:\n%s", std::string(copied.begin(), copied.end()).c_str());

    EmptyClipboard();
    RECT r;
    ::GetWindowRect(Item(window, ControlId::picOs), &r);
    ::PostMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                   MAKELPARAM(r.left + 2, r.top + 2));
    ASSERT_TRUE(FindProcessWindow(app.id(), L"#32768", 5000)); // the menu
    Press({VK_DOWN});
    Press({VK_RETURN});
    EXPECT_EQ(Clipboard(), copied);

    ::PostMessageW(close, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(close, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_FALSE(app.Wait(1500));
    ASSERT_TRUE(::IsWindow(window));
    ::PostMessageW(close, WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageW(close, WM_KEYUP, VK_RETURN, 0);
    EXPECT_TRUE(app.Wait(5000));
}

// A row's action, from its menu: opened from the mouse (a right-click on the box or its
// caption) or the keyboard (Tab to the box, Shift+F10), on the Windows Wine is told to be.
struct Trigger {
    ControlId at;  // a box, or a caption for a right-click
    bool keyboard; // Tab to it, then Shift+F10
    const wchar_t* program;
    const wchar_t* argument; // what the started tool's command line holds besides
};
struct ActionRun {
    const char* name;
    const wchar_t* version; // Wine's name for the Windows; empty: the prefix's own, 7
    bool amongCopies;       // started in a folder that holds copies of the tools
    Trigger triggers[2];
};
constexpr wchar_t kNetConnections[] = L"netconnections";
constexpr wchar_t kDotNetPage[] =
    L"https://dotnet.microsoft.com/download/dotnet-framework/net35-sp1";
// clang-format off
constexpr ActionRun kActionRuns[] = {
    {"Windows 7", L"", false, {{ControlId::Label3, false, L"OptionalFeatures.exe", L""},
                               {ControlId::picInternetData, true, L"control.exe", kNetConnections}}},
    {"Windows 10, started among copies of the tools", L"win10", true,
     {{ControlId::picDotNet, true, L"OptionalFeatures.exe", L""},
      {ControlId::picInternetData, false, L"control.exe", kNetConnections}}},
    {"Vista: the .NET row's page, in the prefix's https handler", L"vista", false,
     {{ControlId::picDotNet, false, L"winebrowser.exe", kDotNetPage},
      {ControlId::Label6, false, L"control.exe", kNetConnections}}}};
constexpr ControlId kTabOrderFromClose[] = {ControlId::picInstaller, ControlId::picOs,
    ControlId::picDotNet, ControlId::picInternetApp, ControlId::picSmartCard, ControlId::picInternetData};
// clang-format on

bool Dark(Colour c) {
    return (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) < 200;
}

// The tools are stand-ins that log each start: OptionalFeatures.exe only in the 64-bit
// system folder (a 32-bit checker reaches it through Sysnative), control.exe and the https
// handler in both, and copies of all beside the checker in one run, which must never start.
TEST(Window, RowActionsStartTheirToolFromTheSystemFolder) {
    if (!std::getenv("SKELVANE_THROWAWAY_MADE")) GTEST_SKIP() << "only in a throwaway prefix";
    TempFolder beside;
    const std::wstring log = beside / L"starts.log";
    ::SetEnvironmentVariableW(L"SKELVANE_STAND_IN_LOG", log.c_str());
    wchar_t folder[MAX_PATH] = {};
    const std::wstring windows(folder, ::GetWindowsDirectoryW(folder, MAX_PATH));
    const bool wow64 =
        ::GetFileAttributesW((windows + L"\\Sysnative").c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::wstring native = windows + (wow64 ? L"\\Sysnative" : L"\\system32");
    const std::wstring wow = windows + L"\\syswow64";
    const std::pair<std::wstring, const wchar_t*> plants[] = {
        {native, L"OptionalFeatures.exe"}, {native, L"control.exe"},
        {native, L"winebrowser.exe"},      {wow, L"control.exe"},
        {wow, L"winebrowser.exe"},         {beside.path(), L"OptionalFeatures.exe"},
        {beside.path(), L"control.exe"},   {beside.path(), L"winebrowser.exe"}};
    const std::wstring standIn = WinePath(SKELVANE_FIXTURE_DIR) + L"\\stand_in.exe";
    for (const auto& [into, name] : plants) {
        const std::wstring to = into + L"\\" + name;
        ::DeleteFileW(to.c_str()); // a hard link to the build prefix's file: never written through
        ASSERT_TRUE(::CopyFileW(standIn.c_str(), to.c_str(), TRUE));
    }
    ASSERT_TRUE(
        ::CopyFileW(ProductExe(L"Skelvane.exe").c_str(), (beside / L"Skelvane.exe").c_str(), TRUE));

    for (const ActionRun& run : kActionRuns) {
        SCOPED_TRACE(run.name);
        RegistryValueGuard version(kHkeyCurrentUser, L"Software\\Wine\\AppDefaults\\Skelvane.exe",
                                   L"Version");
        if (*run.version) version.Set(run.version);
        const std::wstring exe =
            run.amongCopies ? beside / L"Skelvane.exe" : ProductExe(L"Skelvane.exe");
        ChildProcess app(L"\"" + exe + L"\"", false, -1,
                         run.amongCopies ? beside.path().c_str() : nullptr);
        HWND window = FindProcessWindow(app.id(), kMainClass, 20000);
        ASSERT_TRUE(window);
        ASSERT_TRUE(BringToFront(window));
        WatchRun(window, 90000);
        for (const Trigger& trigger : run.triggers) {
            ::DeleteFileW(log.c_str());
            HWND at = Item(window, trigger.at);
            // A tool started before took the foreground; the window, activated again, holds
            // the focus itself, and Tab takes it round to Close.
            ASSERT_TRUE(BringToFront(window));
            for (int i = 0; i < 8 && FocusOf(window) != Item(window, ControlId::cmdClose); ++i)
                Press({VK_TAB});
            if (trigger.keyboard) {
                // Tab goes round the boxes in the layout's tab order; the logo is left out.
                std::vector<HWND> order;
                while (order.size() < 8 && FocusOf(window) != at) {
                    Press({VK_TAB});
                    order.push_back(FocusOf(window));
                }
                ASSERT_EQ(FocusOf(window), at);
                for (std::size_t i = 0; i < order.size(); ++i)
                    EXPECT_EQ(order[i], Item(window, kTabOrderFromClose[i % 6]));
                // Its tip shows beside it, and a frame in the text colour around it.
                EXPECT_TRUE(WindowText(at).ends_with(L": " + ShownTipText(app.id())));
                const PixelRect box = PlaceOf(window, trigger.at);
                EXPECT_EQ(Capture(window).Count({box.left, box.top, box.width, 1}, Dark),
                          box.width);
                Press({VK_SHIFT, VK_F10});
            } else {
                RECT r;
                ::GetWindowRect(at, &r);
                RightClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            }
            ASSERT_TRUE(FindProcessWindow(app.id(), L"#32768", 5000)); // the menu
            ::Sleep(300); // it shows a moment before its loop takes the keys
            Press({'O'});
            std::wstring started;
            for (const DWORD start = ::GetTickCount();
                 started.empty() && ::GetTickCount() - start < 10000; ::Sleep(100)) {
                const std::string bytes = ReadFileBytes(log);
                started.assign(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
            }
            std::printf("%s: %ls", run.name, started.c_str());
            const std::size_t bar = started.find(std::wstring(L"\\") + trigger.program + L"|");
            ASSERT_NE(bar, std::wstring::npos);
            EXPECT_NE(started.find(trigger.argument, bar), std::wstring::npos);
            EXPECT_EQ(started.find(beside.path()), std::wstring::npos); // no copy beside it
        }
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(app.Wait(10000));
    }
}

} // namespace
} // namespace skelvane::test
