// Owning wrappers for the Windows handles the controls use, so every GDI
// object, device context, window and image list is released on every path.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

namespace gui {

struct GdiObjectDeleter {
    void operator()(void* object) const { if (object) DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <class Handle>
using GdiPtr = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using FontPtr = GdiPtr<HFONT>;
using BitmapPtr = GdiPtr<HBITMAP>;
using BrushPtr = GdiPtr<HBRUSH>;

struct WindowDeleter {
    void operator()(HWND window) const { if (window) DestroyWindow(window); }
};
using WindowPtr = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { if (list) ImageList_Destroy(list); }
};
using ImageListPtr = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;

struct MemoryDcDeleter {
    void operator()(HDC dc) const { if (dc) DeleteDC(dc); }
};
using MemoryDcPtr = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

struct MenuDeleter {
    void operator()(HMENU menu) const { if (menu) DestroyMenu(menu); }
};
using MenuPtr = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

// A device context taken with GetDC and given back with ReleaseDC.
class WindowDc {
public:
    WindowDc() = default;
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept { swap(other); }
    WindowDc& operator=(WindowDc&& other) noexcept { WindowDc(std::move(other)).swap(*this); return *this; }
    ~WindowDc() { if (dc_) ReleaseDC(window_, dc_); }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset() { WindowDc().swap(*this); }
    void swap(WindowDc& other) noexcept { std::swap(window_, other.window_); std::swap(dc_, other.dc_); }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// Selects an object into a DC for the lifetime of the guard.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { if (previous_) SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace gui
