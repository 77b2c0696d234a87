// Check again: once the checks have run, the window goes back to how it stood before the
// first run and the same sequence runs again from the queue.
#include "app/frmMain.h"

#include "app/check_table.h"
#include "app/status_text.h"

#include <commctrl.h>

namespace skelvane {

void frmMain::CheckAgain() {
    // While the checks run, or are about to, a request is dropped, never kept for later.
    if (sequence_ != Sequence::Done) return;
    // A disabled button cannot keep the focus, nor a box its stale tip: the window holds
    // it, as in the first run, until the end of the run gives it back to Close.
    const HWND close = Control(ControlId::cmdClose);
    if (::IsChild(hwnd_, ::GetFocus())) ::SetFocus(hwnd_);
    ::EnableWindow(close, FALSE);
    ResetRows();
    results_.clear();
    actions_.fill({});
    startFailed_.fill(false);
    sequence_ = Sequence::Loaded;
    QueueChecks();
}

// Each status box back to its picture from the layout and "not checked yet", without a
// tooltip (a tip from the last run would be stale), and the system's description gone.
void frmMain::ResetRows() {
    if (tooltip_) ::SendMessageW(tooltip_, TTM_POP, 0, 0);
    for (const ControlId id : kStatusBoxes) {
        HWND box = Control(id);
        Picture(id) = LayoutOf(id).image;
        ::SetWindowTextW(box, kNotCheckedText);
        ::InvalidateRect(box, nullptr, TRUE);
        if (!tooltip_) continue;
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(box);
        ::SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SetLabelText(ControlId::lblOS, std::wstring(LayoutOf(ControlId::lblOS).caption));
}

} // namespace skelvane
