// The row a check gets when it throws and not even its failure can be made: one
// allocation made to fail on purpose, in a program of its own.
#include "app/check_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {
long allocationsBeforeFailure = -1; // -1: none fails
} // namespace

void* operator new(std::size_t size) {
    if (allocationsBeforeFailure == 0) {
        allocationsBeforeFailure = -1;
        throw std::bad_alloc();
    }
    if (allocationsBeforeFailure > 0) --allocationsBeforeFailure;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace skelvane {
namespace {

using Check = CheckResult (Prerequisites::*)();

struct Failing : Prerequisites {
    CheckResult Passes() { return Pass(L"fine"); }
    // Throws what no handler names; the next allocation, the reason's, fails.
    CheckResult Throws() {
        allocationsBeforeFailure = 0;
        throw 42;
    }
};

TEST(RunCheckRow, ACheckThatThrowsKeepsItsRowsNameAndId) {
    Failing checks;
    for (const CheckRow& table : kCheckRows) {
        CheckRow row = table;
        row.check = static_cast<Check>(&Failing::Passes);
        const std::wstring name =
            RunCheckRow(checks, row, WindowsFamily::Seven, StepReader::Window).name;
        row.check = static_cast<Check>(&Failing::Throws);
        const ReportRow r = RunCheckRow(checks, row, WindowsFamily::Seven, StepReader::Window);
        EXPECT_EQ(allocationsBeforeFailure, -1); // the failure did happen
        EXPECT_EQ(r.id, table.id);
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(r.name, name);
        EXPECT_FALSE(r.result.passed);
        EXPECT_EQ(r.result.reason, L"the check could not finish");
        EXPECT_EQ(r.nextStep, kGeneralStep);
    }
}

} // namespace
} // namespace skelvane
