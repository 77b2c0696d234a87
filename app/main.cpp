#include "frmMain.h"

#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    skelvane::frmMain window;
    return window.Run(instance, showCommand);
}

// The default terminate handler prints a demangled type name to a console this
// program does not have; replacing it keeps the demangler out of the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
