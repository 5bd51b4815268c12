// The window base class: one object per HWND, found by the window procedure through GWLP_USERDATA.
#pragma once

#include <string>

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

    // Creates the window; the object receives every message from WM_NCCREATE on.
    HWND CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU menuOrId);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;

    HWND hwnd_ = nullptr;
};

// The object behind a window made by Window::CreateHandle, or null for any other window.
Window* WindowFromHandle(HWND hwnd) noexcept;

// Resizes a window so that its client area has the given size, whatever its frame measures at the
// window's DPI.
void SetClientSize(HWND hwnd, int width, int height) noexcept;

}  // namespace vellicot
