// Picking with the real selection window: captions, lines, duplicates, cancelling, closing, resets
// and the picker's remembered position.
#include <gtest/gtest.h>

#include "tests/e2e/E2e.h"
#include "windows/ControlIds.h"

namespace e2e {
namespace ids = vellicot::ids;
namespace {

constexpr COLORREF kGold = RGB(255, 215, 0);

HWND Tree(const App& app, int t) {
    return Child(app.MainWindow(), ids::kTreeButton + t);
}

// Clicks a tree and waits for the picker; null when it never shows.
HWND OpenPicker(const App& app, int tree) {
    Click(Tree(app, tree));
    HWND picker = nullptr;
    WaitFor([&] { return (picker = app.FindTopLevel(L"TForm2")) != nullptr; });
    // Ready for clicks once it has come to the front.
    if (picker != nullptr)
        WaitFor([&] { return GetForegroundWindow() == picker; }, std::chrono::seconds(2));
    return picker;
}

// Clicks picker button n and waits until the picker has gone.
bool Choose(HWND picker, int n) {
    Click(Child(picker, ids::kBitBtn + n));
    return WaitFor([&] { return !IsWindowVisible(picker); });
}

bool Pick(const App& app, int tree, int entry) {
    HWND picker = OpenPicker(app, tree);
    return picker != nullptr && Choose(picker, entry);
}

HWND HiddenPicker(const App& app) {
    return app.FindTopLevel(L"TForm2", false);
}

std::wstring EntryCaption(const App& app, int n) {
    return Text(Child(HiddenPicker(app), ids::kBitBtn + n));
}

// The screen point of a client point of the main window.
POINT OnScreen(const App& app, int x, int y) {
    POINT p{x, y};
    ClientToScreen(app.MainWindow(), &p);
    return p;
}

TEST(PickerTest, PickWritesTheEntryOverTheTreeLabel) {
    App app(L"PickCaption");
    ASSERT_TRUE(app.Start());
    HWND picker = OpenPicker(app, 3);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(Text(picker), L"選択してください　　※この画面は移動できます");
    EXPECT_TRUE(GetWindowLongW(picker, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // While the picker is open the main window is not topmost.
    EXPECT_FALSE(GetWindowLongW(app.MainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    SIZE client = ClientSize(picker);
    EXPECT_EQ(client.cx, 304);
    EXPECT_EQ(client.cy, 232);
    EXPECT_EQ(Text(Child(picker, ids::kBitBtn + 17)), L"選択\r\n取消し");
    EXPECT_EQ(Text(Child(picker, ids::kBitBtn + 18)), L"閉じる");
    ASSERT_TRUE(Choose(picker, 1));
    EXPECT_EQ(Text(Tree(app, 3)), L"慈悲\r\n上１");
    EXPECT_EQ(EntryCaption(app, 1), L"慈悲\r\n上１");
    EXPECT_TRUE(
        WaitFor([&] { return (GetWindowLongW(app.MainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
    EXPECT_EQ(app.Close(), 0);
}

TEST(PickerTest, VirtueOnTree3AndItsViceOnTree10DrawAGoldLine) {
    App app(L"GoldLine");
    ASSERT_TRUE(app.Start());
    // Tree 3's line end is client (197, 94), tree 10's (100, 291); the middle lies on open map.
    POINT middle = OnScreen(app, 148, 192);
    POINT aside = OnScreen(app, 170, 192);
    EXPECT_NE(ScreenPixel(middle.x, middle.y), kGold);
    ASSERT_TRUE(Pick(app, 3, 1));
    ASSERT_TRUE(Pick(app, 10, 9));
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(middle.x, middle.y) == kGold; }))
        << std::hex << ScreenPixel(middle.x, middle.y);
    EXPECT_NE(ScreenPixel(aside.x, aside.y), kGold);
    // Cancelling the vice takes the line away.
    HWND picker = OpenPicker(app, 10);
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(Choose(picker, 17));
    EXPECT_EQ(Text(Tree(app, 10)), L"下１\r\n－");
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(middle.x, middle.y) != kGold; }));
    EXPECT_EQ(app.Close(), 0);
}

TEST(PickerTest, SameEntryOnTwoTreesListsBothLabelsOnTheEntry) {
    App app(L"Duplicate");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(Pick(app, 1, 1));
    ASSERT_TRUE(Pick(app, 2, 1));
    EXPECT_EQ(Text(Tree(app, 1)), L"慈悲\r\n上４");
    EXPECT_EQ(Text(Tree(app, 2)), L"慈悲\r\n上３");
    EXPECT_EQ(EntryCaption(app, 1), L"慈悲\r\n上４上３");
    EXPECT_EQ(app.Close(), 0);
}

TEST(PickerTest, CloseButtonAndTitleBarCloseChangeNothing) {
    App app(L"CloseChangesNothing");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(Pick(app, 5, 12));
    HWND picker = OpenPicker(app, 5);
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(Choose(picker, 18));
    EXPECT_EQ(Text(Tree(app, 5)), L"Pride\r\n右４");
    EXPECT_EQ(EntryCaption(app, 12), L"Pride\r\n右４");
    picker = OpenPicker(app, 5);
    ASSERT_NE(picker, nullptr);
    PostMessageW(picker, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(picker); }));
    EXPECT_TRUE(IsWindow(picker));
    EXPECT_EQ(Text(Tree(app, 5)), L"Pride\r\n右４");
    EXPECT_EQ(app.Close(), 0);
}

TEST(PickerTest, ResetWhileThePickerIsHiddenFreesEveryEntry) {
    App app(L"ResetHidden");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(Pick(app, 4, 2));
    ASSERT_TRUE(Pick(app, 7, 10));
    Click(Child(app.MainWindow(), ids::kBtnBtnClear));
    EXPECT_TRUE(WaitFor([&] { return Text(Tree(app, 4)) == L"上２"; })) << Narrow(Text(Tree(app, 4)));
    EXPECT_EQ(Text(Tree(app, 7)), L"右１");
    EXPECT_EQ(EntryCaption(app, 2), L"誠実\r\n－");
    EXPECT_EQ(EntryCaption(app, 10), L"デシート\r\n－");
    ASSERT_TRUE(Pick(app, 4, 2));
    Click(Child(app.MainWindow(), ids::kBtnAllClear));
    EXPECT_TRUE(WaitFor([&] { return Text(Tree(app, 4)) == L"上２"; }));
    EXPECT_EQ(EntryCaption(app, 2), L"誠実\r\n－");
    EXPECT_EQ(app.Close(), 0);
}

TEST(PickerTest, MovedPickerOpensAtItsPositionAfterARestart) {
    {
        App app(L"PickerPosition");
        ASSERT_TRUE(app.Start());
        HWND picker = OpenPicker(app, 1);
        ASSERT_NE(picker, nullptr);
        SetWindowPos(picker, nullptr, 111, 222, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(Choose(picker, 18));
        ASSERT_EQ(app.Close(), 0);
    }
    App again(L"PickerPosition", false);
    ASSERT_TRUE(again.Start());
    HWND picker = OpenPicker(again, 1);
    ASSERT_NE(picker, nullptr);
    RECT rect;
    GetWindowRect(picker, &rect);
    EXPECT_EQ(rect.left, 111);
    EXPECT_EQ(rect.top, 222);
    ASSERT_TRUE(Choose(picker, 18));
    EXPECT_EQ(again.Close(), 0);
}

}  // namespace
}  // namespace e2e
