// The modal loop: what it disables and enables again, how it ends, and what it does on each showing;
// and a dialog's part: controls made at the first showing, Enter and Esc, fonts that outlive the
// controls.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "FormReading.h"
#include "ModalScript.h"
#include "platform/ModalForm.h"

namespace vellicot {
namespace {

using namespace testing_support;

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
    std::vector<int> commands;
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
    void OnCommand(int id, int) override { commands.push_back(id); }
};

class ModalFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.Create(50, true);
        form.owner = owner.Handle();
        form.Create(owner.Handle());
        SetForegroundWindow(owner.Handle());
        PumpMessages(50);
    }
    void Show(std::vector<std::function<void()>> steps) {
        ShowModalWith(form, owner.Handle(), std::move(steps));
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

TEST_F(ModalFormTest, WithoutAButtonThatCancelsEscArrivesAsIdCancel) {
    Show({[&] { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); }, [&] { form.CloseModal(); }});
    EXPECT_EQ(form.commands, std::vector<int>{IDCANCEL});
}

constexpr wchar_t kDialogClass[] = L"ModalFormTestDialog";
constexpr wchar_t kProbeClass[] = L"ModalFormTestProbe";
constexpr int kName = 21;
constexpr int kOk = 22;
constexpr int kCancel = 23;
constexpr int kProbe = 24;
constexpr Box kOkBox{10, 40, 70, 24};

// What the probe control saw of its fonts: whether the font it had was still there when it was given
// another one, and when it was destroyed.
struct ProbeSeen {
    int fontsReplaced = 0;
    int replacedWhileGone = 0;
    bool fontThereAtDestroy = false;
};
ProbeSeen probeSeen;

// A control that keeps the font it is given, as the system's controls do.
LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const auto font = reinterpret_cast<HGDIOBJ>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_SETFONT:
            if (font != nullptr) {
                ++probeSeen.fontsReplaced;
                if (GetObjectType(font) != OBJ_FONT)
                    ++probeSeen.replacedWhileGone;
            }
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wp));
            return 0;
        case WM_DESTROY:
            probeSeen.fontThereAtDestroy = GetObjectType(font) == OBJ_FONT;
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

class TestDialog : public ModalForm {
public:
    TestDialog() : ModalForm({.enter = kOk, .esc = kCancel}) {}
    void Create(HWND owner) {
        WNDCLASSEXW probe{};
        probe.cbSize = sizeof probe;
        probe.lpfnWndProc = &ProbeProc;
        probe.hInstance = GetModuleHandleW(nullptr);
        probe.lpszClassName = kProbeClass;
        RegisterClassExW(&probe);
        CreateDialogWindow(0, kDialogClass, L"dialog", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 240, 120,
                           owner);
    }

    int made = 0;
    int laidOut = 0;
    HFONT font = nullptr;  // the last layout's
    std::vector<int> commands;

protected:
    void CreateControls() override {
        ++made;
        const std::pair<const wchar_t*, int> controls[] = {
            {L"EDIT", kName}, {L"BUTTON", kOk}, {L"BUTTON", kCancel}, {kProbeClass, kProbe}};
        for (const auto& [className, id] : controls) {
            CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, Handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                            nullptr);
        }
    }
    void LayOutControls() override {
        ++laidOut;
        UniqueFont next(CreateFontW(-Scaled(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                    0, 0, 0, L"Tahoma"));
        PlaceControl(kName, {10, 10, 100, 22}, next.get());
        PlaceControl(kOk, kOkBox, next.get());
        PlaceControl(kCancel, {90, 40, 70, 24}, next.get());
        PlaceControl(kProbe, {170, 40, 20, 20}, next.get());
        font = next.get();
        KeepFonts(std::move(next));
    }
    void OnCommand(int id, int code) override {
        if (code == BN_CLICKED)
            commands.push_back(id);
    }
};

class ModalDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        probeSeen = {};
        owner.Create(50, 100);
        dialog->Create(owner.Handle());
    }
    void Show(std::vector<std::function<void()>> steps) {
        ShowModalWith(*dialog, owner.Handle(), std::move(steps));
    }
    HWND Item(int id) const { return GetDlgItem(dialog->Handle(), id); }

    OwnerWindow owner;
    std::unique_ptr<TestDialog> dialog = std::make_unique<TestDialog>();
};

TEST_F(ModalDialogTest, IsMadeHiddenOnTheButtonFaceWithItsClientSizeAndNoControls) {
    HWND hwnd = dialog->Handle();
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), owner.Handle());
    EXPECT_EQ(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 240);
    EXPECT_EQ(client.bottom, 120);
    EXPECT_EQ(GetWindow(hwnd, GW_CHILD), nullptr) << "start-up makes no controls";
    EXPECT_EQ(dialog->made, 0);
    EXPECT_EQ(dialog->laidOut, 0);
}

TEST_F(ModalDialogTest, ControlsAreMadeOnceAtTheFirstShowingAndLaidOutAgainAtEachDpiChange) {
    ChangeDpi(dialog->Handle(), 144);
    EXPECT_EQ(dialog->laidOut, 0) << "nothing to lay out before the controls are made";
    int madeAtShow = 0, laidOutAtShow = 0;
    Show({[&] {
        madeAtShow = dialog->made;
        laidOutAtShow = dialog->laidOut;
        ExpectScaledRect(Item(kOk), kOkBox, 144);
        dialog->CloseModal();
    }});
    EXPECT_EQ(madeAtShow, 1);
    EXPECT_EQ(laidOutAtShow, 1);
    Show({[&] { dialog->CloseModal(); }});
    EXPECT_EQ(dialog->made, 1) << "made once";
    EXPECT_EQ(dialog->laidOut, 1);

    ChangeDpi(dialog->Handle(), 96);
    EXPECT_EQ(dialog->laidOut, 2);
    ExpectScaledRect(Item(kOk), kOkBox, 96);
    dialog->EnsureControls();
    EXPECT_EQ(dialog->made, 1);
}

TEST_F(ModalDialogTest, EnterPressesTheDefaultButtonAndEscTheOneThatCancels) {
    Show({[&] {
              EXPECT_EQ(GetFocus(), Item(kName));
              PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
          },
          [&] { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); }, [&] { dialog->CloseModal(); }});
    EXPECT_EQ(dialog->commands, (std::vector<int>{kOk, kCancel}));
}

TEST_F(ModalDialogTest, ALayoutLetsTheOldFontGoOnlyOnceTheControlsHoldTheNewOne) {
    dialog->EnsureControls();
    const HFONT first = dialog->font;
    ChangeDpi(dialog->Handle(), 144);
    EXPECT_EQ(probeSeen.fontsReplaced, 1);
    EXPECT_EQ(probeSeen.replacedWhileGone, 0) << "the control's font was deleted while it still had it";
    EXPECT_EQ(GetObjectType(first), 0u) << "the old font is let go";
    EXPECT_EQ(GetObjectType(dialog->font), static_cast<DWORD>(OBJ_FONT));
}

TEST_F(ModalDialogTest, TheWindowGoesBeforeTheFontsItsControlsUse) {
    dialog->EnsureControls();
    const HWND hwnd = dialog->Handle();
    const HFONT font = dialog->font;
    dialog.reset();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(probeSeen.fontThereAtDestroy) << "the control's font was deleted before the control";
    EXPECT_EQ(GetObjectType(font), 0u) << "the font goes with the dialog";
}

}  // namespace
}  // namespace vellicot
