// The entry routine: one instance per desktop, the three windows in their order, the message loop.
#include "platform/Win32.h"

#include <commctrl.h>

#include "platform/GdiplusSession.h"
#include "shell/Startup.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

namespace {

// A second copy brings the first one back and ends; true when this is that second copy.
bool HandOverToRunningCopy() {
    // Held, never closed, for the life of the process; the system frees it at exit.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Vellicot");
    if (mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    HWND first = FindWindowW(vellicot::TForm1::kClassName, nullptr);
    if (first != nullptr) {
        SendMessageW(first, WM_SYSCOMMAND, SC_RESTORE, 0);
        SetForegroundWindow(first);
    }
    return true;
}

// Creates the three windows in their order and runs the message loop; the exit code.
int RunProgram(int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    vellicot::GdiplusSession gdiplus;

    // Each window's creation handler runs before the next window exists.
    // The windows reach each other through the main window, which is given the other two as each
    // is made; on a failure they go in the reverse order of their making.
    vellicot::TForm1 form1;
    form1.Create();
    vellicot::TForm2 form2;
    form2.Create(form1);
    form1.AttachPicker(form2);
    vellicot::TForm3 form3;
    form3.Create(form1.Handle(), form1.board);
    form1.AttachSettings(form3);

    form1.Show(showCommand);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (form1.OpenMenuFromKey(msg))
            continue;
        // Tab moves between the main window's two tab stops.
        if (IsDialogMessageW(form1.Handle(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    if (HandOverToRunningCopy())
        return 0;
    return vellicot::RunGuarded([showCommand] { return RunProgram(showCommand); });
}
