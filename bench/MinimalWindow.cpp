// The start-up baseline: the least a Win32 program does to show one window. The window has the
// main window's frame style and client size and stands at the same place, centred on the work
// area, and its client area is one solid colour that the class brush paints.
#include <windows.h>

namespace {

constexpr int kClientWidth = 304;
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
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(kBackground);
    windowClass.lpszClassName = L"MinimalWindow";
    RegisterClassW(&windowClass);

    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HWND hwnd = CreateWindowExW(
        0, L"MinimalWindow", L"Minimal window", kStyle, work.left + (work.right - work.left - width) / 2,
        work.top + (work.bottom - work.top - height) / 2, width, height, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, showCommand);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
