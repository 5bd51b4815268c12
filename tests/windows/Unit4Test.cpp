// The hot-key dialog and the keys it governs: its rows, clear buttons, OK and Cancel; keys refused
// because another program holds them; and what a key does in the main window.
#include <gtest/gtest.h>

#include "platform/Win32.h"

#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "FormReading.h"
#include "ModalScript.h"
#include "SettingsTestSupport.h"
#include "platform/Handles.h"
#include "shell/GlobalHotkeys.h"
#include "shell/SettingsFile.h"
#include "shell/Stacking.h"
#include "windows/ControlIds.h"
#include "windows/Unit1.h"
#include "windows/Unit4.h"

namespace vellicot {
namespace {

using namespace testing_support;

constexpr Hotkey kCtrlAltF9{kHotkeyCtrl | kHotkeyAlt, VK_F9};
constexpr Hotkey kCtrlAltF10{kHotkeyCtrl | kHotkeyAlt, VK_F10};
constexpr Hotkey kShiftF11{kHotkeyShift, VK_F11};
constexpr Hotkey kCtrlShiftF11{kHotkeyCtrl | kHotkeyShift, VK_F11};

using UniqueWindow = Unique<HWND, &DestroyWindow>;

std::string Narrow(const std::wstring& text) {
    std::string out(static_cast<std::size_t>(text.size() * 3), '\0');
    out.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(),
                                                            static_cast<int>(text.size()), out.data(),
                                                            static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

// Holds a key from a window of another thread, as another program would, until it goes.
class KeyHeldElsewhere {
public:
    explicit KeyHeldElsewhere(const Hotkey& key) {
        thread_ = std::thread([this, key] {
            HWND window =
                CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            held_ = RegisterHotKey(window, 7, key.modifiers, key.key) != FALSE;
            ready_ = true;
            while (!stop_)
                Sleep(5);
            DestroyWindow(window);
        });
        while (!ready_)
            Sleep(1);
    }
    ~KeyHeldElsewhere() {
        stop_ = true;
        thread_.join();
    }
    bool Held() const { return held_; }

private:
    std::thread thread_;
    std::atomic<bool> ready_{false};
    std::atomic<bool> stop_{false};
    bool held_ = false;
};

// Whether another window could take the key now, that is whether nobody holds it.
bool KeyIsFree(const Hotkey& key) {
    UniqueWindow probe(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    if (!RegisterHotKey(probe.get(), 9, key.modifiers, key.key))
        return false;
    UnregisterHotKey(probe.get(), 9);
    return true;
}

class Unit4Test : public ::testing::Test {
protected:
    void SetUp() override {
        owner.Create(300, 200);
        form.Create(owner.Handle());
    }
    HWND Item(int id) const { return GetDlgItem(form.Handle(), id); }
    HWND Row(std::size_t row) const { return Item(TForm4::kIdHotkey + static_cast<int>(row)); }
    // A row showing a key, as after the player typed it (the dialog reads what the rows show).
    void Type(std::size_t row, WORD value) const { SendMessageW(Row(row), HKM_SETHOTKEY, value, 0); }
    // A key going down and up in a row's control, through the control's own keyboard handling.
    void Key(std::size_t row, WORD key) const {
        SetFocus(Row(row));
        SendMessageW(Row(row), WM_KEYDOWN, key, 0);
        SendMessageW(Row(row), WM_KEYUP, key, 0xC0000000);
    }
    void Press(int id) const {
        SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Item(id)));
    }
    // Shows the dialog for keys and runs the steps in it; the dialog's answer.
    bool Choose(HotkeySet& keys, std::vector<std::function<void()>> steps) {
        ModalScript script(std::move(steps), [this] { form.CloseModal(); });
        const bool accepted = form.Choose(owner.Handle(), keys, [this](const HotkeySet& chosen) {
            applied.push_back(chosen);
            return refuse;
        });
        EXPECT_TRUE(script.Finished());
        return accepted;
    }

    OwnerWindow owner;
    TForm4 form;
    std::vector<HotkeySet> applied;
    std::optional<HotkeyAction> refuse;
};

TEST_F(Unit4Test, RowsNameTheActionsInTabOrderWithTheirControlsAndClearButtons) {
    HotkeySet keys{kCtrlAltF9, std::nullopt, kShiftF11};
    Choose(keys, {[&] {
               EXPECT_EQ(TextOf(form.Handle()), L"ホットキーの設定");
               EXPECT_EQ(ClassOf(form.Handle()), L"TForm4");
               const wchar_t* names[] = {L"タイム計測開始/停止", L"結果COPY", L"最初から"};
               HWND tab = GetNextDlgTabItem(form.Handle(), nullptr, FALSE);
               for (std::size_t row = 0; row < kHotkeyActions; ++row) {
                   const int offset = static_cast<int>(row);
                   EXPECT_EQ(TextOf(Item(TForm4::kIdLabel + offset)), names[row]);
                   EXPECT_EQ(ClassOf(Row(row)), L"msctls_hotkey32");
                   EXPECT_EQ(TextOf(Item(TForm4::kIdClear + offset)), L"解除");
                   // Tab goes through each control and its clear button, row by row.
                   EXPECT_EQ(tab, Row(row));
                   tab = GetNextDlgTabItem(form.Handle(), tab, FALSE);
                   EXPECT_EQ(tab, Item(TForm4::kIdClear + offset));
                   tab = GetNextDlgTabItem(form.Handle(), tab, FALSE);
               }
               EXPECT_EQ(tab, Item(TForm4::kIdBtnCancel));
               EXPECT_EQ(GetFocus(), Row(0));
               // The rows show the keys in force; the control's own flags for Ctrl+Alt and Shift.
               EXPECT_EQ(SendMessageW(Row(0), HKM_GETHOTKEY, 0, 0),
                         MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT));
               EXPECT_EQ(SendMessageW(Row(1), HKM_GETHOTKEY, 0, 0), 0);
               EXPECT_EQ(SendMessageW(Row(2), HKM_GETHOTKEY, 0, 0), MAKEWORD(VK_F11, HOTKEYF_SHIFT));
               // Everything lies inside the client area, at 96 DPI as laid out.
               RECT client;
               GetClientRect(form.Handle(), &client);
               EXPECT_EQ(client.right, TForm4::kClientWidth);
               EXPECT_EQ(client.bottom, TForm4::kClientHeight);
               for (HWND child = GetWindow(form.Handle(), GW_CHILD); child;
                    child = GetWindow(child, GW_HWNDNEXT)) {
                   RECT at = RectInParent(child);
                   EXPECT_TRUE(at.left >= 0 && at.top >= 0 && at.right <= client.right &&
                               at.bottom <= client.bottom)
                       << TextOf(child).size();
               }
               Press(TForm4::kIdBtnCancel);
           }});
}

TEST_F(Unit4Test, CancelAndTheTitleBarCloseChangeNothing) {
    HotkeySet keys{kCtrlAltF9, std::nullopt, std::nullopt};
    const HotkeySet before = keys;
    EXPECT_FALSE(Choose(keys, {[&] { Type(0, VK_F5); }, [&] { Press(TForm4::kIdBtnCancel); }}));
    EXPECT_FALSE(
        Choose(keys, {[&] { Type(1, VK_F5); }, [&] { PostMessageW(form.Handle(), WM_CLOSE, 0, 0); }}));
    EXPECT_EQ(keys, before);
    EXPECT_TRUE(applied.empty()) << "nothing is registered without OK";
}

TEST_F(Unit4Test, OkTakesWhatEveryRowShowsAndKeepsUntouchedRowsAsTheyWere) {
    HotkeySet keys{kCtrlAltF9, kCtrlAltF10, kShiftF11};
    EXPECT_TRUE(Choose(keys, {[&] { Key(0, VK_F7); },
                              // Backspace empties the control, which under Wine says nothing of it
                              [&] { Key(2, VK_BACK); },
                              [&] {
                                  EXPECT_EQ(SendMessageW(Row(2), HKM_GETHOTKEY, 0, 0), 0);
                                  Press(TForm4::kIdBtnOK);
                              }}));
    const HotkeySet expected{Hotkey{0, VK_F7}, kCtrlAltF10, std::nullopt};
    EXPECT_EQ(keys, expected);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0], expected);
}

TEST_F(Unit4Test, OkIsRefusedWithAMessageForOneKeyTwiceAndForAKeyAnotherProgramHolds) {
    HotkeySet keys{kCtrlAltF9, std::nullopt, std::nullopt};
    std::wstring twice, held;
    refuse = HotkeyAction::kReset;
    EXPECT_TRUE(Choose(keys, {[&] { Type(2, MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT)); },
                              [&] { Press(TForm4::kIdBtnOK); }, AnswerBox(twice),
                              [&] {
                                  EXPECT_TRUE(IsWindowVisible(form.Handle())) << "the dialog stays open";
                                  EXPECT_TRUE(applied.empty()) << "nothing is registered";
                                  EXPECT_EQ(GetFocus(), Row(2));
                                  Type(2, MAKEWORD(VK_F10, HOTKEYF_CONTROL | HOTKEYF_ALT));
                                  Press(TForm4::kIdBtnOK);
                              },
                              AnswerBox(held),
                              [&] {
                                  EXPECT_TRUE(IsWindowVisible(form.Handle()));
                                  refuse.reset();
                                  Press(TForm4::kIdClear + 2);
                                  EXPECT_EQ(SendMessageW(Row(2), HKM_GETHOTKEY, 0, 0), 0);
                                  EXPECT_EQ(GetFocus(), Row(2));
                                  Press(TForm4::kIdBtnOK);
                              }}));
    EXPECT_EQ(twice,
              L"「Ctrl+Alt+F9」が「タイム計測開始/停止」と「最初から」の両方に選ばれています。"
              L"どちらかを変えてください。");
    EXPECT_EQ(held,
              L"「Ctrl+Alt+F10」は他のプログラムが使っているため、「最初から」に使えません。"
              L"別のキーを選ぶか、解除してください。");
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_EQ(applied[0], (HotkeySet{kCtrlAltF9, std::nullopt, kCtrlAltF10}));
    EXPECT_EQ(keys, (HotkeySet{kCtrlAltF9, std::nullopt, std::nullopt}));
}

TEST_F(Unit4Test, AShortcutOfTheSystemOrOfOrdinaryProgramsIsRefusedWithTheRule) {
    struct RuleCase {
        WORD value;  // the control's value: virtual key and HOTKEYF_ flags
        const char* shown;
        bool allowed;
    };
    const RuleCase cases[] = {
        {'A', "A", false},
        {MAKEWORD('A', HOTKEYF_SHIFT), "Shift+A", false},
        {MAKEWORD(VK_SPACE, HOTKEYF_SHIFT), "Shift+Space", false},
        {MAKEWORD(VK_LEFT, HOTKEYF_EXT), "Left", false},
        {VK_NUMPAD5, "Num5", false},
        {VK_RETURN, "Enter", false},
        {VK_F9, "F9", true},
        {MAKEWORD(VK_F24, HOTKEYF_SHIFT), "Shift+F24", false},
        {VK_PAUSE, "Pause", true},
        {MAKEWORD('C', HOTKEYF_CONTROL), "Ctrl+C", false},
        {MAKEWORD('A', HOTKEYF_CONTROL | HOTKEYF_SHIFT), "Ctrl+Shift+A", true},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.shown);
        HotkeySet keys{};
        std::wstring message;
        applied.clear();
        if (c.allowed) {
            EXPECT_TRUE(Choose(keys, {[&] { Type(1, c.value); }, [&] { Press(TForm4::kIdBtnOK); }}));
            ASSERT_TRUE(keys[1]);
            EXPECT_EQ(FormatHotkey(*keys[1], SystemKeyboardLayout()),
                      std::wstring(c.shown, c.shown + strlen(c.shown)));
            continue;
        }
        EXPECT_FALSE(
            Choose(keys, {[&] { Type(1, c.value); }, [&] { Press(TForm4::kIdBtnOK); }, AnswerBox(message),
                          [&] {
                              EXPECT_EQ(GetFocus(), Row(1));
                              Press(TForm4::kIdBtnCancel);
                          }}));
        EXPECT_TRUE(applied.empty()) << "nothing is registered";
        EXPECT_EQ(Narrow(message), "「" + std::string(c.shown) +
                                       "」はシステムやほかのプログラムのキー操作と重なるため、「結果COPY」に"
                                       "使えません。F1～F24（F12 "
                                       "を除く）・Pause・ScrollLock "
                                       "は単独で、文字・数字・記号のキーとこれらのキーは Ctrl・Alt・Shift "
                                       "のうち二つ以上（Ctrl+Shift、Ctrl+Alt "
                                       "など）と組み合わせて使えます（Win キーと、Esc・Tab・Enter・"
                                       "Space・矢印などの操作キーは使えません）。");
    }
}

TEST(GlobalHotkeysTest, AKeyHeldElsewhereIsRefusedAndTheKeysHeldBeforeStayHeld) {
    UniqueWindow window(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    GlobalHotkeys hotkeys(window.get());
    EXPECT_EQ(hotkeys.Replace({kCtrlAltF9, std::nullopt, std::nullopt}), std::nullopt);
    EXPECT_FALSE(KeyIsFree(kCtrlAltF9));
    {
        KeyHeldElsewhere other(kShiftF11);
        ASSERT_TRUE(other.Held());
        EXPECT_EQ(hotkeys.Replace({kCtrlAltF10, std::nullopt, kShiftF11}), HotkeyAction::kReset);
        EXPECT_EQ(hotkeys.Held(), (HotkeySet{kCtrlAltF9, std::nullopt, std::nullopt}));
        EXPECT_FALSE(KeyIsFree(kCtrlAltF9)) << "the old key is held again";
        EXPECT_TRUE(KeyIsFree(kCtrlAltF10)) << "the new key that did get through is let go";
    }
    // At start-up a refused key is skipped and the others are held.
    hotkeys.ReleaseAll();
    KeyHeldElsewhere other(kCtrlAltF9);
    hotkeys.HoldWhatCan({kCtrlAltF9, kCtrlAltF10, std::nullopt});
    EXPECT_EQ(hotkeys.Held(), (HotkeySet{std::nullopt, kCtrlAltF10, std::nullopt}));
    hotkeys.ReleaseAll();
    EXPECT_TRUE(KeyIsFree(kCtrlAltF10));
}

// The main window's keys do what its buttons do.
class MainWindowHotkeyTest : public MainAndPickerFixture {
protected:
    void Key(HotkeyAction action) { SendMessageW(form1.Handle(), WM_HOTKEY, GlobalHotkeys::IdOf(action), 0); }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(form1.Handle(), id)) != FALSE; }
    static std::wstring Clipboard() {
        std::wstring text;
        if (!OpenClipboard(nullptr))
            return L"<closed>";
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
        return text;
    }
    static void PutOnClipboard(const std::wstring& text) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
    }
};

TEST_F(MainWindowHotkeyTest, StartStopResumeCopyAndResetGoThroughTheButtonsHandlers) {
    PutOnClipboard(L"before");
    Key(HotkeyAction::kCopy);
    EXPECT_EQ(Clipboard(), L"before") << "結果COPY is disabled before a run";

    Key(HotkeyAction::kStartStop);
    EXPECT_FALSE(Enabled(ids::kBtnSTA));
    EXPECT_TRUE(Enabled(ids::kBtnEND)) << "started";
    Sleep(30);
    Key(HotkeyAction::kStartStop);
    EXPECT_TRUE(Enabled(ids::kBtnSTA));
    EXPECT_FALSE(Enabled(ids::kBtnEND)) << "stopped";
    EXPECT_TRUE(Enabled(ids::kBtnCOPY));
    Key(HotkeyAction::kCopy);
    const std::wstring record = Clipboard();
    EXPECT_NE(record.find(L"名無し選手のただいまの記録"), std::wstring::npos) << Narrow(record);
    EXPECT_EQ(record.find(L"00分00.000秒"), std::wstring::npos) << "the time ran";

    Key(HotkeyAction::kStartStop);
    EXPECT_TRUE(Enabled(ids::kBtnEND)) << "resumed";
    // While a modal window has the main window disabled, no key does anything.
    EnableWindow(form1.Handle(), FALSE);
    Key(HotkeyAction::kStartStop);
    Key(HotkeyAction::kReset);
    EXPECT_TRUE(Enabled(ids::kBtnEND)) << "still running";
    EnableWindow(form1.Handle(), TRUE);

    Key(HotkeyAction::kReset);
    EXPECT_TRUE(Enabled(ids::kBtnSTA));
    EXPECT_FALSE(Enabled(ids::kBtnEND));
    EXPECT_FALSE(Enabled(ids::kBtnCOPY)) << "最初から stops and zeroes the stopwatch";
    PutOnClipboard(L"after");
    Key(HotkeyAction::kCopy);
    EXPECT_EQ(Clipboard(), L"after");
    // An id that is not one of ours does nothing.
    SendMessageW(form1.Handle(), WM_HOTKEY, 99, 0);
    EXPECT_TRUE(Enabled(ids::kBtnSTA));
}

// The dialog opened from the main window, which holds the keys of its settings file.
class HotkeyMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteBytes(SettingsFileName(),
                         "[System]\r\nHotkeyStartStop=Ctrl+Alt+F9\r\nHotkeyCopy=Ctrl+Alt+F10\r\n");
        form1.Create();
    }
    void TearDown() override { DeleteFileW(SettingsFileName().c_str()); }
    // Opens a window of the menu from the system menu and runs the steps while it (or a box over
    // it) is up.
    void OpenWindow(unsigned command, std::vector<std::function<void()>> steps) {
        ModalScript script(std::move(steps), [] {
            for (const wchar_t* className : {L"TForm4", L"TForm5"}) {
                if (HWND window = FindWindowW(className, nullptr);
                    window != nullptr && IsWindowVisible(window))
                    PostMessageW(window, WM_CLOSE, 0, 0);
            }
        });
        SendMessageW(form1.Handle(), WM_SYSCOMMAND, command, 0);
        EXPECT_TRUE(script.Finished());
    }
    void OpenDialog(std::vector<std::function<void()>> steps) {
        OpenWindow(ids::kSysCommandHotkeys, std::move(steps));
    }
    static HWND Dialog() {
        HWND found = FindWindowW(L"TForm4", nullptr);
        return found != nullptr && IsWindowVisible(found) ? found : nullptr;
    }
    static void SetRow(std::size_t row, WORD value) {
        SendMessageW(GetDlgItem(Dialog(), ids::kHotkeyControl + static_cast<int>(row)), HKM_SETHOTKEY, value,
                     0);
    }
    static void PressInDialog(int id) {
        SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(Dialog(), id)));
    }
    bool Topmost() const { return (GetWindowLongW(form1.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

    TForm1 form1;
};

TEST_F(HotkeyMenuTest, TheKeysAreLetGoWhileTheDialogIsOpenAndHeldAgainUnlessConfirmed) {
    ASSERT_FALSE(KeyIsFree(kCtrlAltF9));
    ASSERT_FALSE(KeyIsFree(kCtrlAltF10));
    // Cancelled: free while open, so a row can take them; held again afterwards.
    OpenDialog({[] {
        ASSERT_NE(Dialog(), nullptr);
        EXPECT_TRUE(KeyIsFree(kCtrlAltF9));
        EXPECT_TRUE(KeyIsFree(kCtrlAltF10));
        PressInDialog(ids::kHotkeyCancel);
    }});
    EXPECT_FALSE(KeyIsFree(kCtrlAltF9));
    EXPECT_FALSE(KeyIsFree(kCtrlAltF10));
    // The title-bar close, after a choice another program refused.
    std::wstring refusal;
    {
        KeyHeldElsewhere other(kCtrlShiftF11);
        ASSERT_TRUE(other.Held());
        OpenDialog({[] {
                        SetRow(2, MAKEWORD(VK_F11, HOTKEYF_CONTROL | HOTKEYF_SHIFT));
                        PressInDialog(ids::kHotkeyOK);
                    },
                    AnswerBox(refusal),
                    [] {
                        EXPECT_TRUE(KeyIsFree(kCtrlAltF9)) << "still free while the dialog stays open";
                        PostMessageW(Dialog(), WM_CLOSE, 0, 0);
                    }});
        EXPECT_NE(refusal.find(L"他のプログラムが使っている"), std::wstring::npos) << Narrow(refusal);
        EXPECT_FALSE(KeyIsFree(kCtrlAltF9));
        EXPECT_FALSE(KeyIsFree(kCtrlAltF10));
    }
    // Confirmed: a held key moved to another row, another cleared.
    OpenDialog({[] {
        SetRow(0, 0);
        SetRow(2, MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT));
        SetRow(1, MAKEWORD(VK_F11, HOTKEYF_CONTROL | HOTKEYF_SHIFT));
        PressInDialog(ids::kHotkeyOK);
    }});
    EXPECT_FALSE(KeyIsFree(kCtrlAltF9));
    EXPECT_FALSE(KeyIsFree(kCtrlShiftF11));
    EXPECT_TRUE(KeyIsFree(kCtrlAltF10));
    EXPECT_EQ(test::ReadBytes(SettingsFileName()),
              "\xEF\xBB\xBF[System]\r\nHotkeyStartStop=\r\nHotkeyCopy=Ctrl+Shift+F11\r\nHotkeyReset=Ctrl+Alt+"
              "F9\r\n\r\n");
}

TEST_F(HotkeyMenuTest, AWindowThatCouldNotBeMadeLeavesKeysAndStackingAsTheyWereAndIsTriedAgain) {
    // Each window of the menu, made at its first opening: the hot-key dialog and the record window.
    static const wchar_t* refused = nullptr;
    for (const auto& [command, className] :
         {std::pair{ids::kSysCommandHotkeys, L"TForm4"}, std::pair{ids::kSysCommandRecords, L"TForm5"}}) {
        SCOPED_TRACE(Narrow(className));
        ASSERT_TRUE(Topmost());
        // The window cannot be made: a hook refuses windows of its class.
        refused = className;
        HHOOK hook = SetWindowsHookExW(
            WH_CBT,
            [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
                if (code == HCBT_CREATEWND) {
                    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs;
                    if (!IS_INTRESOURCE(create->lpszClass) && std::wcscmp(create->lpszClass, refused) == 0)
                        return 1;
                }
                return CallNextHookEx(nullptr, code, wp, lp);
            },
            nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        std::wstring error;
        OpenWindow(command, {AnswerBox(error)});
        UnhookWindowsHookEx(hook);
        EXPECT_FALSE(error.empty()) << "the failure is told";
        EXPECT_TRUE(Topmost()) << "最前面 is back";
        EXPECT_FALSE(KeyIsFree(kCtrlAltF9));
        EXPECT_FALSE(KeyIsFree(kCtrlAltF10));
        // The menu item still opens the window.
        bool opened = false;
        OpenWindow(command, {[&] {
                       HWND window = FindWindowW(className, nullptr);
                       opened = window != nullptr && IsWindowVisible(window);
                       PostMessageW(window, WM_CLOSE, 0, 0);
                   }});
        EXPECT_TRUE(opened);
    }
}

}  // namespace
}  // namespace vellicot
