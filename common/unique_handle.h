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
using unique_file = unique_handle<file_traits>;
using unique_view = unique_handle<view_traits>;

} // namespace skelvane
