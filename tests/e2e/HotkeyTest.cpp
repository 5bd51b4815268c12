// The global hot keys from outside: chosen in the dialog with real keys, then pressed while another
// program's window has the keyboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/E2e.h"

#include <commctrl.h>

#include "windows/ControlIds.h"

namespace e2e {
namespace ids = vellicot::ids;
namespace {

bool Enabled(const App& app, int id) {
    return IsWindowEnabled(Child(app.MainWindow(), id)) != FALSE;
}

// The window's menu, once it shows; null when it does not.
HWND WaitForMenu(const App& app) {
    HWND menu = nullptr;
    WaitFor([&] { return (menu = PopupMenuOf(app)) != nullptr; });
    return menu;
}

HWND WaitForDialog(const App& app) {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = app.FindTopLevel(L"TForm4")) != nullptr; });
    return dialog;
}

// Opens the hot-key dialog as a player does with the mouse: a right click on a tree, then a click on
// the menu's first entry; the dialog, or null.
HWND OpenHotkeyDialog(const App& app) {
    RightClick(Child(app.MainWindow(), ids::kTreeButton + 6));
    HWND menu = WaitForMenu(app);
    if (menu == nullptr)
        return nullptr;
    RECT at;
    GetWindowRect(menu, &at);
    ClickAt(at.left + 40, at.top + 12);
    return WaitForDialog(app);
}

// Closes the menu with Esc; whether it went.
bool CloseMenu(const App& app) {
    PressKey(VK_ESCAPE);
    return WaitFor([&] { return PopupMenuOf(app) == nullptr; });
}

// Chooses the menu's entry (0 or 1) as a player does: with the mouse for a menu the mouse opened,
// else with the keys; the system menu holds the entries last. Whether the menu was there.
bool ChooseEntry(const App& app, int entry, bool byMouse, bool systemMenu) {
    HWND menu = WaitForMenu(app);
    if (menu == nullptr)
        return false;
    if (byMouse) {
        RECT at;
        GetWindowRect(menu, &at);
        ClickAt(at.left + 40, at.top + (at.bottom - at.top) * (1 + 2 * entry) / 4);
    } else {
        for (int step = 0; step < (systemMenu ? 2 - entry : entry + 1); ++step)
            PressKey(systemMenu ? VK_UP : VK_DOWN);
        PressKey(VK_RETURN);
    }
    return true;
}

// The settings file's error box, answered as a player does with Esc: its text, or empty when none
// showed; whether it offered to try again goes to retry.
std::wstring CancelErrorBox(const App& app, bool& retry) {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = app.FindTopLevel(L"#32770")) != nullptr; }))
        return {};
    const std::wstring text = Text(GetDlgItem(box, 0xFFFF));
    retry = GetDlgItem(box, IDRETRY) != nullptr;
    PressKey(VK_ESCAPE);
    WaitFor([&] { return !IsWindow(box); });
    return text;
}

TEST(HotkeyTest, EveryWayIntoEveryEntryOfTheWindowsMenuWorksAndASaveErrorEndsNothing) {
    // A folder where the settings file should be: it reads as no settings, and every save fails.
    App app(L"WindowMenu");
    ASSERT_TRUE(CreateDirectoryW(app.SettingsPath().c_str(), nullptr));
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    // The menu opens from every part of the window: the map between the trees, a tree, a glass
    // button that is disabled before a run, one that is not, and the check box.
    RightClick(main);
    ASSERT_NE(WaitForMenu(app), nullptr) << "the map";
    ASSERT_TRUE(CloseMenu(app));
    for (int id : {ids::kTreeButton + 1, ids::kBtnEND, ids::kBtnSetting, ids::kChTopmost}) {
        SCOPED_TRACE(id);
        ASSERT_FALSE(IsWindowEnabled(Child(main, ids::kBtnEND))) << "計測停止 is disabled before a run";
        RightClick(Child(main, id));
        ASSERT_NE(WaitForMenu(app), nullptr);
        ASSERT_TRUE(CloseMenu(app));
    }
    // Each way in, each entry: the hot-key dialog's 確定 with a key typed into its first row, whose
    // save fails, and the record window, closed with Esc.
    const RECT client = ClientRectOnScreen(main);
    enum Way { kRightClick, kShiftF10, kMenuKey, kSystemMenu };
    for (Way way : {kRightClick, kShiftF10, kMenuKey, kSystemMenu}) {
        for (int entry = 0; entry < 2; ++entry) {
            SCOPED_TRACE(std::to_string(way) + " " + std::to_string(entry));
            ClickAt(client.left + 150, client.top + 52);  // the map above the trees: the window has the keys
            if (way == kRightClick)
                RightClick(Child(main, ids::kTreeButton + 6));
            else if (way == kShiftF10)
                PressKeys({VK_SHIFT, VK_F10});
            else if (way == kMenuKey)
                PressKey(VK_APPS);
            else
                PressKeys({VK_MENU, VK_SPACE});
            ASSERT_TRUE(ChooseEntry(app, entry, way == kRightClick, way == kSystemMenu));
            if (entry == 1) {
                HWND records = nullptr;
                ASSERT_TRUE(WaitFor([&] { return (records = app.FindTopLevel(L"TForm5")) != nullptr; }));
                PressKey(VK_ESCAPE);
                ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(records); }));
                continue;
            }
            HWND dialog = WaitForDialog(app);
            ASSERT_NE(dialog, nullptr);
            // Another key each time, so that each 確定 has a change to save.
            PressKeys({VK_CONTROL, VK_SHIFT, static_cast<WORD>(VK_F5 + way)});
            PressKey(VK_RETURN);
            bool retry = false;
            const std::wstring error = CancelErrorBox(app, retry);
            EXPECT_NE(error.find(L"\" を作成できません。"), std::wstring::npos) << Narrow(error);
            EXPECT_TRUE(retry) << "the box offers 再試行";
            ASSERT_TRUE(app.Running()) << "the program carries on";
            EXPECT_FALSE(IsWindowVisible(dialog));
            ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != FALSE; }));
        }
    }
    // A command that comes while a dialog is open, as a taskbar's window menu sends it, runs nothing:
    // no second window, and the main window stays below the dialog until it closes.
    RightClick(Child(main, ids::kTreeButton + 6));
    ASSERT_TRUE(ChooseEntry(app, 0, true, false));
    HWND dialog = WaitForDialog(app);
    ASSERT_NE(dialog, nullptr);
    PostMessageW(main, WM_SYSCOMMAND, ids::kSysCommandRecords, 0);
    PostMessageW(main, WM_SYSCOMMAND, ids::kSysCommandHotkeys, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(app.FindTopLevel(L"TForm5"), nullptr);
    EXPECT_EQ(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "not topmost while the dialog is up";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    EXPECT_TRUE(WaitFor([&] { return (GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
    // The close's save fails too: given up, the program still ends, with 0.
    PostMessageW(main, WM_CLOSE, 0, 0);
    bool retry = false;
    EXPECT_NE(CancelErrorBox(app, retry).find(L"\" を作成できません。"), std::wstring::npos);
    EXPECT_EQ(app.Close(), 0);
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

// Whether each key is down in the desktop's key state, asked from a thread of its own: a thread
// that asked less than 50 ms before gets Wine's cached answer, which may predate the keys.
std::vector<bool> DesktopHolds(std::initializer_list<WORD> keys) {
    std::vector<bool> held;
    std::thread([&] {
        for (WORD key : keys)
            held.push_back((GetAsyncKeyState(key) & 0x8000) != 0);
    }).join();
    return held;
}

// A combination pressed in the other program's window. The keys come from SendInput, which the X
// server never sees. A Wine thread that handles the X focus event of a recent switch sets the
// desktop's key state to X's, where no key is held, without any key-up: modifiers let go that way
// between their press and the key's turn the combination into the plain key (the first press after
// a switch, 5 times in 425 runs under load), and the key itself is then still held. So with the key
// in, the desktop is asked: modifiers let go while the key is still held mean the press was not the
// combination, and when the other program got the key, that key down is taken back and the
// combination pressed again. A key that reaches the other program while the modifiers were held is
// the program's failure, and the test sees it.
void PressInForeignWindow(ForeignWindow& other, std::initializer_list<WORD> keys) {
    ASSERT_TRUE(other.TakeForeground());
    const WORD key = *(keys.end() - 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int before = other.KeyDowns(key);
        HoldKeys(keys);
        const std::vector<bool> held = DesktopHolds(keys);
        ReleaseKeys(keys);
        const bool modifiersLetGo = std::find(held.begin(), held.end() - 1, false) != held.end() - 1;
        if (!modifiersLetGo || !held.back())
            return;
        if (!WaitFor([&] { return other.KeyDowns(key) > before; }, std::chrono::seconds(1)))
            return;
        other.ForgetKeyDown(key);
        std::puts("(a press lost its modifiers on the way and is made again)");
    }
    ADD_FAILURE() << "three presses in a row lost their modifiers on the way";
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
    // The closing dialog hands the activation back to the main window; a player turns to the game
    // after that, not in the same millisecond.
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.MainWindow(); }));

    MoveTo(800, 550);
    ClearClipboard();
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return Enabled(app, ids::kBtnEND); }))
        << "started; the other program saw " << other.KeysSeen();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return Enabled(app, ids::kBtnSTA) && !Enabled(app, ids::kBtnEND); }))
        << "stopped";
    const std::wstring stopped = Text(app.MainWindow());
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F10});
    EXPECT_TRUE(WaitFor([&] { return ClipboardText().find(L"名無し選手のただいまの記録") == 0; }))
        << Narrow(ClipboardText());
    EXPECT_EQ(ClipboardText().find(L"00分00.000秒"), std::wstring::npos) << "the time ran";
    // The first copied run is the best, said in a balloon that leaves the keyboard with the game.
    EXPECT_TRUE(WaitFor([&] { return app.FindTopLevel(TOOLTIPS_CLASSW) != nullptr; }));
    EXPECT_EQ(GetForegroundWindow(), other.Handle());
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return Enabled(app, ids::kBtnEND); })) << "resumed";
    EXPECT_EQ(other.KeyDowns(VK_F9), 1)
        << "the chosen keys no longer reach the other program: " << other.KeysSeen();
    EXPECT_EQ(GetForegroundWindow(), other.Handle()) << "the other program keeps the keyboard";
    // With the clipboard held by another program, the copy's error box stands in front of the
    // program the key was pressed in; once it is answered, that program has the keyboard again.
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F9});
    ASSERT_TRUE(WaitFor([&] { return Enabled(app, ids::kBtnCOPY) && !Enabled(app, ids::kBtnEND); }));
    ASSERT_TRUE(OpenClipboard(nullptr));
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F10});
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor(
        [&] { return (box = app.FindTopLevel(L"#32770")) != nullptr && GetForegroundWindow() == box; }));
    CloseClipboard();
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == other.Handle(); }))
        << "the keyboard stayed with " << GetForegroundWindow();
    EXPECT_EQ(app.Close(), 0);
    // The keys were saved by 確定. The file is read once the program has ended: a read while it
    // replaces the file would make its save fail.
    std::string saved;
    ASSERT_TRUE(app.ReadSettings(saved));
    EXPECT_NE(saved.find("HotkeyStartStop=Ctrl+Shift+F9\r\nHotkeyCopy=Ctrl+Shift+F10\r\n"), std::string::npos)
        << saved;
    EXPECT_EQ(saved.find("HotkeyReset"), std::string::npos) << "a key not chosen is not written";

    // After a restart the keys are registered again.
    ASSERT_TRUE(app.Start());
    MoveTo(800, 550);
    PressInForeignWindow(other, {VK_CONTROL, VK_SHIFT, VK_F9});
    EXPECT_TRUE(WaitFor([&] { return Enabled(app, ids::kBtnEND); }))
        << "started after the restart; the other program saw " << other.KeysSeen();
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
