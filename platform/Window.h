// The window base class: one object per HWND, found by the window procedure through GWLP_USERDATA.
#pragma once

#include <string>

#include "core/Scale.h"
#include "platform/Win32.h"

namespace vellicot {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }

protected:
    // Registers a window class whose procedure dispatches to Window objects; once per name.
    static void RegisterWindowClass(const wchar_t* className, UINT style = 0, HBRUSH background = nullptr,
                                    HICON icon = nullptr);

    // Creates the window; the object receives every message from WM_NCCREATE on. A window that cannot
    // be made throws AppError with the system's reason.
    HWND CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU menuOrId);

    // The default handling, with the DPI changes of a window that follows its display's DPI.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // For a top-level window whose client size and layout are written at 96 DPI: reads the DPI of the
    // display it is on, gives it that client size at the DPI and lays it out. From then on it follows
    // its display: asked for its size at another DPI (WM_GETDPISCALEDSIZE) it answers with the exact
    // outer size, and moved to a display of another DPI (WM_DPICHANGED) it takes the suggested place,
    // sizes its client area and lays itself out again.
    void FollowDpi(int clientWidth, int clientHeight);
    // Places the controls and makes the fonts at Dpi(); runs in FollowDpi and at every DPI change.
    virtual void LayOut() {}
    int Dpi() const noexcept { return dpi_; }
    // A length or box of the window at 96 DPI, at the window's DPI.
    int Scaled(int value) const noexcept { return ScaleToDpi(value, dpi_); }
    Box Scaled(const Box& box) const noexcept { return ScaleToDpi(box, dpi_); }
    // Gives a child window its box, written at 96 DPI, at the window's DPI.
    void Place(HWND child, const Box& box) const noexcept;

private:
    friend Window* WindowFromHandle(HWND hwnd) noexcept;
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    void OnDpiChanged(int dpi, const RECT& suggested);
    // The outer size that holds the client area at that DPI.
    SIZE OuterSizeAt(int dpi) const noexcept;

    HWND hwnd_ = nullptr;
    int dpi_ = kBaseDpi;
    SIZE client_{};                 // at 96 DPI; empty while the window does not follow the DPI
    bool resizeAtRestore_ = false;  // the DPI changed while the window was minimised
};

// The object behind a window made by Window::CreateHandle, or null for any other window.
Window* WindowFromHandle(HWND hwnd) noexcept;

// Resizes a window so that its client area has the given size, whatever its frame measures at the
// window's DPI.
void SetClientSize(HWND hwnd, int width, int height) noexcept;

// The DPI of the display the window is on. Windows 10 before version 1607 has no per-window DPI:
// there it is the screen's DPI, which the manifest's older dpiAware entry makes the program's.
int DpiOfWindow(HWND hwnd) noexcept;
// The DPI the system's own metrics are given at.
int ScreenDpi() noexcept;
// A system metric (SM_...) at a DPI; before Windows 10 version 1607, the screen's metric scaled to it.
int SystemMetricAtDpi(int index, int dpi) noexcept;

}  // namespace vellicot
