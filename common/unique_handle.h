#pragma once
// Move-only owners for the system's handles: each closes its handle exactly
// once, on every path out of the scope that acquired it.
#include <windows.h>

#include <utility>

namespace skelvane {

template <typename Traits> class unique_handle {
  public:
    using pointer = typename Traits::type;

    unique_handle() noexcept = default;
    explicit unique_handle(pointer h) noexcept : h_(h) {}
    unique_handle(unique_handle&& o) noexcept : h_(o.release()) {}
    unique_handle& operator=(unique_handle&& o) noexcept {
        reset(o.release());
        return *this;
    }
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    ~unique_handle() { reset(); }

    pointer get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::invalid(); }
    pointer release() noexcept { return std::exchange(h_, Traits::invalid()); }
    void reset(pointer h = Traits::invalid()) noexcept {
        if (h_ != Traits::invalid()) Traits::close(h_);
        h_ = h;
    }
    // For out-parameters: frees what is held and hands out the slot.
    pointer* put() noexcept {
        reset();
        return &h_;
    }

  private:
    pointer h_ = Traits::invalid();
};

struct hkey_traits {
    using type = HKEY;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::RegCloseKey(h); }
};
struct handle_traits {
    using type = HANDLE;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::CloseHandle(h); }
};
struct find_traits {
    using type = HANDLE;
    static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { ::FindClose(h); }
};
struct gdi_traits {
    using type = HGDIOBJ;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::DeleteObject(h); }
};

struct file_traits {
    using type = HANDLE;
    static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { ::CloseHandle(h); }
};
struct view_traits {
    using type = const void*;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::UnmapViewOfFile(h); }
};
struct memory_dc_traits {
    using type = HDC;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::DeleteDC(h); }
};
struct global_traits {
    using type = void*;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::GlobalFree(h); }
};
struct menu_traits {
    using type = HMENU;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::DestroyMenu(h); }
};
struct module_traits {
    using type = HMODULE;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::FreeLibrary(h); }
};

using unique_hkey = unique_handle<hkey_traits>;
using unique_kernel_handle = unique_handle<handle_traits>;
using unique_find_handle = unique_handle<find_traits>;
using unique_gdi = unique_handle<gdi_traits>;
using unique_module = unique_handle<module_traits>;
using unique_menu = unique_handle<menu_traits>;
using unique_file = unique_handle<file_traits>;
using unique_memory_dc = unique_handle<memory_dc_traits>; // CreateCompatibleDC
using unique_global = unique_handle<global_traits>;       // memory the system hands over

// A window's device context from GetDC, released to that window.
class client_dc {
  public:
    explicit client_dc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~client_dc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    client_dc(const client_dc&) = delete;
    client_dc& operator=(const client_dc&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context, the previous one put back at scope end.
class selected_object {
  public:
    selected_object(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~selected_object() {
        if (old_) ::SelectObject(dc_, old_);
    }
    selected_object(const selected_object&) = delete;
    selected_object& operator=(const selected_object&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};
using unique_view = unique_handle<view_traits>;

} // namespace skelvane
