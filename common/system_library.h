#pragma once
// DLLs come from the system folder only. The programs are run from Downloads folders and
// shares, where anyone can drop a DLL of any name beside them; Windows searches the
// program's own folder first for every DLL outside its known list.
#include <windows.h>

namespace skelvane {

// The first thing each program does: the system folder becomes the only place a DLL is
// searched for, where the system allows that (Windows 8 and later, Vista and 7 with the
// loader update), for the program and for what system DLLs load on its behalf; the
// current folder leaves the search everywhere else (XP SP1 and later).
void RestrictDllSearch();

// Loads a DLL of the system folder by its full path, its own dependencies searched from
// there; null (with the system's error) when it cannot. The delay-load table goes through
// this too, and a delay-loaded DLL it cannot load ends the program: never a bare name.
HMODULE LoadSystemLibrary(const wchar_t* name);

} // namespace skelvane
