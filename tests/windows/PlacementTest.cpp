// Where windows go: centred on the work area, whether a stored position is seen (for any value the
// file may hold), the settings dialog over its owner, and the position a minimised window keeps.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <iterator>

#include "SettingsTestSupport.h"
#include "platform/Win32.h"
#include "shell/Placement.h"

namespace vellicot {
namespace {

// A plain top-level window at a place, with the program's main window's outer size.
class TestWindow {
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 388;

    TestWindow(int left, int top)
        : hwnd_(CreateWindowExW(0, L"STATIC", L"placement", WS_OVERLAPPEDWINDOW | WS_VISIBLE, left, top,
                                kWidth, kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() { DestroyWindow(hwnd_); }

    HWND Handle() const { return hwnd_; }
    WindowPosition Position() const {
        RECT rect;
        GetWindowRect(hwnd_, &rect);
        return {rect.top, rect.left};
    }

private:
    HWND hwnd_;
};

TEST(PlacementTest, WindowIsCentredOnTheWorkAreaIncludingItsOrigin) {
    struct Case {
        RECT area;
        int width, height;
        int top, left;
    };
    const Case cases[] = {
        {{0, 0, 1280, 1024}, 320, 387, 318, 480},
        {{0, 0, 1280, 1024}, 321, 388, 318, 479},     // ⌊(1024 - 388) / 2⌋, ⌊(1280 - 321) / 2⌋
        {{0, 40, 1280, 1024}, 320, 388, 338, 480},    // taskbar at the top
        {{64, 0, 1920, 1080}, 300, 300, 390, 842},    // taskbar at the left
        {{-1920, 0, 0, 1080}, 300, 301, 389, -1110},  // a monitor left of the primary one
        {{0, 0, 200, 100}, 301, 201, -51, -51},       // a window larger than the area
    };
    for (const Case& c : cases) {
        WindowPosition position = CentredIn(c.area, c.width, c.height);
        EXPECT_EQ(position.top, c.top) << c.area.left << "," << c.area.top;
        EXPECT_EQ(position.left, c.left) << c.area.left << "," << c.area.top;
    }

    RECT area{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    WindowPosition position = DefaultWindowPosition(320, 388);
    int above = position.top - area.top, below = area.bottom - (position.top + 388);
    int leftGap = position.left - area.left, rightGap = area.right - (position.left + 320);
    EXPECT_TRUE(above == below || above + 1 == below) << above << " " << below;
    EXPECT_TRUE(leftGap == rightGap || leftGap + 1 == rightGap) << leftGap << " " << rightGap;
}

struct MeetsCase {
    RECT area;
    WindowPosition position;
    bool meets;
};
constexpr RECT kScreen{0, 0, 1280, 1024};
constexpr MeetsCase kMeetsCases[] = {
    {kScreen, {0, 0}, true},
    {kScreen, {0, -319}, true},  // one column on the screen
    {kScreen, {0, -320}, false},
    {kScreen, {0, 1279}, true},
    {kScreen, {0, 1280}, false},
    {kScreen, {-387, 0}, true},
    {kScreen, {-388, 0}, false},
    {kScreen, {1023, 0}, true},
    {kScreen, {1024, 0}, false},
    // Whatever the file holds: the far ends of the integers.
    {kScreen, {0, INT_MAX}, false},
    {kScreen, {INT_MAX, 0}, false},
    {kScreen, {INT_MAX, INT_MAX}, false},
    {kScreen, {INT_MAX - 100, INT_MAX - 100}, false},
    {kScreen, {INT_MIN, INT_MIN}, false},
    {kScreen, {0, INT_MIN}, false},
    {kScreen, {-32000, -32000}, false},
    // An area at the far end: the window's right edge lies past the largest int.
    {{INT_MAX - 1000, 0, INT_MAX, 1024}, {0, INT_MAX - 100}, true},
    {{0, INT_MAX - 1000, 1280, INT_MAX}, {INT_MAX - 100, 0}, true},
};
// Worked out by the compiler, where an overflow on any case would not compile.
constexpr auto kMeetsResults = [] {
    std::array<bool, std::size(kMeetsCases)> results{};
    for (std::size_t i = 0; i < results.size(); ++i) {
        const MeetsCase& c = kMeetsCases[i];
        results[i] = MeetsArea(c.area, c.position, TestWindow::kWidth, TestWindow::kHeight);
    }
    return results;
}();

TEST(PlacementTest, AWindowMeetsAnAreaWhenOnePixelIsInsideWhateverItsPosition) {
    for (std::size_t i = 0; i < std::size(kMeetsCases); ++i) {
        const MeetsCase& c = kMeetsCases[i];
        EXPECT_EQ(kMeetsResults[i], c.meets) << testing::PrintToString(c.position);
        EXPECT_EQ(MeetsArea(c.area, c.position, TestWindow::kWidth, TestWindow::kHeight), c.meets);
    }
}

TEST(PlacementTest, StoredPositionIsKeptWhenSeenAndAnyOtherFallsBack) {
    TestWindow window(10, 10);
    const WindowPosition fallback{11, 22};
    struct Case {
        WindowPosition stored;
        bool kept;
    };
    const Case cases[] = {
        {{100, 200}, true},    {{-100, -200}, true},        {{INT_MAX, INT_MAX}, false},
        {{INT_MAX, 0}, false}, {{0, INT_MAX - 100}, false}, {{INT_MIN, INT_MIN}, false},
        {{40000, 5}, false},   {{-32000, -32000}, false},
    };
    for (const Case& c : cases) {
        PlaceWindow(window.Handle(), c.stored, fallback);
        EXPECT_EQ(window.Position(), c.kept ? c.stored : fallback) << testing::PrintToString(c.stored);
    }
}

TEST(PlacementTest, DialogIsCentredOverItsOwnerAndKeptInsideTheWorkArea) {
    struct Case {
        RECT owner;
        RECT work;
        WindowPosition place;
    };
    constexpr int kWidth = 215, kHeight = 390;
    const Case cases[] = {
        {{100, 100, 420, 487}, kScreen, {99, 152}},       // halves rounded towards zero: (387 - 390) / 2 = -1
        {{100, 0, 420, 387}, kScreen, {0, 152}},          // it would reach above the screen
        {{1100, 700, 1420, 1087}, kScreen, {634, 1065}},  // past the right and bottom edges
        {{-500, 100, -180, 487}, {-1920, 0, 0, 1080}, {99, -448}},  // on a monitor left of the primary
        {{0, 0, 320, 387}, {0, 0, 200, 300}, {0, 0}},  // a work area smaller than the dialog: its corner
    };
    for (const Case& c : cases)
        EXPECT_EQ(CentredOver(c.owner, c.work, kWidth, kHeight), c.place)
            << c.owner.left << "," << c.owner.top;
}

TEST(PlacementTest, MinimisedWindowKeepsThePositionItIsRestoredTo) {
    TestWindow window(10, 10);
    PlaceWindow(window.Handle(), {77, 123}, {0, 0});  // as the program places its windows
    EXPECT_EQ(RestoredPosition(window.Handle()), (WindowPosition{77, 123}));

    ShowWindow(window.Handle(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window.Handle()));
    ASSERT_NE(window.Position(), (WindowPosition{77, 123})) << "a minimised window is parked elsewhere";
    EXPECT_EQ(RestoredPosition(window.Handle()), (WindowPosition{77, 123}));

    ShowWindow(window.Handle(), SW_RESTORE);
    EXPECT_EQ(window.Position(), (WindowPosition{77, 123}));
    EXPECT_EQ(RestoredPosition(window.Handle()), (WindowPosition{77, 123}));

    // Moved by the player, then minimised a moment later (no hand does the two within a tenth of a
    // second): the place it was moved to.
    SetWindowPos(window.Handle(), nullptr, 150, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(250);
    ShowWindow(window.Handle(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window.Handle()));
    EXPECT_EQ(RestoredPosition(window.Handle()), (WindowPosition{90, 150}));
    ShowWindow(window.Handle(), SW_RESTORE);
    EXPECT_EQ(window.Position(), (WindowPosition{90, 150}));

    // A window manager that animates the minimising moves the window towards its icon in quick
    // steps first (openbox does, and under Wine each step is a move): the place before them is kept.
    ShowWindow(window.Handle(), SW_RESTORE);
    Sleep(500);
    for (int step = 1; step <= 3; ++step) {
        SetWindowPos(window.Handle(), nullptr, 150 + 40 * step, 90 + 150 * step, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(window.Handle(), SW_MINIMIZE);
    EXPECT_EQ(RestoredPosition(window.Handle()), (WindowPosition{90, 150}));
    ShowWindow(window.Handle(), SW_RESTORE);

    // Of those steps only one may come through, right before the minimising: still not a place.
    const WindowPosition restored = window.Position();
    Sleep(500);
    SetWindowPos(window.Handle(), nullptr, 190, 240, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window.Handle(), SW_MINIMIZE);
    EXPECT_EQ(RestoredPosition(window.Handle()), restored);
    ShowWindow(window.Handle(), SW_RESTORE);

    // A hidden window, as the selection window is between uses, moved where the player put it.
    ShowWindow(window.Handle(), SW_HIDE);
    SetWindowPos(window.Handle(), nullptr, 222, 111, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(RestoredPosition(window.Handle()), (WindowPosition{111, 222}));
}

}  // namespace
}  // namespace vellicot
