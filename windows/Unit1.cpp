// The main window.
#include "windows/Unit1.h"

namespace vellicot {
namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr wchar_t kCaption[] = L"Vellicot ver.1.40";
// A fixed single border with the system menu and the minimise button only.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;

}  // namespace

void TForm1::Create() {
    RegisterWindowClass(kClassName, 0, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    CreateHandle(kExStyle, kClassName, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                 outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr);
    FormCreate();
}

void TForm1::Show(int showCommand) {
    ShowWindow(Handle(), showCommand);
}

void TForm1::FormCreate() {
    mapPicture_ = DecodePngResource(L"PngImage_1");
}

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vellicot
