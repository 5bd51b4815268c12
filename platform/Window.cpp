// Window class registration and the shared window procedure.
#include "platform/Window.h"

#include "platform/ErrorBox.h"

namespace vellicot {
namespace {

// Marks the objects this procedure owns, so WindowFromHandle never misreads another class's data.
constexpr wchar_t kOwnerProp[] = L"Vellicot.Window";

}  // namespace

Window::~Window() {
    if (hwnd_ != nullptr) {
        HWND hwnd = hwnd_;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        RemovePropW(hwnd, kOwnerProp);
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
    return CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menuOrId,
                           GetModuleHandleW(nullptr), this);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

Window* WindowFromHandle(HWND hwnd) noexcept {
    if (hwnd == nullptr || GetPropW(hwnd, kOwnerProp) == nullptr)
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        SetPropW(hwnd, kOwnerProp, reinterpret_cast<HANDLE>(1));
    } else {
        self = WindowFromHandle(hwnd);
    }
    if (self == nullptr)
        return DefWindowProcW(hwnd, msg, wp, lp);

    // Nothing escapes a window procedure: the program's errors reach the player in its error box.
    try {
        LRESULT result = self->HandleMessage(msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            RemovePropW(hwnd, kOwnerProp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    } catch (const AppError& e) {
        ShowErrorBox(e.Message());
    } catch (const std::exception& e) {
        ShowErrorBox(WidenUtf8(e.what()));
    } catch (...) {
        ShowErrorBox(L"予期しないエラーが発生しました。");
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

}  // namespace vellicot
