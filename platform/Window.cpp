// Window class registration and the shared window procedure.
#include "platform/Window.h"

#include "platform/ErrorBox.h"

namespace vellicot {
namespace {

// A function of user32 that Windows 10 has only from a later version on: looked up at run time, so
// the program still starts where it is missing. Null there.
template <class Function>
Function User32Function(const char* name) noexcept {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

Window::~Window() {
    if (hwnd_ != nullptr) {
        HWND hwnd = hwnd_;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

void Window::RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background, HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, className, &wc))
        return;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &Window::StaticWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

HWND Window::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x,
                          int y, int width, int height, HWND parent, HMENU menuOrId) {
    HWND hwnd = CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menuOrId,
                                GetModuleHandleW(nullptr), this);
    if (hwnd == nullptr)
        throw AppError(SystemErrorText(GetLastError()));
    return hwnd;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (client_.cx != 0) {
        switch (msg) {
            case WM_GETDPISCALEDSIZE:
                // Without this answer the system scales the outer size, frame included, and near a
                // display's edge the window could be thrown back and forth between the two DPIs.
                *reinterpret_cast<SIZE*>(lp) = OuterSizeAt(static_cast<int>(wp));
                return TRUE;
            case WM_DPICHANGED:
                OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
                return 0;
            case WM_SIZE:
                if (resizeAtRestore_ && wp != SIZE_MINIMIZED) {
                    resizeAtRestore_ = false;
                    SetClientSize(hwnd_, Scaled(client_.cx), Scaled(client_.cy));
                }
                break;
        }
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Window::FollowDpi(int clientWidth, int clientHeight) {
    client_ = {clientWidth, clientHeight};
    dpi_ = DpiOfWindow(hwnd_);
    SetClientSize(hwnd_, Scaled(clientWidth), Scaled(clientHeight));
    LayOut();
}

void Window::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    if (IsIconic(hwnd_)) {
        // A size set while minimised is dropped at the restore: the restored place takes it, and at
        // the restore the client area is made exact, whatever the frame measures then.
        resizeAtRestore_ = true;
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(hwnd_, &placement)) {
            const SIZE outer = OuterSizeAt(dpi);
            placement.rcNormalPosition.right = placement.rcNormalPosition.left + outer.cx;
            placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + outer.cy;
            placement.showCmd = SW_SHOWMINNOACTIVE;
            SetWindowPlacement(hwnd_, &placement);
        }
    } else {
        // The suggested rectangle places the window; its size is then made to hold the scaled client
        // area exactly, whatever the frame measures.
        SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetClientSize(hwnd_, Scaled(client_.cx), Scaled(client_.cy));
    }
    LayOut();
}

SIZE Window::OuterSizeAt(int dpi) const noexcept {
    RECT outer{0, 0, ScaleToDpi(client_.cx, dpi), ScaleToDpi(client_.cy, dpi)};
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE));
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (adjustForDpi != nullptr) {
        adjustForDpi(&outer, style, FALSE, exStyle, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    }
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void Window::Place(HWND child, const Box& box) const noexcept {
    const Box at = Scaled(box);
    SetWindowPos(child, nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A window is one of these objects' when its class has their procedure, so another class's data is
// never misread. The class is read in the process itself; a window property, which marked them
// before, is a round trip to the window server under Wine.
Window* WindowFromHandle(HWND hwnd) noexcept {
    if (hwnd == nullptr ||
        GetClassLongPtrW(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Window::StaticWndProc))
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        // Only windows of classes registered here reach this procedure, so the data is the object.
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr)
        return DefWindowProcW(hwnd, msg, wp, lp);

    // Nothing escapes a window procedure: the program's errors reach the player in its error box.
    try {
        LRESULT result = self->HandleMessage(msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    } catch (...) {
        ShowCurrentError();
    }
    return 0;
}

void SetClientSize(HWND hwnd, int width, int height) noexcept {
    RECT outer, client;
    GetWindowRect(hwnd, &outer);
    GetClientRect(hwnd, &client);
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(hwnd, nullptr, 0, 0, width + frameWidth, height + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int DpiOfWindow(HWND hwnd) noexcept {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(hwnd); dpi != 0)
            return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

int ScreenDpi() noexcept {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int SystemMetricAtDpi(int index, int dpi) noexcept {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (forDpi != nullptr)
        return forDpi(index, static_cast<UINT>(dpi));
    return MulDivRounded(GetSystemMetrics(index), dpi, ScreenDpi());
}

}  // namespace vellicot
