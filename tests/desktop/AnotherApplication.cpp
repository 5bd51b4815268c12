// Another application's window for the desktop tests: a plain top-level window at a given place,
// topmost when asked, that runs until it is closed.
//
// vellicot_another_app.exe [--topmost | --hold-clipboard] LEFT TOP WIDTH HEIGHT
//   --hold-clipboard keeps the clipboard open for as long as it runs, as a program that holds it would
//
// It also answers, for the tests, what Wine thinks of the program's main window:
// vellicot_another_app.exe --wait-minimised   ends with 0 once the window of class "TForm1" is
//                                              minimised, with 1 when it is not within 10 s
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK AnotherWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WaitMinimised() {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 10000) {
        HWND main = FindWindowW(L"TForm1", nullptr);
        if (main != nullptr && IsIconic(main))
            return 0;
        Sleep(50);
    }
    return 1;
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"--wait-minimised") == 0)
        return WaitMinimised();
    int first = 1;
    DWORD exStyle = 0;
    bool holdClipboard = false;
    if (argc > 1 && std::wcscmp(argv[1], L"--topmost") == 0) {
        exStyle = WS_EX_TOPMOST;
        first = 2;
    } else if (argc > 1 && std::wcscmp(argv[1], L"--hold-clipboard") == 0) {
        holdClipboard = true;
        first = 2;
    }
    if (argc != first + 4)
        return 2;
    int place[4];
    for (int i = 0; i < 4; ++i)
        place[i] = static_cast<int>(std::wcstol(argv[first + i], nullptr, 10));

    WNDCLASSW wc{};
    wc.lpfnWndProc = AnotherWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = L"VellicotAnotherApplication";
    RegisterClassW(&wc);
    HWND hwnd =
        CreateWindowExW(exStyle, wc.lpszClassName, L"another application", WS_OVERLAPPEDWINDOW, place[0],
                        place[1], place[2], place[3], nullptr, nullptr, wc.hInstance, nullptr);
    if (hwnd == nullptr || (holdClipboard && !OpenClipboard(hwnd)))
        return 1;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
