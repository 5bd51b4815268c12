// The real settings dialog and stay-on-top mode: Cancel keeps everything, OK applies and writes the
// five settings, the check box sets the window's stacking, and hovering pulls the tool forward only
// while the mode is on.
#include <gtest/gtest.h>

#include "tests/e2e/E2e.h"
#include "windows/ControlIds.h"

namespace e2e {
namespace ids = vellicot::ids;
namespace {

constexpr int kPaletteList = 401;
constexpr int kTokuColourList = 404;
constexpr int kCancel = 406;
constexpr int kOk = 407;

HWND OpenSettings(const App& app) {
    Click(Child(app.MainWindow(), ids::kBtnSetting));
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = app.FindTopLevel(L"TForm3")) != nullptr; });
    // Ready for clicks once it has come to the front.
    if (dialog != nullptr)
        WaitFor([&] { return GetForegroundWindow() == dialog; }, std::chrono::seconds(2));
    return dialog;
}

bool Press(HWND dialog, int id) {
    Click(Child(dialog, id));
    return WaitFor([&] { return !IsWindowVisible(dialog); });
}

int Selection(HWND dialog, int id) {
    return static_cast<int>(SendMessageW(Child(dialog, id), CB_GETCURSEL, 0, 0));
}

void Select(HWND dialog, int id, int item) {
    SendMessageW(Child(dialog, id), CB_SETCURSEL, item, 0);
}

POINT OnScreen(const App& app, int x, int y) {
    POINT p{x, y};
    ClientToScreen(app.MainWindow(), &p);
    return p;
}

bool Topmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(SettingsDialogTest, CancelKeepsTheOldValuesAndWritesNothing) {
    App app(L"SettingsCancel");
    ASSERT_TRUE(app.Start());
    HWND dialog = OpenSettings(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), L"設定");
    SIZE client = ClientSize(dialog);
    EXPECT_EQ(client.cx, 205);
    EXPECT_EQ(client.cy, 359);
    // The main window leaves stay-on-top mode while the dialog is up.
    EXPECT_FALSE(Topmost(app.MainWindow()));
    EXPECT_EQ(Selection(dialog, kPaletteList), 0);
    Select(dialog, kPaletteList, 1);
    Select(dialog, kTokuColourList, 1);
    ASSERT_TRUE(Press(dialog, kCancel));
    EXPECT_TRUE(WaitFor([&] { return Topmost(app.MainWindow()); }));
    std::string bytes;
    EXPECT_FALSE(app.ReadSettings(bytes));

    dialog = OpenSettings(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Selection(dialog, kPaletteList), 0);
    EXPECT_EQ(Selection(dialog, kTokuColourList), 0);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    EXPECT_FALSE(app.ReadSettings(bytes));
    EXPECT_EQ(app.Close(), 0);
}

TEST(SettingsDialogTest, OkAppliesTheSettingsSwapsTheMapAndWritesTheFiveKeys) {
    App app(L"SettingsOk");
    app.WriteSettings("[System]\r\niSettingsTokuBtnTxtBold=7\r\n");
    ASSERT_TRUE(app.Start());
    // A point inside the face of tree 1, which has no pick: only the map beneath it changes.
    POINT face = OnScreen(app, 65 + 8, 59 + 30);
    COLORREF before = ScreenPixel(face.x, face.y);
    HWND dialog = OpenSettings(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Selection(dialog, 405), 1);  // a stored 7 shows as item 1
    Select(dialog, kPaletteList, 1);
    ASSERT_TRUE(Press(dialog, kOk));
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(face.x, face.y) != before; }))
        << std::hex << before << " stayed";

    // The file is written after the repaint.
    std::string bytes;
    ASSERT_TRUE(WaitFor([&] { return app.ReadSettings(bytes) && bytes.rfind("\xEF\xBB\xBF", 0) == 0; }));
    EXPECT_EQ(
        bytes,
        "\xEF\xBB\xBF[System]\r\niSettingsTokuBtnTxtBold=1\r\niSettingsBtnBGColor=1\r\n"
        "iSettingsTreeBtnTxtColor=0\r\niSettingsTreeBtnTxtBold=0\r\niSettingsTokuBtnTxtColor=0\r\n\r\n");
    EXPECT_EQ(app.Close(), 0);
    ASSERT_TRUE(app.ReadSettings(bytes));
    EXPECT_NE(bytes.find("iSettingsBtnBGColor=1\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("chTopmost=1\r\n"), std::string::npos);
}

TEST(StackingTest, CheckBoxTurnsStayOnTopOffAndOnAndTheFlagIsSaved) {
    App app(L"TopmostToggle");
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    HWND box = Child(main, ids::kChTopmost);
    ASSERT_TRUE(Topmost(main));
    Click(box);
    EXPECT_TRUE(WaitFor([&] { return !Topmost(main); }));
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Click(box);
    EXPECT_TRUE(WaitFor([&] { return Topmost(main); }));
    Click(box);
    EXPECT_TRUE(WaitFor([&] { return !Topmost(main); }));
    ASSERT_EQ(app.Close(), 0);
    std::string bytes;
    ASSERT_TRUE(app.ReadSettings(bytes));
    EXPECT_NE(bytes.find("chTopmost=0\r\n"), std::string::npos);
}

TEST(StackingTest, HoveringPullsTheToolForwardEveryTimeButOnlyWhileStayOnTopIsOn) {
    App app(L"HoverForeground");
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    RECT outer;
    GetWindowRect(main, &outer);
    ForeignWindow other(outer.right + 20, outer.top, 300, 300);
    const RECT otherRect = ClientRectOnScreen(other.Handle());
    const RECT treeRect = ClientRectOnScreen(Child(main, ids::kTreeButton + 5));
    // A player's steps: another application clicked to the front and left there a moment, then the
    // pointer onto a tree. From the second pass on, the pointer comes from that tree as well.
    auto pass = [&] {
        ClickAt((otherRect.left + otherRect.right) / 2, (otherRect.top + otherRect.bottom) / 2);
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == other.Handle(); }));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        MoveTo(treeRect.left + 20, treeRect.top + 20);
    };
    for (int i = 0; i < 6; ++i) {
        pass();
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }, std::chrono::seconds(2)))
            << "pass " << i;
    }

    Click(Child(main, ids::kChTopmost));
    ASSERT_TRUE(WaitFor([&] { return !Topmost(main); }));
    for (int i = 0; i < 2; ++i) {
        pass();
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        EXPECT_EQ(GetForegroundWindow(), other.Handle()) << "pass " << i;
    }
    EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e
