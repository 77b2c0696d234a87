// The programs' own stack guard: a fresh value each run, and an overrun ends the process.
#include "support.h"

#include <gtest/gtest.h>

namespace skelvane::test {
namespace {

std::wstring Overrun() {
    return L"\"" + WinePath(SKELVANE_TOOLS_DIR) + L"\\overrun.exe\"";
}

TEST(StackGuard, ChosenAnewEachRunAndEndsAnOverrun) {
    std::string guards[2];
    for (std::string& guard : guards) {
        ChildProcess run(Overrun(), true);
        ASSERT_TRUE(run.Wait(20000));
        EXPECT_EQ(run.ExitCode(), 0u);
        guard = run.Output();
        EXPECT_NE(guard, "bb40e64e\n"); // the value before the first initialiser
    }
    EXPECT_NE(guards[0], guards[1]);

    ChildProcess overrun(Overrun() + L" overrun", true);
    ASSERT_TRUE(overrun.Wait(20000));
    EXPECT_EQ(overrun.ExitCode(), 0xC0000409u); // STATUS_STACK_BUFFER_OVERRUN
}

} // namespace
} // namespace skelvane::test
