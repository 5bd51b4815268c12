// The real program started on a display at 125, 150 and 200 % (the desktop's LogPixels): its
// windows and every control take their sizes and places scaled from 96 DPI, the picker's buttons
// when its first showing makes them.
//
// The display is set from outside, by scripts/wine-at-dpi.sh, which starts the Wine server of a
// prefix of its own afresh at the DPI (this driver runs under that server) and runs one of these as
// e2e.Scaling.<dpi>; the other tests' prefix keeps 96 DPI. Hence disabled here.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/e2e/E2e.h"
#include "windows/ControlIds.h"

namespace e2e {
namespace ids = vellicot::ids;
namespace {

int Scaled(int value, int dpi) {
    return static_cast<int>(std::lround(value * dpi / 96.0));
}

// A child's rectangle in its parent's client area, within a pixel of the 96-DPI box scaled.
void ExpectScaled(HWND child, int left, int top, int width, int height, int dpi) {
    ASSERT_NE(child, nullptr);
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    const double s = dpi / 96.0;
    EXPECT_NEAR(rect.left, left * s, 1.0) << GetDlgCtrlID(child);
    EXPECT_NEAR(rect.top, top * s, 1.0) << GetDlgCtrlID(child);
    EXPECT_NEAR(rect.right - rect.left, width * s, 1.0) << GetDlgCtrlID(child);
    EXPECT_NEAR(rect.bottom - rect.top, height * s, 1.0) << GetDlgCtrlID(child);
}

// The desktop's LogPixels as the registry holds it; 96 when it holds none.
DWORD DesktopLogPixels() {
    DWORD value = 96, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS)
        return 96;
    return value;
}

// Makes the calling thread per-monitor DPI aware. An unaware thread is shown other programs'
// windows in 96-DPI units on Wines that scale for unaware programs (Wine 10 does), and would see a
// scaled window at its unscaled size. Wine 8 knows no second version of the context and does not
// scale for unaware programs: the first version, or none, does there.
void ReadInPhysicalPixels() {
    using SetContext = void*(WINAPI*)(void*);
    auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    if (set == nullptr)
        return;
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, else DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE
    if (set(reinterpret_cast<void*>(static_cast<INT_PTR>(-4))) == nullptr)
        set(reinterpret_cast<void*>(static_cast<INT_PTR>(-3)));
}

class ScalingTest : public ::testing::TestWithParam<int> {};

TEST_P(ScalingTest, DISABLED_WindowsAndControlsOpenScaledFrom96Dpi) {
    const int dpi = GetParam();
    ASSERT_EQ(DesktopLogPixels(), static_cast<DWORD>(dpi)) << "run through scripts/wine-at-dpi.sh " << dpi;
    ReadInPhysicalPixels();
    App app(L"Scale" + std::to_wstring(dpi));
    ASSERT_TRUE(app.Start());
    HWND main = app.MainWindow();

    SIZE client = ClientSize(main);
    EXPECT_EQ(client.cx, Scaled(304, dpi));
    EXPECT_EQ(client.cy, Scaled(348, dpi));
    ExpectScaled(Child(main, ids::kBtnSTA), 0, 1, 60, 44, dpi);
    ExpectScaled(Child(main, ids::kBtnEND), 60, 1, 60, 44, dpi);
    ExpectScaled(Child(main, ids::kEdtNAME), 123, 22, 83, 22, dpi);
    ExpectScaled(Child(main, ids::kBtnCOPY), 210, 1, 46, 44, dpi);
    ExpectScaled(Child(main, ids::kBtnAllClear), 256, 1, 46, 44, dpi);
    ExpectScaled(Child(main, ids::kBtnSetting), 2, 320, 50, 26, dpi);
    ExpectScaled(Child(main, ids::kChTopmost), 60, 325, 58, 17, dpi);
    ExpectScaled(Child(main, ids::kBtnBtnClear), 231, 320, 71, 26, dpi);
    const POINT trees[] = {{65, 59},   {122, 62},  {177, 70},  {135, 120}, {252, 118}, {231, 169},
                           {184, 165}, {225, 222}, {122, 222}, {80, 267},  {138, 289}, {177, 249},
                           {19, 105},  {57, 155},  {7, 158},   {29, 211}};
    for (int t = 1; t <= 16; ++t)
        ExpectScaled(Child(main, ids::kTreeButton + t), trees[t - 1].x, trees[t - 1].y, 40, 40, dpi);

    // The picker makes its buttons at its first showing, at the display's DPI.
    Click(Child(main, ids::kTreeButton + 1));
    HWND picker = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (picker = app.FindTopLevel(L"TForm2")) != nullptr; }));
    client = ClientSize(picker);
    EXPECT_EQ(client.cx, Scaled(304, dpi));
    EXPECT_EQ(client.cy, Scaled(232, dpi));
    ExpectScaled(Child(picker, ids::kBitBtn + 1), 0, 1, 75, 40, dpi);
    ExpectScaled(Child(picker, ids::kBitBtn + 16), 228, 135, 75, 40, dpi);
    ExpectScaled(Child(picker, ids::kBitBtn + 17), 152, 191, 75, 40, dpi);
    PostMessageW(picker, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(picker); }));

    HWND settings = app.FindTopLevel(L"TForm3", false);
    ASSERT_NE(settings, nullptr);
    client = ClientSize(settings);
    EXPECT_EQ(client.cx, Scaled(205, dpi));
    EXPECT_EQ(client.cy, Scaled(359, dpi));
    EXPECT_EQ(app.Close(), 0);
}

INSTANTIATE_TEST_SUITE_P(Displays, ScalingTest, ::testing::Values(120, 144, 192),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "dpi" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace e2e
