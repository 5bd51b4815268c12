// The real program's settings file from outside: positions kept across a close or a log-off while
// the main window is minimised and after a drag, saves while another program reads the file, and a
// file saved as UTF-16.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/e2e/E2e.h"

#include <commctrl.h>

#include "windows/ControlIds.h"

namespace e2e {
namespace ids = vellicot::ids;
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

RECT OuterRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

void MoveWindowTo(HWND window, int left, int top) {
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Minimise(HWND window) {
    ShowWindow(window, SW_MINIMIZE);
    return WaitFor([&] { return IsIconic(window) != FALSE; });
}

// The "Key=value" line of the file for the key, or empty.
std::string Line(const std::string& bytes, const std::string& key) {
    const std::size_t at = bytes.find("\r\n" + key + "=");
    if (at == std::string::npos)
        return {};
    const std::size_t begin = at + 2;
    return bytes.substr(begin, bytes.find("\r\n", begin) - begin);
}

// Moves both windows away from where they open, minimises the main window, lets the action save
// the settings and checks the file holds the places the windows are restored to.
void MoveMinimiseAndSave(App& app, const std::function<void(HWND main)>& save) {
    HWND main = app.MainWindow();
    HWND picker = app.FindTopLevel(L"TForm2", false);
    ASSERT_NE(picker, nullptr);
    MoveWindowTo(main, 150, 100);
    MoveWindowTo(picker, 111, 222);
    ASSERT_TRUE(WaitFor([&] { return OuterRect(main).left == 150 && OuterRect(main).top == 100; }));
    // A person minimises a while after moving: a move right before a minimise is taken for the
    // window manager's minimise animation.
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    ASSERT_TRUE(Minimise(main));
    RECT parked = OuterRect(main);
    ASSERT_FALSE(parked.left == 150 && parked.top == 100) << "a minimised window is parked elsewhere";
    save(main);

    std::string bytes;
    ASSERT_TRUE(WaitFor([&] { return app.ReadSettings(bytes) && !Line(bytes, "chTopmost").empty(); }));
    EXPECT_EQ(Line(bytes, "Form1Top2"), "Form1Top2=100");
    EXPECT_EQ(Line(bytes, "Form1Left2"), "Form1Left2=150");
    EXPECT_EQ(Line(bytes, "Form2Top2"), "Form2Top2=222");
    EXPECT_EQ(Line(bytes, "Form2Left2"), "Form2Left2=111");
}

TEST(SettingsFileE2eTest, WindowClosedWhileMinimisedOpensWhereItWas) {
    {
        App app(L"MinimisedClose");
        ASSERT_TRUE(app.Start());
        MoveMinimiseAndSave(app, [&](HWND main) {
            // As the taskbar's "Close window" does.
            PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
            EXPECT_EQ(app.Close(), 0);
        });
    }
    App again(L"MinimisedClose", false);
    ASSERT_TRUE(again.Start());
    RECT outer = OuterRect(again.MainWindow());
    EXPECT_EQ(outer.left, 150);
    EXPECT_EQ(outer.top, 100);
    RECT picker = OuterRect(again.FindTopLevel(L"TForm2", false));
    EXPECT_EQ(picker.left, 111);
    EXPECT_EQ(picker.top, 222);
    EXPECT_EQ(again.Close(), 0);
}

TEST(SettingsFileE2eTest, LogOffWhileMinimisedSavesWhereTheWindowWas) {
    App app(L"MinimisedLogOff");
    ASSERT_TRUE(app.Start());
    MoveMinimiseAndSave(app, [](HWND main) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &answer);
        SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &answer);
    });
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(app.Close(), 0);
}

// The main window's title bar, a little right of its left end (clear of the icon and the buttons).
POINT OnTitleBar(HWND window) {
    const RECT outer = OuterRect(window);
    const RECT client = ClientRectOnScreen(window);
    return {outer.left + 80, (outer.top + client.top) / 2};
}

// Windows shows a window's contents while it is dragged unless the player turned it off, so a drag
// moves the window many times; Wine's own default moves it once, at the drop.
class DragFullWindows {
public:
    DragFullWindows() {
        SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &old_, 0);
        SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, SPIF_UPDATEINIFILE);
    }
    DragFullWindows(const DragFullWindows&) = delete;
    DragFullWindows& operator=(const DragFullWindows&) = delete;
    ~DragFullWindows() { SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, old_, nullptr, SPIF_UPDATEINIFILE); }

private:
    BOOL old_ = FALSE;
};

TEST(SettingsFileE2eTest, WindowDraggedAndMinimisedAMomentLaterOpensWhereItWasDragged) {
    DragFullWindows fullWindows;  // read by the program as it starts
    App app(L"DragMinimise");
    app.WriteSettings("[System]\r\nForm1Top2=100\r\nForm1Left2=100\r\n");
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    ASSERT_EQ(OuterRect(main).left, 100);
    const POINT grip = OnTitleBar(main);
    // Fifteen moves 20 ms apart, as a quick hand drags; the minimising follows 300 ms after the drop.
    Drag(grip, {grip.x + 150, grip.y + 90}, 15, std::chrono::milliseconds(20));
    ASSERT_TRUE(WaitFor([&] { return OuterRect(main).left == 250 && OuterRect(main).top == 190; }))
        << OuterRect(main).left << "," << OuterRect(main).top;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(Minimise(main));
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(app.Close(), 0);
    std::string bytes;
    ASSERT_TRUE(app.ReadSettings(bytes));
    EXPECT_EQ(Line(bytes, "Form1Top2"), "Form1Top2=190");
    EXPECT_EQ(Line(bytes, "Form1Left2"), "Form1Left2=250");
}

// The settings dialog's and the hot-key dialog's controls.
constexpr int kPaletteList = 401;
constexpr int kSettingsOk = 407;

// Lets the action start a save while another program reads the settings file, lets the reader go
// 300 ms after the save began, and waits until the file holds the line.
void SaveWhileRead(const App& app, const std::function<void()>& action, const std::string& line) {
    FileReader reader(app.SettingsPath());
    ASSERT_TRUE(reader.Holding());
    action();
    ASSERT_TRUE(WaitFor([&] { return app.SaveUnderWay(); })) << "no save began while the file was read";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    reader.Release();
    std::string bytes;
    EXPECT_TRUE(WaitFor([&] { return app.ReadSettings(bytes) && bytes.find(line) != std::string::npos; }))
        << line << " is not in " << bytes;
    EXPECT_EQ(app.FindTopLevel(L"#32770"), nullptr) << "a message showed";
}

TEST(SettingsFileE2eTest, EverySaveWaitsForAnotherProgramThatReadsTheFileForAMoment) {
    App app(L"ReadWhileSaving");
    app.WriteSettings("[System]\r\nForm1Top2=40\r\nForm1Left2=40\r\n");
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();

    // 設定's OK.
    Click(Child(main, ids::kBtnSetting));
    HWND settings = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (settings = app.FindTopLevel(L"TForm3")) != nullptr; }));
    WaitFor([&] { return GetForegroundWindow() == settings; }, std::chrono::seconds(2));
    SendMessageW(Child(settings, kPaletteList), CB_SETCURSEL, 1, 0);
    auto settingsOk = [&] { Click(Child(settings, kSettingsOk)); };
    SaveWhileRead(app, settingsOk, "\r\niSettingsBtnBGColor=1\r\n");

    // The hot-key dialog's 確定, with a key typed into the last row.
    PostMessageW(main, WM_SYSCOMMAND, ids::kSysCommandHotkeys, 0);
    HWND hotkeys = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (hotkeys = app.FindTopLevel(L"TForm4")) != nullptr; }));
    HWND resetKey = Child(hotkeys, ids::kHotkeyControl + 2);
    Click(resetKey);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(hotkeys) == resetKey; }));
    PressKeys({VK_CONTROL, VK_SHIFT, VK_F8});
    ASSERT_TRUE(WaitFor([&] { return LOBYTE(SendMessageW(resetKey, HKM_GETHOTKEY, 0, 0)) == VK_F8; }));
    auto hotkeysOk = [&] { Click(Child(hotkeys, ids::kHotkeyOK)); };
    SaveWhileRead(app, hotkeysOk, "\r\nHotkeyReset=Ctrl+Shift+F8\r\n");

    // The close, after a move.
    MoveWindowTo(main, 150, 100);
    ASSERT_TRUE(WaitFor([&] { return OuterRect(main).left == 150; }));
    auto close = [&] { PostMessageW(main, WM_CLOSE, 0, 0); };
    SaveWhileRead(app, close, "\r\nForm1Left2=150\r\n");
    EXPECT_EQ(app.Close(), 0);
}

TEST(SettingsFileE2eTest, FileHeldLongerThanTheWaitShowsTheMessageAndIsSavedWhenTriedAgain) {
    const std::string old = "[System]\r\nForm1Top2=40\r\nForm1Left2=40\r\nNAME=前の名前\r\n";
    App app(L"HeldForLong");
    app.WriteSettings(old);
    ASSERT_TRUE(app.Start());
    MoveWindowTo(app.MainWindow(), 150, 100);
    ASSERT_TRUE(WaitFor([&] { return OuterRect(app.MainWindow()).left == 150; }));
    FileReader reader(app.SettingsPath());
    ASSERT_TRUE(reader.Holding());
    const auto asked = std::chrono::steady_clock::now();
    PostMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = app.FindTopLevel(L"#32770")) != nullptr; }));
    const auto waited = std::chrono::steady_clock::now() - asked;
    const std::string message = Narrow(Text(GetDlgItem(box, 0xFFFF)));
    EXPECT_EQ(message.rfind("ファイル \"" + Narrow(app.SettingsPath()) + "\" を作成できません。", 0), 0u)
        << message;
    EXPECT_GE(waited, std::chrono::milliseconds(1500)) << "the save gave up at once";
    // The other program lets go, and the player answers 再試行, the box's first button, with Enter.
    reader.Release();
    ASSERT_NE(GetDlgItem(box, IDRETRY), nullptr) << "no 再試行";
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; }));
    PressKey(VK_RETURN);
    EXPECT_EQ(app.Close(), 0);
    std::string bytes;
    ASSERT_TRUE(app.ReadSettings(bytes));
    EXPECT_NE(bytes.find("\r\nForm1Left2=150\r\n"), std::string::npos) << bytes;
    EXPECT_FALSE(app.SaveUnderWay()) << "the new contents' temporary file is left behind";
}

// The text as UTF-16 in the byte order asked for, after its byte-order mark.
std::string Utf16(const std::wstring& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(SettingsFileE2eTest, FileSavedAsUtf16IsReadAndWrittenBackAsUtf8) {
    for (bool bigEndian : {false, true}) {
        App app(bigEndian ? L"Utf16BigEndian" : L"Utf16LittleEndian");
        app.WriteSettings(
            Utf16(L"[System]\r\nForm1Top2=120\r\nForm1Left2=60\r\nNAME=テスト　太郎\r\nchTopmost=0\r\n",
                  bigEndian));
        ASSERT_TRUE(app.Start());
        HWND main = app.MainWindow();
        RECT outer = OuterRect(main);
        EXPECT_EQ(outer.left, 60);
        EXPECT_EQ(outer.top, 120);
        EXPECT_EQ(Text(Child(main, ids::kEdtNAME)), L"テスト　太郎");
        EXPECT_EQ(SendMessageW(Child(main, ids::kChTopmost), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        RECT pick = OuterRect(app.FindTopLevel(L"TForm2", false));
        ASSERT_EQ(app.Close(), 0);

        std::string bytes;
        ASSERT_TRUE(app.ReadSettings(bytes));
        EXPECT_EQ(bytes.find('\0'), std::string::npos);
        EXPECT_EQ(bytes,
                  std::string(kBom) +
                      "[System]\r\nForm1Top2=120\r\nForm1Left2=60\r\nNAME=テスト　太郎\r\nchTopmost=0\r\n"
                      "Form2Top2=" +
                      std::to_string(pick.top) + "\r\nForm2Left2=" + std::to_string(pick.left) + "\r\n\r\n");
    }
}

}  // namespace
}  // namespace e2e
