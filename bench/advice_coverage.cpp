// How much of the (failure kind x Windows) table of next steps says something particular,
// and how much falls back to the general step.
#include "checks/next_step.h"

#include <cstdio>

int main() {
    using namespace skelvane;
    int cells = 0, general = 0;
    for (int k = static_cast<int>(FailureKind::Unfinished);
         k <= static_cast<int>(FailureKind::ReaderToolsMissing); ++k)
        for (int f = 0; f < kWindowsFamilies; ++f) {
            ++cells;
            general += NextStep(static_cast<FailureKind>(k), static_cast<WindowsFamily>(f)) ==
                       kGeneralStep;
        }
    std::printf("%d cells (%d failure kinds x %d Windows families): %d with a step of their own, "
                "%d with the general step\n",
                cells, cells / kWindowsFamilies, kWindowsFamilies, cells - general, general);
}
