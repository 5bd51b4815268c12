// Vellicot's tree buttons, picker and picks, worked with real input.
#include "bench/VellicotUi.h"

#include "windows/ControlIds.h"

namespace bench {
namespace ids = vellicot::ids;

HWND TreeButton(HWND mainWindow, int tree) {
    return GetDlgItem(mainWindow, ids::kTreeButton + tree);
}

HWND EntryButton(HWND picker, int entry) {
    return GetDlgItem(picker, ids::kBitBtn + entry);
}

void RestAt(POINT at, DWORD restMs) {
    MoveTo(at);
    Sleep(restMs);
}

bool WaitUntilSettled(HWND window, double quietMs, double timeoutMs) {
    ScreenArea picture(ClientRectOnScreen(window));
    picture.Grab();
    return WatchUntilSettled(picture, NowMs(), quietMs, timeoutMs, 2).settled;
}

HWND OpenPicker(const Process& app, HWND mainWindow, int tree) {
    POINT at = CentreOnScreen(TreeButton(mainWindow, tree));
    RestAt(at);
    PressAndRelease(at);
    double deadline = NowMs() + 5000;
    HWND picker = nullptr;
    while ((picker = app.FindTopLevel(L"TForm2")) == nullptr) {
        if (NowMs() > deadline)
            return nullptr;
        Sleep(2);
    }
    WaitUntilSettled(picker, 200);
    return picker;
}

bool Pick(const Process& app, HWND mainWindow, int tree, int entry) {
    HWND picker = OpenPicker(app, mainWindow, tree);
    if (picker == nullptr)
        return false;
    POINT at = CentreOnScreen(EntryButton(picker, entry));
    RestAt(at);
    PressAndRelease(at);
    double deadline = NowMs() + 5000;
    while (IsWindowVisible(picker)) {
        if (NowMs() > deadline)
            return false;
        Sleep(2);
    }
    return WaitUntilSettled(mainWindow);
}

}  // namespace bench
