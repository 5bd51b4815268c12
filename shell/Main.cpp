// The entry routine: one instance per desktop, the three windows in their order, the message loop.
#include "platform/Win32.h"

#include <commctrl.h>

#include "platform/GdiplusSession.h"
#include "shell/Startup.h"
#include "windows/Forms.h"
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
    HWND first = FindWindowW(L"TForm1", nullptr);
    if (first != nullptr) {
        SendMessageW(first, WM_SYSCOMMAND, SC_RESTORE, 0);
        SetForegroundWindow(first);
    }
    return true;
}

// The three windows. The program-wide references to them are cleared before any of them goes, at
// the end of the run and when a creation fails alike.
struct Forms {
    vellicot::TForm1 form1;
    vellicot::TForm2 form2;
    vellicot::TForm3 form3;

    Forms() = default;
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;
    ~Forms() {
        vellicot::Form3 = nullptr;
        vellicot::Form2 = nullptr;
        vellicot::Form1 = nullptr;
    }
};

// Creates the three windows in their order and runs the message loop; the exit code.
int RunProgram(int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    vellicot::GdiplusSession gdiplus;

    // Each window's creation handler runs before the next window exists.
    Forms forms;
    forms.form1.Create();
    vellicot::Form1 = &forms.form1;
    forms.form2.Create(forms.form1);
    vellicot::Form2 = &forms.form2;
    forms.form3.Create(forms.form1.Handle(), forms.form1.board);
    vellicot::Form3 = &forms.form3;

    forms.form1.Show(showCommand);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab moves between the main window's two tab stops.
        if (IsDialogMessageW(forms.form1.Handle(), &msg))
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
