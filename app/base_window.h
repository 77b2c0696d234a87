#pragma once
// The plumbing every top-level window class needs, apart from what it does: class
// registration, the trampoline from the system's window procedure to the object, and
// letting go of the object before the window's last message.
#include <windows.h>

namespace skelvane {

template <typename Derived> class BaseWindow {
  public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    HWND Window() const { return hwnd_; }

  protected:
    ~BaseWindow() = default;

    bool Register(HINSTANCE instance, WNDCLASSEXW wc) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &BaseWindow::WindowProc;
        wc.hInstance = instance;
        return ::RegisterClassExW(&wc) != 0;
    }

    HWND Create(HINSTANCE instance, const wchar_t* className, const wchar_t* caption, DWORD style,
                int width, int height) {
        ::CreateWindowExW(0, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, width, height,
                          nullptr, nullptr, instance, this);
        return hwnd_;
    }

    // Messages the window does not handle itself.
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
    }

    // Called when the window is gone; nothing of it may be touched after this.
    virtual void OnWindowGone() {}

    HWND hwnd_ = nullptr;

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE) {
            auto* self =
                static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<BaseWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
        if (msg == WM_NCDESTROY) {
            // The last message: the object lets go of the window before it goes.
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            self->OnWindowGone();
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        // The program's one boundary for what a handler throws: nothing unwinds through
        // the system's frames; the message gets the default handling instead.
        try {
            return static_cast<Derived*>(self)->HandleMessage(msg, wParam, lParam);
        } catch (...) {
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
        }
    }
};

} // namespace skelvane
