#pragma once
// A row's action as this computer can carry it out, and its start. Nothing comes from
// outside text, the program's own folder or the current folder: a program is started by
// its full path in the system folder, an address is fixed and opened by its handler.
#include "app/row_actions.h"

#include <windows.h>

#include <string>

namespace skelvane {

struct ReadyAction {
    std::wstring_view caption; // empty: no action on this computer
    std::wstring file;         // the program's full path, or the address
    std::wstring_view arguments;
};

// The first of the action's places this computer has: a program that is in the system
// folder (or, for a 32-bit process on 64-bit Windows, only in the 64-bit one), or an
// address whose scheme has a handler. None when no place is there.
ReadyAction ReadyActionFor(FailureKind kind, WindowsFamily family);

// Starts it through the shell, so a tool that needs an administrator gets the elevation
// prompt. Shows no message of its own; false when it could not be started or was refused.
bool StartAction(HWND owner, const ReadyAction& action);

} // namespace skelvane
