// The global hot keys from outside: chosen in the dialog with real keys, then pressed while another
// program's window has the keyboard.
#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/E2e.h"

#include <commctrl.h>

#include "windows/ControlIds.h"

namespace e2e {
namespace ids = vellicot::ids;
namespace {

bool Enabled(const App& app, int id) {
    return IsWindowEnabled(Child(app.MainWindow(), id)) != FALSE;
}

// Opens the hot-key dialog from the main window's system menu; the dialog, or null.
HWND OpenHotkeyDialog(const App& app) {
    PostMessageW(app.MainWindow(), WM_SYSCOMMAND, ids::kSysCommandHotkeys, 0);
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = app.FindTopLevel(L"TForm4")) != nullptr; });
    return dialog;
}

// Types a combination into a row of the dialog, as a player does: a click on the row's control,
// then the keys.
bool TypeIntoRow(HWND dialog, int row, std::initializer_list<WORD> keys) {
    HWND control = Child(dialog, ids::kHotkeyControl + row);
    Click(control);
    if (!WaitFor([&] { return FocusOf(dialog) == control; }))
        return false;
    const WORD key = *(keys.end() - 1);
    PressKeys(keys);
    return WaitFor([&] { return LOBYTE(SendMessageW(control, HKM_GETHOTKEY, 0, 0)) == key; });
}

// A key press in the other program's window, and time for its effect.
void PressInForeignWindow(const ForeignWindow& other, std::initializer_list<WORD> keys) {
    ASSERT_TRUE(other.TakeForeground());
    PressKeys(keys);
}

TEST(HotkeyTest, KeysChosenInTheDialogWorkTheStopwatchFromAnotherProgramAndAfterARestart) {
    App app(L"Hotkeys");
    app.WriteSettings("[System]\r\nForm1Top2=40\r\nForm1Left2=40\r\n");
    ASSERT_TRUE(app.Start());
    ForeignWindow other(600, 400, 400, 300);
    MoveTo(800, 550);  // the pointer rests on the other window, so nothing pulls the tool forward

    // With no keys chosen the keys reach the other program and the tool does nothing.
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F9});
    ASSERT_TRUE(WaitFor([&] { return other.KeyDowns(VK_F9) == 1; }));
    EXPECT_FALSE(Enabled(app, ids::kBtnEND)) << "the stopwatch did not start";

    HWND dialog = OpenHotkeyDialog(app);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(TypeIntoRow(dialog, 0, {VK_CONTROL, VK_SHIFT, VK_F9}));
    ASSERT_TRUE(TypeIntoRow(dialog, 1, {VK_CONTROL, VK_SHIFT, VK_F10}));
    Click(Child(dialog, ids::kHotkeyOK));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    // The keys are saved once the dialog has closed.
    std::string saved;
    EXPECT_TRUE(WaitFor([&] {
        return app.ReadSettings(saved) &&
               saved.find("HotkeyStartStop=Ctrl+Shift+F9\r\nHotkeyCopy=Ctrl+Shift+F10\r\n") !=
                   std::string::npos;
    })) << saved;
    EXPECT_EQ(saved.find("HotkeyReset"), std::string::npos) << "a key not chosen is not written";

    MoveTo(800, 550);
    ClearClipboard();
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return Enabled(app, ids::kBtnEND); })) << "started";
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return Enabled(app, ids::kBtnSTA) && !Enabled(app, ids::kBtnEND); }))
        << "stopped";
    const std::wstring stopped = Text(app.MainWindow());
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F10});
    EXPECT_TRUE(WaitFor([&] { return ClipboardText().find(L"名無し選手のただいまの記録") == 0; }))
        << Narrow(ClipboardText());
    EXPECT_EQ(ClipboardText().find(L"00分00.000秒"), std::wstring::npos) << "the time ran";
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return Enabled(app, ids::kBtnEND); })) << "resumed";
    EXPECT_EQ(other.KeyDowns(VK_F9), 1) << "the chosen keys no longer reach the other program";
    EXPECT_EQ(GetForegroundWindow(), other.Handle()) << "the other program keeps the keyboard";
    EXPECT_EQ(app.Close(), 0);

    // After a restart the keys are registered again.
    ASSERT_TRUE(app.Start());
    MoveTo(800, 550);
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return Enabled(app, ids::kBtnEND); })) << "started after the restart";
    EXPECT_EQ(app.Close(), 0);
    // And once the program has ended, the keys are the other program's again.
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return other.KeyDowns(VK_F9) == 2; }));
}

TEST(HotkeyTest, AKeyAnotherProgramHoldsIsRefusedInTheDialogAndNothingIsSaved) {
    // The key another program holds never reaches the dialog's control, so it comes from the file,
    // written while the other program was not running; at start-up it is simply not held.
    const std::string settings =
        "[System]\r\nForm1Top2=40\r\nForm1Left2=40\r\nHotkeyReset=Ctrl+Shift+F11\r\n";
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, VK_F11));
    App app(L"HotkeyHeld");
    app.WriteSettings(settings);
    ASSERT_TRUE(app.Start());

    HWND dialog = OpenHotkeyDialog(app);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(TypeIntoRow(dialog, 0, {VK_CONTROL, VK_SHIFT, VK_F9}));
    Click(Child(dialog, ids::kHotkeyOK));
    EXPECT_EQ(Narrow(DismissMessageBox(app)),
              "「Ctrl+Shift+F11」は他のプログラムが使っているため、「最初から」に使えません。"
              "別のキーを選ぶか、解除してください。");
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog stays open";
    Click(Child(dialog, ids::kHotkeyCancel));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    std::string saved;
    ASSERT_TRUE(app.ReadSettings(saved));
    EXPECT_EQ(saved, settings);
    BOOL free = RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_SHIFT, VK_F9);
    EXPECT_TRUE(free) << "the refused choice holds no key either";
    UnregisterHotKey(nullptr, 2);
    UnregisterHotKey(nullptr, 1);
    EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e
