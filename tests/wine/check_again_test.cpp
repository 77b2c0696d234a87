// Check again once the checks have run, and the title bar's menu while they run, driven
// from outside the checker's process.
#include "app/check_table.h"
#include "app/program_name.h"
#include "app/status_text.h"
#include "checks/prerequisites.h"
#include "resources/resource.h"
#include "support.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cwchar>
#include <tuple>
#include <vector>

namespace skelvane::test {
namespace {

constexpr wchar_t kMenuClass[] = L"#32768";

GUITHREADINFO ThreadOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}

// The run gives Close the focus a moment after it enables it.
bool FocusComesTo(HWND window, HWND control) {
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < 2000; ::Sleep(20))
        if (FocusOf(window) == control) return true;
    return false;
}

bool InMenuMode(HWND window) {
    return ThreadOf(window).flags & GUI_INMENUMODE;
}

BOOL CALLBACK FindTooltip(HWND hwnd, LPARAM found) {
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    if (std::wcscmp(name, TOOLTIPS_CLASSW) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

// How many controls the window's tooltip has a tip for (it is hidden, so found by class).
LRESULT TipCount(HWND window) {
    HWND tooltip = nullptr;
    ::EnumThreadWindows(::GetWindowThreadProcessId(window, nullptr), &FindTooltip,
                        reinterpret_cast<LPARAM>(&tooltip));
    DWORD_PTR count = 0;
    if (tooltip) ::SendMessageTimeoutW(tooltip, TTM_GETTOOLCOUNT, 0, 0, SMTO_NORMAL, 1000, &count);
    return static_cast<LRESULT>(count);
}

// Looks at least once: the search runs while less than its time has passed.
bool MenuShown(DWORD processId) {
    return FindProcessWindow(processId, kMenuClass, 50) != nullptr;
}

bool MenuGone(DWORD processId, DWORD timeoutMs) {
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < timeoutMs; ::Sleep(50))
        if (!MenuShown(processId)) return true;
    return false;
}

void RightClickClient(HWND window) {
    RECT r;
    ::GetWindowRect(Item(window, ControlId::picOs), &r);
    ::PostMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                   MAKELPARAM(r.left + 2, r.top + 2));
}

void OpenResultsMenu(HWND window, DWORD processId) {
    RightClickClient(window);
    EXPECT_TRUE(FindProcessWindow(processId, kMenuClass, 5000));
}

auto Ordered(const LocalTime& t) {
    return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

struct Trigger {
    const char* name;
    void (*start)(HWND window, DWORD processId);
};

constexpr Trigger kTriggers[] = {
    {"F5, pressed twice",
     [](HWND, DWORD) {
         Press({VK_F5});
         Press({VK_F5});
     }},
    {"the right-click menu's item, by its access key",
     [](HWND window, DWORD processId) {
         OpenResultsMenu(window, processId);
         Press({'A'});
     }},
    {"the command while the right-click menu is open: the menu closes first",
     [](HWND window, DWORD processId) {
         OpenResultsMenu(window, processId);
         ::PostMessageW(window, WM_COMMAND, IDM_CHECK_AGAIN, 0);
         EXPECT_TRUE(MenuGone(processId, 2000));
     }},
};

// Each way of checking again puts the window back as it stood before the first run, runs
// the same sequence, and leaves the new results to copy; none acts while a run goes on.
TEST(CheckAgain, RunsTheSequenceAgainAsTheFirstTime) {
    ChildProcess app(L"\"" + ProductExe(L"Skelvane.exe") + L"\"");
    HWND window = FindProcessWindow(app.id(), kMainClass, 20000);
    ASSERT_TRUE(window);
    ::SetForegroundWindow(window);
    ASSERT_EQ(WatchRun(window, 90000).size(), std::size(kCheckRows));
    HWND close = Item(window, ControlId::cmdClose);
    Prerequisites here;
    std::vector<ReportRow> rows;
    for (const CheckRow& row : kCheckRows)
        rows.push_back(RunCheckRow(here, row, ThisWindows(), StepReader::Window));
    LocalTime previous{};
    CopyResults(previous);

    for (const Trigger& trigger : kTriggers) {
        SCOPED_TRACE(trigger.name);
        ASSERT_TRUE(FocusComesTo(window, close));
        const double asked = NowMs();
        trigger.start(window, app.id());
        EXPECT_FALSE(::IsWindowEnabled(close));
        EXPECT_EQ(FocusOf(window), window);
        for (const ControlId box : kStatusBoxes)
            EXPECT_EQ(WindowText(Item(window, box)), kNotCheckedText);
        EXPECT_EQ(WindowText(Item(window, ControlId::lblOS)), LayoutOf(ControlId::lblOS).caption);
        EXPECT_EQ(TipCount(window), 0);
        LocalTime none{};
        EXPECT_EQ(CopyResults(none), L""); // nothing to copy while the checks run

        const double watched = NowMs() - asked;
        const std::vector<Change> changes = WatchRun(window, 90000);
        ASSERT_TRUE(::IsWindowEnabled(close));
        ASSERT_EQ(changes.size(), std::size(kCheckRows));
        EXPECT_GE(watched + changes[0].at, 1000.0); // the first pause too
        for (std::size_t i = 0; i < changes.size(); ++i) {
            EXPECT_EQ(changes[i].row, i);
            EXPECT_EQ(changes[i].text, ShownStatus(rows[i]));
            if (i > 0) {
                EXPECT_GE(changes[i].at - changes[i - 1].before, 1000.0);
            }
        }
        EXPECT_TRUE(FocusComesTo(window, close));
        EXPECT_EQ(WindowText(Item(window, ControlId::lblOS)), here.os().description);
        EXPECT_EQ(TipCount(window), static_cast<LRESULT>(std::size(kStatusBoxes)));
        EXPECT_EQ(HoverText(Item(window, kStatusBoxes.back()), app.id()), ShownTip(rows.back()));

        LocalTime when{};
        const std::wstring copied = CopyResults(when);
        EXPECT_EQ(copied, CopiedResults(rows, here.os().description, kThisProgram, when));
        EXPECT_GT(Ordered(when), Ordered(previous)); // a run takes six seconds at least
        previous = when;
        // Still done a moment later: nothing pressed meanwhile was kept for later.
        ::Sleep(1500);
        EXPECT_TRUE(::IsWindowEnabled(close));
        EXPECT_EQ(WindowText(Item(window, kStatusBoxes[0])), ShownStatus(rows[0]));
    }

    // Once a run has begun, F5 and the command are dropped; a close from the title bar
    // then ends the program at once.
    Press({VK_F5});
    HWND first = Item(window, kStatusBoxes[0]);
    for (const DWORD start = ::GetTickCount();
         WindowText(first) == kNotCheckedText && ::GetTickCount() - start < 20000;)
        ::Sleep(20);
    ASSERT_NE(WindowText(first), kNotCheckedText);
    Press({VK_F5});
    ::PostMessageW(window, WM_COMMAND, IDM_CHECK_AGAIN, 0);
    ::Sleep(300);
    EXPECT_NE(WindowText(first), kNotCheckedText);
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    const DWORD closedAt = ::GetTickCount();
    ASSERT_TRUE(app.Wait(10000));
    EXPECT_LT(::GetTickCount() - closedAt, 2000u);
    EXPECT_EQ(app.ExitCode(), 0u);
}

void RightClickCaption(HWND window) {
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    RECT frame;
    ::GetWindowRect(window, &frame);
    RightClickAt((frame.left + frame.right) / 2, origin.y - ::GetSystemMetrics(SM_CYCAPTION) / 2);
}

struct MenuRequest {
    const char* name;
    void (*open)(HWND window);
    bool opens;
};

constexpr MenuRequest kMenuRequests[] = {
    {"a right-click in the client area: the results menu waits", RightClickClient, false},
    {"a right-click on the title bar", RightClickCaption, true},
    {"Alt+Space",
     [](HWND) {
         Press({VK_MENU, VK_SPACE});
     },
     true},
};

// During the run the title bar's menu opens and closes as ever, and the run goes on to
// its end; only the client area's menu waits.
TEST(CheckAgain, TitleBarMenuWorksDuringTheRun) {
    ChildProcess app(L"\"" + ProductExe(L"Skelvane.exe") + L"\"");
    HWND window = FindProcessWindow(app.id(), kMainClass, 20000);
    ASSERT_TRUE(window);
    ::SetForegroundWindow(window);
    HWND close = Item(window, ControlId::cmdClose);
    for (const MenuRequest& request : kMenuRequests) {
        SCOPED_TRACE(request.name);
        ASSERT_FALSE(::IsWindowEnabled(close));
        request.open(window);
        const bool shown = FindProcessWindow(app.id(), kMenuClass, request.opens ? 5000 : 1000);
        EXPECT_EQ(shown || InMenuMode(window), request.opens);
        EXPECT_FALSE(::IsWindowEnabled(close));
        // Escape closes the menu; after Alt+Space a second one leaves the menu mode, as a
        // user would, for that too holds the run. The menu shows a moment before its loop
        // takes the mouse and the mode begins.
        for (int escapes = 0; escapes < 3 && (InMenuMode(window) || MenuShown(app.id())); ++escapes)
            Press({VK_ESCAPE});
        EXPECT_FALSE(InMenuMode(window));
        EXPECT_TRUE(MenuGone(app.id(), 2000));
    }
    WatchRun(window, 90000);
    ASSERT_TRUE(::IsWindowEnabled(close));
    for (const ControlId box : kStatusBoxes)
        EXPECT_NE(WindowText(Item(window, box)), kNotCheckedText);
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(app.Wait(5000));
}

} // namespace
} // namespace skelvane::test
