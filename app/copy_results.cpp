// Copy results: the results on the clipboard as plain text, once the checks have run.
#include "app/frmMain.h"

#include "app/program_name.h"

#include <cstring>

namespace skelvane {

namespace {

// Puts text on the clipboard as Unicode text; once the system takes the memory, it is the
// system's. Another program may hold the clipboard for a moment, so the open is retried.
bool PutOnClipboard(HWND owner, const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    unique_global memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    void* at = memory ? ::GlobalLock(memory.get()) : nullptr;
    if (!at) return false;
    std::memcpy(at, text.c_str(), bytes);
    ::GlobalUnlock(memory.get());
    bool open = false;
    for (int attempt = 0; attempt < 10 && !(open = ::OpenClipboard(owner)); ++attempt)
        ::Sleep(20);
    if (!open) return false;
    const bool taken = ::EmptyClipboard() && ::SetClipboardData(CF_UNICODETEXT, memory.get());
    ::CloseClipboard();
    if (taken) memory.release();
    return taken;
}

} // namespace

// The results as the console report words them, then the program and when the checks ran.
void frmMain::CopyResults() {
    if (sequence_ != Sequence::Done) return;
    const LocalTime when{checkedAt_.wYear, checkedAt_.wMonth,  checkedAt_.wDay,
                         checkedAt_.wHour, checkedAt_.wMinute, checkedAt_.wSecond};
    if (!PutOnClipboard(hwnd_, CopiedResults(results_, os().description, kThisProgram, when)))
        ::MessageBeep(MB_ICONWARNING);
}

} // namespace skelvane
