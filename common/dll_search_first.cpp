// Linked into each program: the DLL search is restricted before any other initialiser
// runs, the runtime's own among them. Its stack guard asks the system's cryptography for
// a random value, and that loads DLLs (on Windows 7, CRYPTBASE.dll is a DLL that planted
// copies have been loaded in place of).
#include "common/system_library.h"

namespace {

[[gnu::constructor(101)]] void RestrictDllSearchFirst() {
    skelvane::RestrictDllSearch();
}

} // namespace
