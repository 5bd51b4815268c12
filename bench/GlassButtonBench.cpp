// Where a repaint of the main window goes, in process: the real TForm1 (its map composed with the
// pair-line overlay, its time label, its back buffer, and its glass buttons, each of which has the
// window paint what lies beneath it first) against plain BUTTON controls laid out the same way, at
// the display's DPI. Each figure is one synchronous RedrawWindow (invalidate, paint now) per window
// named, with no other process in the way, so it is the painting alone; scripts/bench.sh's full
// repaint from another process adds Wine's cross-process messages to it.
//
// vellicot_glass_bench.exe [--rounds N]
#include "platform/Win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "core/MainLayout.h"
#include "core/Scale.h"
#include "platform/GdiplusSession.h"
#include "platform/Handles.h"
#include "windows/ControlIds.h"
#include "windows/Unit1.h"

namespace vellicot {
namespace {

constexpr UINT kRepaintNow = RDW_INVALIDATE | RDW_UPDATENOW;
constexpr int kEntryId = 301;

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Timing {
    double median;
    double fastest;
};

// The time in ms of one round of the repaint: the median round and, as the figure least disturbed
// by other work on the machine, the fastest.
template <class Repaint>
Timing TimeRounds(int rounds, Repaint repaint) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        double start = Now();
        repaint();
        GdiFlush();
        times.push_back(Now() - start);
        Pump();
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

void Report(const char* what, Timing vellicot, Timing plain) {
    if (plain.median <= 0) {
        std::printf("%-58s median %7.3f ms, fastest %7.3f ms\n", what, vellicot.median, vellicot.fastest);
        return;
    }
    std::printf("%-58s median %7.3f ms against %7.3f ms (%.1fx), fastest %7.3f against %7.3f ms (%.1fx)\n",
                what, vellicot.median, plain.median, vellicot.median / plain.median, vellicot.fastest,
                plain.fastest, vellicot.fastest / plain.fastest);
}

// Sixteen plain BUTTONs where the main window has its tree buttons and one where the picker has
// its first entry, on a white window of the main window's client size, at the display's DPI.
struct PlainWindow {
    HWND window = nullptr;
    HWND buttons[17] = {};
    UniqueFont font;

    void Create() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = L"GlassBenchPlain";
        RegisterClassW(&windowClass);
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
        window = CreateWindowExW(0, L"GlassBenchPlain", L"plain", style, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        const int dpi = static_cast<int>(GetDpiForWindow(window));
        RECT outer{0, 0, ScaleToDpi(TForm1::kClientWidth, dpi), ScaleToDpi(TForm1::kClientHeight, dpi)};
        AdjustWindowRectExForDpi(&outer, style, FALSE, 0, static_cast<UINT>(dpi));
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        font.reset(CreateFontW(-ScaleToDpi(11, dpi), 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0,
                               0, L"Meiryo UI"));
        for (int i = 0; i < 17; ++i) {
            const bool entry = i == 16;
            const int size = layout::kTreeButtonSize;
            Box box{114, 2, 75, size};
            if (!entry) {
                const auto& tree = layout::kTreeButtons[static_cast<std::size_t>(i + 1)];
                box = {tree.left, tree.top, size, size};
            }
            const Box at = ScaleToDpi(box, dpi);
            wchar_t caption[16];
            std::swprintf(caption, 16, entry ? L"－" : L"上%d", i + 1);
            buttons[i] =
                CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_MULTILINE,
                                at.left, at.top, at.width, at.height, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry ? kEntryId : 100 + i)),
                                GetModuleHandleW(nullptr), nullptr);
            SendMessageW(buttons[i], WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        }
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
};

}  // namespace
}  // namespace vellicot

int wmain(int argc, wchar_t** argv) {
    using namespace vellicot;
    int rounds = 100;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::wstring(argv[i]) == L"--rounds")
            rounds = std::max(5, _wtoi(argv[i + 1]));
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    GdiplusSession gdiplus;

    // The real main window, as the program makes it (its settings read from beside this exe, or the
    // defaults), but with neither picker nor settings dialog: repainting needs neither.
    TForm1 form;
    form.Create();
    PlainWindow plain;
    plain.Create();
    // Apart, so neither covers the other: the plain window stands at the work area's left.
    RECT a, b, overlap, work{};
    GetWindowRect(form.Handle(), &a);
    GetWindowRect(plain.window, &b);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (IntersectRect(&overlap, &a, &b)) {
        SetWindowPos(form.Handle(), nullptr, work.right - (a.right - a.left), work.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    form.Show(SW_SHOWNOACTIVATE);
    UpdateWindow(form.Handle());
    UpdateWindow(plain.window);
    Pump();

    const HWND main = form.Handle();
    const int dpi = static_cast<int>(GetDpiForWindow(main));
    std::vector<HWND> trees;
    for (int t = 1; t <= kTrees; ++t)
        trees.push_back(GetDlgItem(main, ids::kTreeButton + t));
    const Box mapBox =
        ScaleToDpi(Box{layout::kMapLeft, layout::kMapTop, layout::kMapSize, layout::kMapSize}, dpi);
    const RECT map{mapBox.left, mapBox.top, mapBox.Right(), mapBox.Bottom()};

    auto mainAlone = [&] { RedrawWindow(main, nullptr, nullptr, kRepaintNow | RDW_NOCHILDREN); };
    auto oneTree = [&] { RedrawWindow(trees[0], nullptr, nullptr, kRepaintNow); };
    auto oneButton = [&] { RedrawWindow(plain.buttons[0], nullptr, nullptr, kRepaintNow); };
    auto sixteenTrees = [&] {
        for (HWND tree : trees)
            RedrawWindow(tree, nullptr, nullptr, kRepaintNow);
    };
    auto sixteenButtons = [&] {
        for (int i = 0; i < 16; ++i)
            RedrawWindow(plain.buttons[i], nullptr, nullptr, kRepaintNow);
    };
    auto mapAndTrees = [&] {
        RedrawWindow(main, &map, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
        for (HWND tree : trees)
            RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE);
        RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    auto wholeMain = [&] { RedrawWindow(main, nullptr, nullptr, kRepaintNow | RDW_ALLCHILDREN); };
    auto wholePlain = [&] { RedrawWindow(plain.window, nullptr, nullptr, kRepaintNow | RDW_ALLCHILDREN); };

    // Warm up both (font caches, the installed font list), then measure side by side.
    TimeRounds(5, wholeMain);
    TimeRounds(5, wholePlain);
    std::printf("Repaints in process at %d DPI, %d rounds each (Vellicot against plain BUTTONs)\n", dpi,
                rounds);
    Report("main window alone (map + lines + label, back buffer)", TimeRounds(rounds, mainAlone), {0, 0});
    Report("one tree button (with the window's paint beneath it)", TimeRounds(rounds, oneTree),
           TimeRounds(rounds, oneButton));
    Report("sixteen tree buttons, one call each", TimeRounds(rounds, sixteenTrees),
           TimeRounds(rounds, sixteenButtons));
    Report("map + sixteen tree buttons, one call / 17 BUTTONs", TimeRounds(rounds, mapAndTrees),
           TimeRounds(rounds, wholePlain));
    Report("whole main window / whole plain window", TimeRounds(rounds, wholeMain),
           TimeRounds(rounds, wholePlain));
    std::fflush(stdout);
    DestroyWindow(plain.window);
    return 0;
}
