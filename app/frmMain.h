#pragma once
// The checker's one window: its controls, the check sequence and the six rows.
#include "../common/unique_handle.h"
#include "layout.h"

#include <windows.h>

#include <array>
#include <string>

namespace skelvane {

class frmMain {
  public:
    frmMain() = default;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Creates and shows the window and runs its message loop until it is gone.
    int Run(HINSTANCE instance, int showCommand);

    // The rows' checks and the probes they use.
    void CheckAppUrl();
    void CheckDataUrl();
    void CheckInstaller();
    bool TestUrl(const std::wstring& url, const std::wstring& SearchString);
    std::wstring WindowsDirectory();
    bool DirExists(const std::wstring& DirName);
    bool IsInstallerOK(const std::wstring& Version);

  private:
    enum class Sequence { Loaded, Running, Done };

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    bool Create(HINSTANCE instance);
    void CreateControls();
    void ChooseFont();
    bool CaptionsFit(HDC dc) const;
    void OnLoad();
    void OnActivate(WPARAM wParam);
    void QueueChecks();
    void OnStartChecks();
    void OnCommand(int id, int code);
    void OnCloseClick();
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    bool OnSetCursor();
    void OnDestroy();

    void RunChecks();
    void CheckOs();
    void CheckDotNet();
    void CheckSmartCard();

    bool Pause(DWORD ms);
    bool WaitWhileBusy(HANDLE finished, DWORD ms);
    bool DoEvents();
    void Dispatch(MSG& msg);
    void ShowResult(ControlId box, bool passed);
    void SetLabelText(ControlId label, const std::wstring& text);
    HBITMAP& Picture(ControlId id);
    HWND Control(ControlId id) const { return controls_[static_cast<int>(id) - 1]; }

    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    bool bChecksDone = false;
    Sequence sequence_ = Sequence::Loaded;
    bool busy_ = false;
    std::array<HWND, kControls.size()> controls_{};
    std::array<HBITMAP, kControls.size()> pictures_{}; // shared references into bitmaps_
    std::array<unique_gdi, 4> bitmaps_;
    unique_gdi font_;
};

} // namespace skelvane
