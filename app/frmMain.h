#pragma once
// The checker's one window: its controls, the check sequence and how a result shows.
#include "app/base_window.h"
#include "app/check_table.h"
#include "app/layout.h"
#include "app/row_action_start.h"
#include "app/report.h"
#include "app/window_look.h"
#include "checks/prerequisites.h"
#include "common/unique_handle.h"

#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace skelvane {

class frmMain : public BaseWindow<frmMain>, public Prerequisites {
  public:
    // Creates and shows the window and runs its message loop until it is gone.
    int Run(HINSTANCE instance, int showCommand);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // True once the sequence has run to its end.
    bool bChecksDone() const { return sequence_ == Sequence::Done; }

  protected:
    WaitEnd WaitForFetch(void* finished, unsigned ms) override;
    void OnWindowGone() override { controls_.fill(nullptr); }

  private:
    // Loaded, then Queued by the first activation (or the first show), Running from the
    // queued start on, Done at its end; a closed window stops it where it is. Check again
    // takes Done back to Loaded and queues the sequence at once.
    enum class Sequence { Loaded, Queued, Running, Done };

    bool Create(HINSTANCE instance);
    void CreateControls();
    void QueueChecks();
    void OnStartChecks();
    void CheckAgain(); // check_again.cpp
    void ResetRows();
    void OnCommand(int id, int code);
    bool OnContextMenu(POINT at);
    void CopyResults(); // copy_results.cpp
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnDpiChanged(int dpi, const RECT* suggested);
    void RefreshLook();
    bool OnSetCursor();

    void RunChecks();
    void ShowRow(const CheckRow& row, const ReportRow& result);
    HWND Tooltip();
    bool Pause(DWORD ms);
    WaitEnd WaitWhileBusy(HANDLE finished, DWORD ms);
    bool DoEvents();
    bool PumpMessages(bool holdInput);
    void Dispatch(MSG& msg);
    void SetLabelText(ControlId label, const std::wstring& text);
    // row_access.cpp: each status box within reach of the keyboard, its menu and action
    void WatchFocus(HWND box);
    static LRESULT CALLBACK BoxProcedure(HWND box, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnBoxFocus(HWND box, bool focused);
    void DrawFocusFrame(const DRAWITEMSTRUCT& item);
    std::wstring_view RowMenuAction(POINT at, bool fromKeyboard);
    void StartRowAction();
    int RowOf(HWND box) const;
    std::wstring RowTip(std::size_t row) const;
    Image& Picture(ControlId id) { return pictures_[static_cast<int>(id) - 1]; }
    HWND Control(ControlId id) const { return controls_[static_cast<int>(id) - 1]; }

    HINSTANCE instance_ = nullptr;
    HACCEL shortcuts_ = nullptr; // a resource: the system frees it with the program
    int dpi_ = 96;
    Sequence sequence_ = Sequence::Loaded;
    int menuWaits_ = 0; // how often the queued start has waited for an open menu to close
    std::array<HWND, kControls.size()> controls_{};
    std::array<Image, kControls.size()> pictures_{}; // what each picture box shows
    WindowLook look_;
    unique_gdi font_;
    HWND tooltip_ = nullptr;         // made on first use; owned by the window, destroyed with it
    unique_gdi tooltipFont_;         // once the window has left the system DPI
    std::vector<ReportRow> results_; // what Copy results copies, once the sequence is done
    SYSTEMTIME checkedAt_{};
    std::array<ReadyAction, std::size(kCheckRows)> actions_{}; // each row's, once it shows
    std::array<bool, std::size(kCheckRows)> startFailed_{};
    int menuRow_ = -1;                  // the row whose menu was opened last
    WNDPROC staticProcedure_ = nullptr; // what the status boxes' own procedure passes on to
};

} // namespace skelvane
