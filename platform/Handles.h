// Owning wrappers for Win32 and GDI+ handles, and scope objects for paired calls.
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/Win32.h"

namespace vellicot {

template <auto Close>
struct CloseWith {
    template <class H>
    void operator()(H h) const noexcept {
        Close(h);
    }
};
template <class H, auto Close>
using Unique = std::unique_ptr<std::remove_pointer_t<H>, CloseWith<Close>>;

namespace GF = Gdiplus::DllExports;

using UniqueHandle = Unique<HANDLE, &CloseHandle>;
using UniqueBrush = Unique<HBRUSH, &DeleteObject>;
using UniquePen = Unique<HPEN, &DeleteObject>;
using UniqueFont = Unique<HFONT, &DeleteObject>;
using UniqueBitmap = Unique<HBITMAP, &DeleteObject>;
using UniqueRegion = Unique<HRGN, &DeleteObject>;
using UniqueDC = Unique<HDC, &DeleteDC>;
using UniqueIcon = Unique<HICON, &DestroyIcon>;
using UniqueMenu = Unique<HMENU, &DestroyMenu>;

// Runs a callable when the scope ends, on every path out of it.
template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F f) noexcept : f_(std::move(f)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { f_(); }

private:
    F f_;
};

// SaveDC on entry, RestoreDC on exit.
class SavedDC {
public:
    explicit SavedDC(HDC dc) noexcept : dc_(dc), id_(SaveDC(dc)) {}
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    ~SavedDC() {
        if (id_ != 0)
            RestoreDC(dc_, id_);
    }

private:
    HDC dc_;  // not owned
    int id_;
};

// Selects a GDI object into a DC for the scope's lifetime and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(SelectObject(dc, obj)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (old_ != nullptr && old_ != HGDI_ERROR)
            SelectObject(dc_, old_);
    }

private:
    HDC dc_;       // not owned
    HGDIOBJ old_;  // not owned
};

// BeginPaint on entry, EndPaint on exit: the paint of one WM_PAINT that carries no DC.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &ps_)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &ps_); }

    HDC Dc() const noexcept { return dc_; }
    // The part of the client area that needs painting.
    const RECT& Invalid() const noexcept { return ps_.rcPaint; }

private:
    HWND window_;  // not owned
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// GetDC on entry, ReleaseDC on exit; a null window gives the screen's DC.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_ != nullptr)
            ReleaseDC(window_, dc_);
    }

    HDC Dc() const noexcept { return dc_; }

private:
    HWND window_;  // not owned
    HDC dc_;
};

// Clips a DC to a rectangle for the scope's lifetime (SelectClipRgn with a new region), then selects
// no clip region again.
class ClipScope {
public:
    ClipScope(HDC dc, const RECT& area) noexcept
        : dc_(dc), region_(CreateRectRgn(area.left, area.top, area.right, area.bottom)) {
        SelectClipRgn(dc_, region_.get());
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;
    ~ClipScope() { SelectClipRgn(dc_, nullptr); }

private:
    HDC dc_;  // not owned
    UniqueRegion region_;
};

// A screen-compatible memory DC with a 32-bit top-down DIB section selected into it.
class MemoryCanvas {
public:
    // How the pixels are described: as plain 32-bit words, which GDI+ takes for pixels with alpha
    // and keeps their alpha, or as the same words by bit fields, which GDI+ draws on as on a window.
    enum class Words { kWithAlpha, kAsDevice };

    MemoryCanvas(int width, int height, Words words = Words::kWithAlpha);
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    ~MemoryCanvas();

    HDC Dc() const noexcept { return dc_.get(); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    // Pixels as 0xAARRGGBB words, row by row from the top; valid while the canvas lives.
    std::uint32_t* Pixels() const noexcept { return pixels_; }
    std::uint32_t Pixel(int x, int y) const noexcept { return pixels_[y * width_ + x]; }

private:
    int width_;
    int height_;
    UniqueDC dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
};

}  // namespace vellicot
