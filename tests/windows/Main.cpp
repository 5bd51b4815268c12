// The Windows tests' entry point: GDI+ runs for the whole test program, as it does for Vellicot.
// Run as "--foreign-window", the program is instead another application with one window, for the
// tests that need a foreground window of another process.
#include <gtest/gtest.h>

#include <cwchar>

#include "platform/GdiplusSession.h"
#include "platform/Win32.h"

namespace {

// Shows a window, takes the foreground and keeps its messages flowing until the window is closed,
// or for a minute at most.
int RunForeignWindow() {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"foreign", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 400, 200,
                                150, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr)
        return 1;
    SetForegroundWindow(hwnd);
    const UINT_PTR giveUp = SetTimer(nullptr, 0, 60000, nullptr);
    MSG msg;
    while (IsWindow(hwnd) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == giveUp)
            break;
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"--foreign-window") == 0)
        return RunForeignWindow();
    vellicot::GdiplusSession gdiplus;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
