// The start-up baseline: the least a Win32 program does to show one window. The window has the
// main window's frame style and client size at the display's DPI (the program is aware of each
// display's DPI through its manifest) and stands at the same place, centred on the work area, and
// its client area is one solid colour that the class brush paints.
#include <windows.h>

#include "core/Scale.h"

namespace {

constexpr int kClientWidth = 304;  // at 96 DPI
constexpr int kClientHeight = 348;
// What the start-up driver waits for on screen.
constexpr COLORREF kBackground = RGB(0x20, 0x80, 0xC0);
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // The first line, as Vellicot's: the start-up driver times the program's way to it by this
    // mutex. Held for the life of the process.
    CreateMutexW(nullptr, FALSE, L"VellicotBench.MinimalWindow");
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(kBackground);
    windowClass.lpszClassName = L"MinimalWindow";
    RegisterClassW(&windowClass);

    HWND hwnd = CreateWindowExW(0, L"MinimalWindow", L"Minimal window", kStyle, 0, 0, kClientWidth,
                                kClientHeight, nullptr, nullptr, instance, nullptr);
    const int dpi = static_cast<int>(GetDpiForWindow(hwnd));
    RECT outer{0, 0, vellicot::ScaleToDpi(kClientWidth, dpi), vellicot::ScaleToDpi(kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&outer, kStyle, FALSE, 0, static_cast<UINT>(dpi));
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(hwnd, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd, showCommand);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
