// The pick-to-repaint baseline: sixteen plain BUTTON controls where the main window has its tree
// buttons, and one more standing for the picker's entry button, all laid out as the main window at
// the display's DPI (the program is aware of each display's DPI through its manifest). A click on that one
// repaints as many of the buttons as the driver last asked for (WM_APP: wParam = the count, the sixteen tree
// buttons first, the clicked one seventeenth), each with InvalidateRect and UpdateWindow, after
// switching their captions quietly so that the repaint shows on screen. WM_APP + 1 answers the
// time of the last such repaint in microseconds, measured in this process.
#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "core/MainLayout.h"
#include "core/Scale.h"

namespace {

constexpr UINT kSetRepaintCount = WM_APP;
constexpr UINT kLastRepaintMicroseconds = WM_APP + 1;
constexpr int kEntryId = 301;
constexpr int kClientWidth = 304;  // at 96 DPI, as every length here
constexpr int kClientHeight = 348;
constexpr int kFontHeight = 11;
constexpr int kButtons = 17;

static_assert(vellicot::layout::kTreeButtons.size() == kButtons);

HWND buttons[kButtons];
wchar_t labels[kButtons][24];
bool picked = false;
int repaintCount = kButtons;
LONGLONG lastRepaintMicroseconds = -1;

double NowMs() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void SetCaptionQuietly(HWND button, const wchar_t* caption) {
    SendMessageW(button, WM_SETREDRAW, FALSE, 0);
    SetWindowTextW(button, caption);
    SendMessageW(button, WM_SETREDRAW, TRUE, 0);
}

void RepaintButtons() {
    picked = !picked;
    wchar_t caption[32];
    for (int i = 0; i < repaintCount; ++i) {
        std::swprintf(caption, 32, picked ? L"慈悲\r\n%ls" : L"%ls", labels[i]);
        SetCaptionQuietly(buttons[i], caption);
    }
    const double start = NowMs();
    for (int i = 0; i < repaintCount; ++i) {
        InvalidateRect(buttons[i], nullptr, TRUE);
        UpdateWindow(buttons[i]);
    }
    GdiFlush();
    lastRepaintMicroseconds = static_cast<LONGLONG>((NowMs() - start) * 1000.0);
}

void CreateButtons(HWND parent, HFONT font, int dpi) {
    for (int i = 0; i < kButtons; ++i) {
        const bool entry = i == kButtons - 1;
        if (entry) {
            std::swprintf(labels[i], 24, L"－");
        } else {
            std::swprintf(labels[i], 24, L"上%d", i + 1);
        }
        // Where the main window has tree button i + 1, at its size; the entry button above the map.
        const auto& tree = vellicot::layout::kTreeButtons[i + 1];
        const int size = vellicot::layout::kTreeButtonSize;
        const vellicot::Box box =
            entry ? vellicot::Box{114, 2, 75, size} : vellicot::Box{tree.left, tree.top, size, size};
        const vellicot::Box at = vellicot::ScaleToDpi(box, dpi);
        buttons[i] =
            CreateWindowExW(0, L"BUTTON", labels[i], WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_MULTILINE,
                            at.left, at.top, at.width, at.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry ? kEntryId : 100 + i)),
                            GetModuleHandleW(nullptr), nullptr);
        SendMessageW(buttons[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == kEntryId && HIWORD(wp) == BN_CLICKED)
                RepaintButtons();
            return 0;
        case kSetRepaintCount:
            repaintCount = std::clamp(static_cast<int>(wp), 0, kButtons);
            return 0;
        case kLastRepaintMicroseconds:
            return static_cast<LRESULT>(lastRepaintMicroseconds);
        case WM_DESTROY:
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
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"PlainButtons";
    RegisterClassW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    HWND hwnd = CreateWindowExW(0, L"PlainButtons", L"Plain buttons", style, 0, 0, kClientWidth,
                                kClientHeight, nullptr, nullptr, instance, nullptr);
    const int dpi = static_cast<int>(GetDpiForWindow(hwnd));
    RECT outer{0, 0, vellicot::ScaleToDpi(kClientWidth, dpi), vellicot::ScaleToDpi(kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&outer, style, FALSE, 0, static_cast<UINT>(dpi));
    // At the work area's top left; the driver moves Vellicot clear of it when they would overlap.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(hwnd, nullptr, work.left, work.top, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LOGFONTW logFont{};
    logFont.lfHeight = -vellicot::ScaleToDpi(kFontHeight, dpi);
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    std::wcsncpy(logFont.lfFaceName, L"Meiryo UI", LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectW(&logFont);
    CreateButtons(hwnd, font, dpi);
    ShowWindow(hwnd, showCommand);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DeleteObject(font);
    return static_cast<int>(msg.wParam);
}
