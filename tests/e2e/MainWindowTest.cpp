// The real program's main window: its first start, its settings file, a second copy, the stopwatch
// and the resets.
#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "tests/e2e/E2e.h"
#include "windows/ControlIds.h"

namespace e2e {
namespace ids = vellicot::ids;
namespace {

const wchar_t* const kLabels[] = {L"上４", L"上３", L"上１", L"上２", L"右４", L"右３", L"右１", L"右２",
                                  L"下２", L"下１", L"下３", L"下４", L"左１", L"左２", L"左３", L"左４"};

constexpr char kBom[] = "\xEF\xBB\xBF";

RECT OuterRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

std::string Decimal(long value) {
    return std::to_string(value);
}

TEST(MainWindowTest, FreshStartShowsTheMapWindowCentredAndOnTop) {
    App app(L"FreshStart");
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    EXPECT_EQ(Narrow(Text(main)), "Vellicot ver.1.40");
    SIZE client = ClientSize(main);
    EXPECT_EQ(client.cx, 304);
    EXPECT_EQ(client.cy, 348);
    LONG style = GetWindowLongW(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(SendMessageW(Child(main, ids::kChTopmost), BM_GETCHECK, 0, 0), BST_CHECKED);

    RECT outer = OuterRect(main);
    POINT centred = CentredPosition(outer.right - outer.left, outer.bottom - outer.top);
    EXPECT_EQ(outer.left, centred.x);
    EXPECT_EQ(outer.top, centred.y);

    for (int t = 1; t <= 16; ++t) {
        HWND tree = Child(main, ids::kTreeButton + t);
        ASSERT_NE(tree, nullptr) << t;
        EXPECT_EQ(Text(tree), kLabels[t - 1]) << t;
    }
    EXPECT_EQ(Text(Child(main, ids::kBtnSTA)), L"タイム\r\n計測開始");
    EXPECT_EQ(Text(Child(main, ids::kBtnEND)), L"タイム\r\n計測停止");
    EXPECT_EQ(Text(Child(main, ids::kBtnCOPY)), L"結果\r\nCOPY");
    EXPECT_EQ(Text(Child(main, ids::kBtnAllClear)), L"最初\r\nから");
    EXPECT_EQ(Text(Child(main, ids::kEdtNAME)), L"名無し");
    EXPECT_TRUE(IsWindowEnabled(Child(main, ids::kBtnSTA)));
    EXPECT_FALSE(IsWindowEnabled(Child(main, ids::kBtnEND)));
    EXPECT_FALSE(IsWindowEnabled(Child(main, ids::kBtnCOPY)));
    EXPECT_EQ(app.Close(), 0);
}

TEST(MainWindowTest, FirstCloseWritesExactlyTheSixKeys) {
    App app(L"FirstClose");
    ASSERT_TRUE(app.Start());
    RECT main = OuterRect(app.MainWindow());
    HWND picker = app.FindTopLevel(L"TForm2", false);
    ASSERT_NE(picker, nullptr);
    RECT pick = OuterRect(picker);
    ASSERT_EQ(app.Close(), 0);

    std::string bytes;
    ASSERT_TRUE(app.ReadSettings(bytes));
    std::string expected = std::string(kBom) + "[System]\r\nForm1Top2=" + Decimal(main.top) +
                           "\r\nForm1Left2=" + Decimal(main.left) +
                           "\r\nNAME=名無し\r\nForm2Top2=" + Decimal(pick.top) +
                           "\r\nForm2Left2=" + Decimal(pick.left) + "\r\nchTopmost=1\r\n\r\n";
    EXPECT_EQ(bytes, expected);
}

TEST(MainWindowTest, CraftedSettingsAreReadAndRewrittenInTheProgramsLetterCase) {
    App app(L"CraftedSettings");
    app.WriteSettings(
        "; kept by hand\r\n[Other]\r\nkeep=me\r\n\r\n[SYSTEM]\r\n  form1top2 = 120 \r\nFORM1LEFT2=60\r\n"
        "name=テスト　太郎\r\nchTopmost=0\r\niSettingsBtnBGColor=0x1\r\nextra=still here\r\n");
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    RECT outer = OuterRect(main);
    EXPECT_EQ(outer.left, 60);
    EXPECT_EQ(outer.top, 120);
    EXPECT_EQ(Text(Child(main, ids::kEdtNAME)), L"テスト　太郎");
    EXPECT_FALSE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(SendMessageW(Child(main, ids::kChTopmost), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    HWND picker = app.FindTopLevel(L"TForm2", false);
    RECT pick = OuterRect(picker);
    ASSERT_EQ(app.Close(), 0);

    std::string bytes;
    ASSERT_TRUE(app.ReadSettings(bytes));
    std::string expected =
        std::string(kBom) +
        "[Other]\r\nkeep=me\r\n\r\n[SYSTEM]\r\nForm1Top2=120\r\nForm1Left2=60\r\n"
        "NAME=テスト　太郎\r\nchTopmost=0\r\niSettingsBtnBGColor=0x1\r\nextra=still here\r\n"
        "Form2Top2=" +
        Decimal(pick.top) + "\r\nForm2Left2=" + Decimal(pick.left) + "\r\n\r\n";
    EXPECT_EQ(bytes, expected);
}

TEST(MainWindowTest, StoredPositionsOnNoMonitorOrAtTheEndsOfTheIntegersFallBackToTheCentre) {
    struct Case {
        const wchar_t* run;
        const char* settings;
    };
    for (const Case& c :
         {Case{L"OffScreen",
               "[System]\r\nForm1Top2=-30000\r\nForm1Left2=-30000\r\nForm2Top2=40000\r\nForm2Left2=5\r\n"},
          Case{L"IntegerEnds",
               "[System]\r\nForm1Top2=2147483647\r\nForm1Left2=2147483647\r\nForm2Top2=-2147483648\r\n"
               "Form2Left2=2147483647\r\n"}}) {
        SCOPED_TRACE(c.settings);
        App app(c.run);
        app.WriteSettings(c.settings);
        ASSERT_TRUE(app.Start());
        RECT outer = OuterRect(app.MainWindow());
        POINT centred = CentredPosition(outer.right - outer.left, outer.bottom - outer.top);
        EXPECT_EQ(outer.left, centred.x);
        EXPECT_EQ(outer.top, centred.y);
        RECT pick = OuterRect(app.FindTopLevel(L"TForm2", false));
        POINT pickCentred = CentredPosition(pick.right - pick.left, pick.bottom - pick.top);
        EXPECT_EQ(pick.left, pickCentred.x);
        EXPECT_EQ(pick.top, pickCentred.y);
        EXPECT_EQ(app.Close(), 0);
    }
}

TEST(MainWindowTest, PartlyVisibleStoredPositionIsKept) {
    App app(L"PartlyVisible");
    app.WriteSettings("[System]\r\nForm1Top2=-100\r\nForm1Left2=-200\r\n");
    ASSERT_TRUE(app.Start());
    RECT outer = OuterRect(app.MainWindow());
    EXPECT_EQ(outer.left, -200);
    EXPECT_EQ(outer.top, -100);
    EXPECT_EQ(app.Close(), 0);
}

TEST(MainWindowTest, UnwritableSettingsFileShowsTheErrorAndStillCloses) {
    App app(L"ReadOnlySettings");
    app.WriteSettings("[System]\r\nchTopmost=0\r\n");
    SetFileAttributesW(app.SettingsPath().c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(app.Start());
    PostMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
    std::wstring message = DismissMessageBox(app);
    EXPECT_EQ(message.rfind(L"ファイル \"", 0), 0u) << Narrow(message);
    EXPECT_NE(message.find(L"\" を作成できません。"), std::wstring::npos) << Narrow(message);
    EXPECT_EQ(app.Close(), 0);
    SetFileAttributesW(app.SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::string bytes;
    ASSERT_TRUE(app.ReadSettings(bytes));
    EXPECT_EQ(bytes, "[System]\r\nchTopmost=0\r\n");  // the old file, untouched
}

TEST(MainWindowTest, SecondCopyRestoresTheFirstAndEnds) {
    App app(L"SecondCopy");
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; }));
    EXPECT_EQ(app.StartSecondCopy(), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(main); }));
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }));
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(app.Close(), 0);
}

TEST(MainWindowTest, StartStopAndCopyPutTheRecordOnTheClipboard) {
    App app(L"StopwatchCopy");
    ClearClipboard();
    app.WriteSettings("[System]\r\nNAME=名無し\r\n");
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    HWND start = Child(main, ids::kBtnSTA);
    HWND stop = Child(main, ids::kBtnEND);
    HWND copy = Child(main, ids::kBtnCOPY);
    Click(start);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(stop) != FALSE; }));
    EXPECT_FALSE(IsWindowEnabled(start));
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    Click(stop);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(copy) != FALSE; }));
    EXPECT_TRUE(IsWindowEnabled(start));
    EXPECT_FALSE(IsWindowEnabled(stop));
    Click(copy);
    std::wstring record;
    ASSERT_TRUE(WaitFor([&] {
        record = ClipboardText();
        return record.rfind(L"名無し", 0) == 0;
    })) << Narrow(record);
    std::wregex shape(
        L"名無し選手のただいまの記録 『 00分0[1-9]\\.[0-9]{3}秒 』　\\([0-9]{4}/[0-9]{2}/[0-9]{2} "
        L"[0-9]{2}:[0-9]{2}　Vellicot ver\\.1\\.40 調べ\\)");
    EXPECT_TRUE(std::regex_match(record, shape)) << Narrow(record);
    EXPECT_EQ(app.Close(), 0);
}

TEST(MainWindowTest, FullResetStopsTheWatchAndDisablesCopy) {
    App app(L"FullReset");
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    HWND stop = Child(main, ids::kBtnEND);
    HWND copy = Child(main, ids::kBtnCOPY);
    Click(Child(main, ids::kBtnSTA));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(stop) != FALSE; }));
    Click(stop);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(copy) != FALSE; }));
    Click(Child(main, ids::kBtnAllClear));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(copy); }));
    EXPECT_FALSE(IsWindowEnabled(stop));
    EXPECT_TRUE(IsWindowEnabled(Child(main, ids::kBtnSTA)));
    EXPECT_EQ(app.Close(), 0);
}

TEST(MainWindowTest, TabMovesBetweenCopyAndTheCheckBoxAndEnterCopies) {
    App app(L"Keyboard");
    ClearClipboard();
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();
    HWND copy = Child(main, ids::kBtnCOPY);
    HWND box = Child(main, ids::kChTopmost);
    Click(Child(main, ids::kBtnSTA));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(Child(main, ids::kBtnEND)) != FALSE; }));
    Click(Child(main, ids::kBtnEND));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(copy) != FALSE; }));
    // Only the two take part: Tab goes from one to the other and back.
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(main) == copy || FocusOf(main) == box; }));
    HWND first = FocusOf(main);
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(main) != first; }));
    EXPECT_TRUE(FocusOf(main) == copy || FocusOf(main) == box);
    if (FocusOf(main) != copy)
        PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(main) == copy; }));
    PressKey(VK_RETURN);
    std::wstring record;
    EXPECT_TRUE(WaitFor([&] {
        record = ClipboardText();
        return record.find(L"選手のただいまの記録") != std::wstring::npos;
    })) << Narrow(record);
    EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e
