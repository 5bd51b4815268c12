// The entry routine: creates the windows and runs the message loop.
#include "platform/GdiplusSession.h"
#include "platform/Win32.h"
#include "windows/Unit1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    vellicot::GdiplusSession gdiplus;
    vellicot::TForm1 form1;
    form1.Create();
    form1.Show(showCommand);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
