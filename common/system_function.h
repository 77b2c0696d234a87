#pragma once
// A function of a DLL the process already has (kernel32, ntdll, user32), looked up at run
// time: a static import of one that older Windows lacks would stop the program starting
// there. Null where the system does not have it.
#include <windows.h>

namespace skelvane {

template <typename Function> Function SystemFunction(const wchar_t* module, const char* name) {
    const HMODULE loaded = ::GetModuleHandleW(module);
    return loaded
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(loaded, name)))
               : nullptr;
}

} // namespace skelvane
