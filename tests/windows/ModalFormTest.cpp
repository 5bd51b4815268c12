// The modal loop: what it disables and enables again, how it ends, and what it does on each showing.
#include <gtest/gtest.h>

#include <vector>

#include "ModalScript.h"
#include "platform/ModalForm.h"

namespace vellicot {
namespace {

using testing_support::ModalScript;

constexpr wchar_t kFormClass[] = L"ModalFormTestForm";
constexpr wchar_t kPlainClass[] = L"ModalFormTestPlain";
constexpr int kFirstButton = 11;
constexpr int kSecondButton = 12;

class TestWindow : public Window {
public:
    void Create(int x, bool visible) {
        RegisterWindowClass(kPlainClass);
        CreateHandle(0, kPlainClass, L"plain", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), x, 100, 200,
                     150, nullptr, nullptr);
    }
};

class TestForm : public ModalForm {
public:
    void Create(HWND owner) {
        RegisterWindowClass(kFormClass);
        CreateHandle(0, kFormClass, L"modal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 300, 300, 240, 160,
                     owner, nullptr);
        for (int id : {kFirstButton, kSecondButton}) {
            CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                            10 + (id - kFirstButton) * 80, 10, 70, 24, Handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                            nullptr);
        }
    }
    HWND Button(int id) const { return GetDlgItem(Handle(), id); }

    int placed = 0;
    HWND placedFor = nullptr;
    int shown = 0;
    bool visibleAtShow = false;
    bool ownerEnabledAtShow = true;
    HWND owner = nullptr;

protected:
    void PlaceForShow(HWND ownerWindow) override {
        ++placed;
        placedFor = ownerWindow;
    }
    void FormShow() override {
        ++shown;
        visibleAtShow = IsWindowVisible(Handle()) != FALSE;
        ownerEnabledAtShow = IsWindowEnabled(owner) != FALSE;
    }
};

class ModalFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.Create(50, true);
        form.owner = owner.Handle();
        form.Create(owner.Handle());
        SetForegroundWindow(owner.Handle());
        testing_support::PumpMessages(50);
    }
    void Show(std::vector<std::function<void()>> steps) {
        ModalScript script(std::move(steps), [this] { form.CloseModal(); });
        form.ShowModal(owner.Handle());
        EXPECT_TRUE(script.Finished());
    }

    TestWindow owner;
    TestForm form;
};

TEST_F(ModalFormTest, DisablesTheOtherWindowsWhileShownAndEnablesExactlyThoseAfter) {
    TestWindow other, hidden, disabled;
    other.Create(400, true);
    hidden.Create(600, false);
    disabled.Create(800, true);
    EnableWindow(disabled.Handle(), FALSE);
    SetActiveWindow(owner.Handle());

    bool ownerEnabled = true, otherEnabled = true, hiddenEnabled = false, formActive = false, modal = false;
    Show({[&] {
        ownerEnabled = IsWindowEnabled(owner.Handle()) != FALSE;
        otherEnabled = IsWindowEnabled(other.Handle()) != FALSE;
        hiddenEnabled = IsWindowEnabled(hidden.Handle()) != FALSE;
        formActive = GetActiveWindow() == form.Handle();
        modal = form.IsShownModal();
        form.CloseModal();
    }});

    EXPECT_FALSE(ownerEnabled);
    EXPECT_FALSE(otherEnabled);
    EXPECT_TRUE(hiddenEnabled);
    EXPECT_TRUE(formActive);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(form.visibleAtShow);
    EXPECT_FALSE(form.ownerEnabledAtShow);

    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_TRUE(IsWindowEnabled(other.Handle()));
    EXPECT_TRUE(IsWindowEnabled(hidden.Handle()));
    EXPECT_FALSE(IsWindowEnabled(disabled.Handle())) << "a window disabled before stays disabled";
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_FALSE(form.IsShownModal());
    EXPECT_EQ(GetActiveWindow(), owner.Handle());
}

TEST_F(ModalFormTest, TitleBarCloseAndAltF4EndTheLoopWithoutDestroyingAndEachShowingRunsFormShow) {
    Show({[&] { PostMessageW(form.Handle(), WM_CLOSE, 0, 0); }});
    ASSERT_TRUE(IsWindow(form.Handle()));
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(form.shown, 1);

    Show({[&] { PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }});
    ASSERT_TRUE(IsWindow(form.Handle()));
    EXPECT_EQ(form.shown, 2);
    EXPECT_EQ(form.placed, 2);
    EXPECT_EQ(form.placedFor, owner.Handle());
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(ModalFormTest, QuitMessageEndsTheLoopAndIsPostedAgainForTheOuterLoop) {
    Show({[] { PostQuitMessage(7); }});
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(ModalFormTest, ShowModalWhileShownDoesNothing) {
    Show({[&] {
        form.ShowModal(owner.Handle());  // would block here if it ran a second loop
        EXPECT_TRUE(form.IsShownModal());
        form.CloseModal();
    }});
    EXPECT_EQ(form.shown, 1);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(ModalFormTest, TabMovesTheFocusAndTheLastFocusedControlHasItAgainOnTheNextShowing) {
    HWND first = form.Button(kFirstButton);
    HWND second = form.Button(kSecondButton);
    HWND focusAtShow = nullptr, focusAfterTab = nullptr;
    Show({[&] {
              focusAtShow = GetFocus();
              PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
          },
          [&] {
              focusAfterTab = GetFocus();
              form.CloseModal();
          }});
    EXPECT_EQ(focusAtShow, first);
    EXPECT_EQ(focusAfterTab, second);

    HWND focusAtSecondShow = nullptr;
    Show({[&] {
        focusAtSecondShow = GetFocus();
        form.CloseModal();
    }});
    EXPECT_EQ(focusAtSecondShow, second);
}

}  // namespace
}  // namespace vellicot
