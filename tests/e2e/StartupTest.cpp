// Starting and closing the real program.
#include <gtest/gtest.h>

#include "tests/e2e/E2e.h"

namespace e2e {
namespace {

TEST(StartupTest, MainWindowHasItsCaptionAndClientSizeAndClosesWithExitCodeZero) {
    App app(L"StartupCaption");
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
    EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e
