#pragma once
// After a cross, the place that fixes it, where the row's next step names one: the row's
// menu offers to open it in one click. Chosen by what failed and by the Windows family, as
// the next step is. Where a tool's name or its presence on a family is not certain, there
// is no action and the step stays as words.
#include "checks/next_step.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace skelvane {

enum class PlaceKind {
    Program, // a program of the system folder, by its file name, with fixed arguments
    Address, // a fixed https or ms-settings: address, opened by the user's default handler
};

struct Place {
    PlaceKind kind;
    std::wstring_view target; // the program's file name or the address; empty: no place
    std::wstring_view arguments = {};
    std::uint32_t fromMajor = 0; // only from this major version of Windows on
};

struct RowAction {
    std::wstring_view caption;   // the menu item, which the tooltip names too
    std::wstring_view place;     // as the row's step names it
    std::array<Place, 2> places; // the first this computer has is the one that opens
};

// Null where the failure has no action on that family.
const RowAction* ActionFor(FailureKind kind, WindowsFamily family);

} // namespace skelvane
