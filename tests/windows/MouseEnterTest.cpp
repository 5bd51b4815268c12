// The pointer-entered watcher, worked with real pointer moves on our windows and on system controls.
#include <gtest/gtest.h>

#include <memory>

#include "ModalScript.h"
#include "platform/MouseEnter.h"
#include "platform/Window.h"

namespace vellicot {
namespace {

using testing_support::PumpMessages;
using testing_support::PumpUntil;

constexpr wchar_t kClassName[] = L"MouseEnterTestWindow";

class TestWindow : public Window {
public:
    void Create() {
        RegisterWindowClass(kClassName, 0, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        CreateHandle(0, kClassName, L"mouse", WS_POPUP | WS_VISIBLE, 200, 200, 300, 200, nullptr, nullptr);
        SetForegroundWindow(Handle());
    }
};

// Moves the pointer as a real mouse would, in screen coordinates, and lets the moves arrive.
void MovePointer(int x, int y) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65535 + width / 2) / (width - 1);
    input.mi.dy = (y * 65535 + height / 2) / (height - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    PumpUntil([&] {
        POINT at;
        GetCursorPos(&at);
        return at.x == x && at.y == y;
    });
    PumpMessages(60);
}

// Moves the pointer off every test window, and waits out Wine's check for the pointer's leaving,
// which polls at the hover time.
void MovePointerAway() {
    MovePointer(20, 20);
    UINT hoverTime = 400;
    SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &hoverTime, 0);
    PumpMessages(hoverTime + 200);
}

class MouseEnterTest : public ::testing::Test {
protected:
    void SetUp() override {
        MovePointerAway();
        window.Create();
        PumpMessages(30);
    }
    TestWindow window;  // client area 200..500 x 200..400 on the screen
};

TEST_F(MouseEnterTest, EnteringCountsOnceUntilThePointerHasLeft) {
    int entered = 0;
    WatchMouseEnter(window.Handle(), [&] { ++entered; });
    MovePointer(250, 250);
    EXPECT_EQ(entered, 1);
    MovePointer(300, 260);
    MovePointer(350, 300);
    EXPECT_EQ(entered, 1) << "moving inside is no new entering";
    MovePointerAway();
    EXPECT_EQ(entered, 1);
    MovePointer(260, 250);
    EXPECT_EQ(entered, 2);
}

TEST_F(MouseEnterTest, SystemControlsReportTooAndTheParentCountsAgainWhenThePointerComesBack) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 100, 24,
                                window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND check = CreateWindowExW(0, L"BUTTON", L"check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 100,
                                 100, 20, window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    int parent = 0, inEdit = 0, inCheck = 0;
    WatchMouseEnter(window.Handle(), [&] { ++parent; });
    WatchMouseEnter(edit, [&] { ++inEdit; });
    WatchMouseEnter(check, [&] { ++inCheck; });

    // When the tracked window changes, Wine may deliver one more move at the pointer's previous
    // place, which reads as leaving and entering once more. So moving about inside a window may add
    // one report, but not one per move.
    MovePointer(400, 350);  // the parent's free area
    EXPECT_GE(parent, 1);
    MovePointer(250, 220);  // the edit box
    EXPECT_GE(inEdit, 1);
    int editBefore = inEdit;
    for (int x : {254, 258, 262, 266})
        MovePointer(x, 222);
    EXPECT_LE(inEdit - editBefore, 1);
    MovePointer(250, 310);  // the check box
    EXPECT_GE(inCheck, 1);
    int parentBefore = parent;
    MovePointer(400, 350);  // back to the free area
    EXPECT_GT(parent, parentBefore) << "coming back from a child counts as entering the parent";
    int parentInside = parent;
    for (int x : {404, 408, 412, 416})
        MovePointer(x, 360);
    EXPECT_LE(parent - parentInside, 1);
}

TEST_F(MouseEnterTest, AQuietAreaCountsAsOffTheWindow) {
    int entered = 0;
    const RECT quiet{0, 0, 100, 50};  // screen 200..300 x 200..250
    auto onEnter = [&] { ++entered; };
    WatchMouseEnter(window.Handle(), onEnter, quiet);
    MovePointer(250, 220);
    EXPECT_EQ(entered, 0) << "entering over the quiet area reports nothing";
    MovePointer(260, 230);
    EXPECT_EQ(entered, 0);
    MovePointer(250, 320);
    EXPECT_GE(entered, 1) << "moving from the quiet area onto the window is entering it";
    // Wine may deliver one more move at the pointer's previous place, so count from here on only
    // that coming back from the quiet area is entering again.
    int before = entered;
    MovePointer(250, 220);
    MovePointer(250, 330);
    EXPECT_GT(entered, before);
}

TEST_F(MouseEnterTest, WatchingAgainReplacesTheCallbackAndStoppingEndsTheReports) {
    auto firstToken = std::make_shared<int>(0);
    std::weak_ptr<int> first = firstToken;
    int firstCalls = 0, secondCalls = 0;
    WatchMouseEnter(window.Handle(), [&, firstToken] { ++firstCalls; });
    firstToken.reset();
    WatchMouseEnter(window.Handle(), [&] { ++secondCalls; });
    EXPECT_TRUE(first.expired()) << "the replaced callback is freed";

    MovePointer(250, 250);
    EXPECT_EQ(firstCalls, 0);
    EXPECT_EQ(secondCalls, 1);

    StopWatchingMouseEnter(window.Handle());
    MovePointerAway();
    MovePointer(250, 250);
    EXPECT_EQ(secondCalls, 1);
    StopWatchingMouseEnter(window.Handle());  // not watched any more: nothing happens
}

TEST_F(MouseEnterTest, DestroyingTheWindowFreesItsWatch) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 24, window.Handle(),
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;
    WatchMouseEnter(edit, [token] {});
    token.reset();
    EXPECT_FALSE(watch.expired());
    DestroyWindow(edit);
    EXPECT_TRUE(watch.expired());
}

TEST_F(MouseEnterTest, ACallbackThatStopsItsOwnWatchIsSafe) {
    int entered = 0;
    HWND hwnd = window.Handle();
    WatchMouseEnter(hwnd, [&, hwnd] {
        ++entered;
        StopWatchingMouseEnter(hwnd);
    });
    MovePointer(250, 250);
    MovePointerAway();
    MovePointer(250, 250);
    EXPECT_EQ(entered, 1);
}

}  // namespace
}  // namespace vellicot
