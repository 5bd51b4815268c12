// Makes the README's pictures of the real program under Wine: the main window with picks,
// duplicates and lines and the picker, the window's menu and the hot-key dialog, the record window
// and the new-best balloon, each at 100, 150 and 200 %. It works the program as the end-to-end
// tests do, from outside with real input, and writes BMPs into each run's folder below e2e-runs,
// which scripts/screenshots.sh turns into docs/*.png.
//
// vellicot_screenshots.exe   (next to Vellicot.exe); exits with 1 when a picture could not be made
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/E2e.h"
#include "windows/ControlIds.h"

namespace {

using namespace e2e;
namespace ids = vellicot::ids;

// A step that must hold for the picture to be made; the scene stops at the first that does not.
#define REQUIRE(condition)                                                                    \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "screenshots: %s failed (line %d)\n", #condition, __LINE__); \
            return false;                                                                     \
        }                                                                                     \
    } while (false)

// Writes a screen rectangle as a 24-bit BMP.
void SaveScreen(const RECT& area, const std::wstring& path) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + stride * height;
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(stride) * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

RECT Outer(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

// "" at 100 %, "-150" at 150 %: the pictures' names say their scale.
std::wstring ScaleSuffix(int dpi) {
    return dpi == 96 ? L"" : L"-" + std::to_wstring(dpi * 100 / 96);
}

// A modal window with the pointer away from it, once it has settled, saved and closed.
void ShootAndClose(HWND window, const std::wstring& path) {
    MoveTo(5, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    SaveScreen(Outer(window), path);
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitFor([&] { return !IsWindowVisible(window); });
}

bool Pick(const App& app, int tree, int entry) {
    Click(Child(app.MainWindow(), ids::kTreeButton + tree));
    HWND picker = nullptr;
    REQUIRE(WaitFor([&] { return (picker = app.FindTopLevel(L"TForm2")) != nullptr; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Click(Child(picker, ids::kBitBtn + entry));
    return WaitFor([&] { return !IsWindowVisible(picker); });
}

// The main window after ten picks, and the picker (main.bmp, picker.bmp).
bool MainWindowAndPicker(int dpi) {
    const std::wstring suffix = ScaleSuffix(dpi);
    App app(L"Screenshots" + suffix);
    app.WriteSettings(dpi == 96 ? "[System]\r\nNAME=名無し\r\nForm2Top2=330\r\nForm2Left2=820\r\n"
                                : "[System]\r\nNAME=名無し\r\nForm2Top2=300\r\nForm2Left2=10\r\n");
    REQUIRE(app.Start());
    const int picks[][2] = {{3, 1}, {10, 9},  {4, 2}, {7, 10}, {13, 10},
                            {1, 5}, {16, 13}, {6, 8}, {12, 8}, {9, 14}};
    for (const auto& [tree, entry] : picks)
        REQUIRE(Pick(app, tree, entry));
    MoveTo(5, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    SaveScreen(Outer(app.MainWindow()), app.Folder() + L"\\main" + suffix + L".bmp");

    Click(Child(app.MainWindow(), ids::kTreeButton + 2));
    HWND picker = nullptr;
    REQUIRE(WaitFor([&] { return (picker = app.FindTopLevel(L"TForm2")) != nullptr; }));
    ShootAndClose(picker, app.Folder() + L"\\picker" + suffix + L".bmp");
    return app.Close() == 0;
}

// The window's menu as a right click on a tree opens it, with the pointer on its entry and the main
// window around it, then the hot-key dialog (menu.bmp, hotkeys.bmp).
bool HotkeyDialog(int dpi) {
    const std::wstring suffix = ScaleSuffix(dpi);
    App app(L"HotkeyScreenshots" + suffix);
    app.WriteSettings(
        "[System]\r\nHotkeyStartStop=Ctrl+Shift+F9\r\nHotkeyCopy=Ctrl+Shift+F10\r\nHotkeyReset=Ctrl+Alt+Num/"
        "\r\n");
    REQUIRE(app.Start());
    RightClick(Child(app.MainWindow(), ids::kTreeButton + 6));
    HWND menu = nullptr;
    REQUIRE(WaitFor([&] { return (menu = PopupMenuOf(app)) != nullptr; }));
    RECT shot = Outer(app.MainWindow());
    const RECT menuRect = Outer(menu);
    UnionRect(&shot, &shot, &menuRect);
    MoveTo(menuRect.left + 40, menuRect.top + 12);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    SaveScreen(shot, app.Folder() + L"\\menu" + suffix + L".bmp");
    ClickAt(menuRect.left + 40, menuRect.top + 12);
    HWND dialog = nullptr;
    REQUIRE(WaitFor([&] { return (dialog = app.FindTopLevel(L"TForm4")) != nullptr; }));
    ShootAndClose(dialog, app.Folder() + L"\\hotkeys" + suffix + L".bmp");
    return app.Close() == 0;
}

// The record window with fourteen runs, enough for both averages (records.bmp).
bool RecordWindow(int dpi) {
    const std::wstring suffix = ScaleSuffix(dpi);
    App app(L"RecordScreenshots" + suffix);
    app.WriteSettings(
        "[System]\r\nNAME=名無し\r\n\r\n[Records]\r\n"
        "Run=2024/04/05 21:09 | 03:07.250 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/05 21:31 | 02:58.906 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/06 20:12 | 03:15.480 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/06 20:40 | 02:51.032 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/07 22:05 | 02:54.771 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/08 21:17 | 02:49.118 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/08 21:48 | 03:02.644 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/09 20:03 | 02:47.390 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/10 22:30 | 02:52.005 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/11 21:12 | 02:45.876 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/12 20:55 | 02:50.213 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/13 21:40 | 02:44.950 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/14 19:58 | 02:48.337 | Vellicot ver.1.40 | \"名無し\"\r\n"
        "Run=2024/04/14 20:21 | 02:46.702 | Vellicot ver.1.40 | \"名無し\"\r\n");
    REQUIRE(app.Start());
    PostMessageW(app.MainWindow(), WM_SYSCOMMAND, ids::kSysCommandRecords, 0);
    HWND records = nullptr;
    REQUIRE(WaitFor([&] { return (records = app.FindTopLevel(L"TForm5")) != nullptr; }));
    ShootAndClose(records, app.Folder() + L"\\records" + suffix + L".bmp");
    return app.Close() == 0;
}

// The balloon that a new best brings up at the time label, over the main window (new-best.bmp).
bool NewBest(int dpi) {
    const std::wstring suffix = ScaleSuffix(dpi);
    App app(L"NewBestScreenshot" + suffix);
    app.WriteSettings(
        "[System]\r\nNAME=名無し\r\nForm1Top2=120\r\nForm1Left2=200\r\n\r\n[Records]\r\n"
        "Run=2024/04/05 21:09 | 00:03.250 | Vellicot ver.1.40 | \"名無し\"\r\n");
    REQUIRE(app.Start());
    HWND main = app.MainWindow();
    Click(Child(main, ids::kBtnSTA));
    REQUIRE(WaitFor([&] { return IsWindowEnabled(Child(main, ids::kBtnEND)) != FALSE; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    Click(Child(main, ids::kBtnEND));
    REQUIRE(WaitFor([&] { return IsWindowEnabled(Child(main, ids::kBtnCOPY)) != FALSE; }));
    Click(Child(main, ids::kBtnCOPY));
    REQUIRE(WaitFor([&] { return app.FindTopLevel(L"tooltips_class32") != nullptr; }));
    MoveTo(5, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    RECT area = Outer(main);
    RECT balloon = Outer(app.FindTopLevel(L"tooltips_class32"));
    UnionRect(&area, &area, &balloon);
    SaveScreen(area, app.Folder() + L"\\new-best" + suffix + L".bmp");
    return app.Close() == 0;
}

}  // namespace

int wmain() {
    const std::vector<std::pair<const char*, std::function<bool(int)>>> scenes = {
        {"main window and picker", MainWindowAndPicker},
        {"hot-key dialog", HotkeyDialog},
        {"record window", RecordWindow},
        {"new best", NewBest},
    };
    int failed = 0;
    for (const auto& [name, scene] : scenes) {
        for (int dpi : {96, 144, 192}) {
            DesktopDpi display(static_cast<DWORD>(dpi));
            const bool made = scene(dpi);
            std::printf("%s at %d DPI: %s\n", name, dpi, made ? "made" : "FAILED");
            failed += made ? 0 : 1;
        }
    }
    return failed == 0 ? 0 : 1;
}
