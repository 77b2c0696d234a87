// Calls a function of a DLL no system folder holds, through the programs' delay-load hook,
// its own folder searched first as on XP: there the test drops a DLL of that name that
// leaves a marker when loaded. The hook must end the process, whatever handler resumes it.
//   delay_load_probe bare|delay|vectored-continue|frame-continue
#include <windows.h>

#include <delayimp.h>

#include <cstring>

extern "C" int ProbeFunction(); // of absent_probe.dll, delay-loaded

namespace {

constexpr DWORD kNotFound = VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND);

LONG WINAPI EndWithCode(EXCEPTION_POINTERS* exception) { // no debugger: an exit code at once
    ::TerminateProcess(::GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

LONG WINAPI ContinueNotFound(EXCEPTION_POINTERS* exception) {
    return exception->ExceptionRecord->ExceptionCode == kNotFound ? EXCEPTION_CONTINUE_EXECUTION
                                                                  : EXCEPTION_CONTINUE_SEARCH;
}

#if defined(__i386__)
EXCEPTION_DISPOSITION __cdecl ContinueNotFoundFrame(EXCEPTION_RECORD* record, void*, CONTEXT*,
                                                    void*) {
    return record->ExceptionCode == kNotFound ? ExceptionContinueExecution
                                              : ExceptionContinueSearch;
}

// Under a frame handler, registered the 32-bit way at the head of the thread's chain.
int CallUnderFrameHandler() {
    void* registration[2] = {nullptr, reinterpret_cast<void*>(&ContinueNotFoundFrame)};
    asm volatile("movl %%fs:0, %0\n\tmovl %1, %%fs:0"
                 : "=&r"(registration[0])
                 : "r"(registration)
                 : "memory");
    const int result = ProbeFunction();
    asm volatile("movl %0, %%fs:0" : : "r"(registration[0]) : "memory");
    return result;
}
#endif

} // namespace

int main(int argc, char** argv) {
    ::SetUnhandledExceptionFilter(&EndWithCode);
    const char* mode = argc > 1 ? argv[1] : "";
    if (std::strcmp(mode, "bare") == 0) return ::LoadLibraryW(L"absent_probe.dll") ? 0 : 1;
    if (std::strcmp(mode, "vectored-continue") == 0)
        ::AddVectoredExceptionHandler(1, &ContinueNotFound);
#if defined(__i386__)
    if (std::strcmp(mode, "frame-continue") == 0) return CallUnderFrameHandler();
#endif
    return ProbeFunction();
}
