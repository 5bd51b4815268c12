// Finding the object behind a window: ours are found, subclassed or not, and another class's window
// is never misread, whatever its data holds.
#include "platform/Win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "platform/Window.h"

namespace vellicot {
namespace {

constexpr wchar_t kOurs[] = L"WindowTestOurs";
constexpr wchar_t kForeign[] = L"WindowTestForeign";

class Ours : public Window {
public:
    void Create() {
        RegisterWindowClass(kOurs);
        CreateHandle(0, kOurs, L"ours", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr);
    }
};

LRESULT CALLBACK PassOn(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    return DefSubclassProc(hwnd, msg, wp, lp);
}

TEST(WindowTest, OnlyOurWindowsGiveTheirObjectAndASubclassChangesNothing) {
    Ours ours;
    ours.Create();
    ASSERT_NE(ours.Handle(), nullptr);
    EXPECT_EQ(WindowFromHandle(ours.Handle()), &ours);
    ASSERT_TRUE(SetWindowSubclass(ours.Handle(), &PassOn, 1, 0));
    EXPECT_EQ(WindowFromHandle(ours.Handle()), &ours) << "a subclass hides the object";
    RemoveWindowSubclass(ours.Handle(), &PassOn, 1);

    // Another class keeps a pointer of its own where ours keep theirs.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kForeign;
    RegisterClassExW(&wc);
    HWND foreign = CreateWindowExW(0, kForeign, L"foreign", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    SetWindowLongPtrW(foreign, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&ours));
    EXPECT_EQ(WindowFromHandle(foreign), nullptr);
    HWND button =
        CreateWindowExW(0, L"BUTTON", L"b", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(WindowFromHandle(button), nullptr);
    EXPECT_EQ(WindowFromHandle(nullptr), nullptr);
    DestroyWindow(button);
    DestroyWindow(foreign);
}

}  // namespace
}  // namespace vellicot
