// How much of the (failure kind x Windows family) table of next steps says something
// particular, and how much falls back to the general step: the matrix, then the counts.
// "own" marks a step of its own, "-" the general step.
#include "app/row_actions.h"
#include "checks/next_step.h"

#include <cstdio>
#include <iterator>
#include <set>
#include <string>

// Which cells also have an action that opens the place the step names, and of what kind:
// "prog" a program of the system folder, "addr" an address, "-" none.
void PrintActionMatrix(const char* const* families, const char* const* kinds, int first, int last) {
    using namespace skelvane;
    std::printf("\nactions:\n%-21s", "");
    for (int f = 0; f < kWindowsFamilies; ++f)
        std::printf(" %7s", families[f]);
    std::printf("\n");
    int cells = 0, withAction = 0, serverCells = 0, serverWithAction = 0;
    for (int k = first; k <= last; ++k) {
        std::printf("%-21s", kinds[k - first]);
        for (int f = 0; f < kWindowsFamilies; ++f) {
            const auto family = static_cast<WindowsFamily>(f);
            const RowAction* action = ActionFor(static_cast<FailureKind>(k), family);
            const bool isServer =
                family == WindowsFamily::Server2003 || family == WindowsFamily::Server2008 ||
                family == WindowsFamily::Server2008R2 || family == WindowsFamily::Server2012 ||
                family == WindowsFamily::Server2012R2OrLater;
            ++cells;
            withAction += action != nullptr;
            serverCells += isServer;
            serverWithAction += isServer && action;
            std::printf(" %7s", !action                                        ? "-"
                                : action->places[0].kind == PlaceKind::Program ? "prog"
                                                                               : "addr");
        }
        std::printf("\n");
    }
    std::printf("%d cells: %d with an action; of the %d server cells, %d with an action\n", cells,
                withAction, serverCells, serverWithAction);
}

int main() {
    using namespace skelvane;
    constexpr const char* kFamilies[kWindowsFamilies] = {"<XP",  "XP",   "2003",    "Vista",
                                                         "2008", "7",    "2008R2",  "8",
                                                         "2012", "8.1+", "2012R2+", "26H1+"};
    constexpr const char* kKinds[] = {
        "Unfinished",         "NameNotResolved",      "NoConnection",
        "CertificateDate",    "CertificateAuthority", "CertificateName",
        "CertificateOther",   "SecureChannel",        "ProxyScript",
        "ProxyNeedsPassword", "ProxyRefusedSignIn",   "ServicePage",
        "WebOther",           "OsUnsupported",        "InstallerTooOld",
        "InstallerBroken",    "DotNetMissing",        "ReaderToolsMissing"};
    constexpr int first = static_cast<int>(FailureKind::Unfinished);
    constexpr int last = static_cast<int>(FailureKind::ReaderToolsMissing);
    static_assert(std::size(kKinds) == last - first + 1);

    std::printf("%-21s", "");
    for (const char* family : kFamilies)
        std::printf(" %7s", family);
    std::printf("\n");
    int cells = 0, general = 0, serverCells = 0, serverGeneral = 0;
    std::set<std::wstring> distinct;
    for (int k = first; k <= last; ++k) {
        std::printf("%-21s", kKinds[k - first]);
        for (int f = 0; f < kWindowsFamilies; ++f) {
            const auto family = static_cast<WindowsFamily>(f);
            const std::wstring step =
                NextStep(static_cast<FailureKind>(k), family, StepReader::Report);
            const bool isGeneral = step == kGeneralStep;
            distinct.insert(step);
            const bool isServer =
                family == WindowsFamily::Server2003 || family == WindowsFamily::Server2008 ||
                family == WindowsFamily::Server2008R2 || family == WindowsFamily::Server2012 ||
                family == WindowsFamily::Server2012R2OrLater;
            ++cells;
            general += isGeneral;
            serverCells += isServer;
            serverGeneral += isServer && isGeneral;
            std::printf(" %7s", isGeneral ? "-" : "own");
        }
        std::printf("\n");
    }
    std::printf("%d cells (%d failure kinds x %d Windows families): %d with a step of their own, "
                "%d with the general step\n",
                cells, cells / kWindowsFamilies, kWindowsFamilies, cells - general, general);
    std::printf("%zu different steps, the general one included\n", distinct.size());
    std::printf("of them server cells: %d, %d with a step of their own, %d with the general step\n",
                serverCells, serverCells - serverGeneral, serverGeneral);
    PrintActionMatrix(kFamilies, kKinds, first, last);
}
