// The main window's pictures: the pair-line overlay with its near-white rim and transparent white,
// and the map scaled once from its 800 x 800 picture.
#include <gtest/gtest.h>

#include "platform/Handles.h"
#include "windows/Pictures.h"

namespace vellicot {
namespace {

constexpr Colour kGold = 0x00D7FF;

COLORREF At(const MemoryCanvas& canvas, int x, int y) {
    return GetPixel(canvas.Dc(), x, y);
}

void Fill(const MemoryCanvas& canvas, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    RECT all{0, 0, canvas.Width(), canvas.Height()};
    FillRect(canvas.Dc(), &all, brush.get());
}

TEST(PicturesTest, PairLineIsFourPixelsOfColourInsideAOnePixelRim) {
    LineOverlayPicture overlay(nullptr, Box{0, 0, 300, 300});
    overlay.DrawSegment({50, 100}, {250, 100}, kPairLineOutline, 6);
    overlay.DrawSegment({50, 100}, {250, 100}, kGold, 4);
    // A horizontal line: rows 98..101 carry the colour, 97 and 102 the rim, 96 and 103 nothing.
    for (int y = 98; y <= 101; ++y)
        EXPECT_EQ(overlay.PixelAt(150, y), kGold) << y;
    EXPECT_EQ(overlay.PixelAt(150, 97), kPairLineOutline);
    EXPECT_EQ(overlay.PixelAt(150, 102), kPairLineOutline);
    EXPECT_EQ(overlay.PixelAt(150, 96), 0xFFFFFFu);
    EXPECT_EQ(overlay.PixelAt(150, 103), 0xFFFFFFu);
    // Round ends reach past the end point.
    EXPECT_EQ(overlay.PixelAt(251, 100), kGold);
}

TEST(PicturesTest, ClearingLeavesOnlyWhiteAndWhiteIsTransparentWhenPainted) {
    LineOverlayPicture overlay(nullptr, Box{2, 46, 300, 300});
    overlay.DrawSegment({10, 10}, {290, 290}, 0x0000FF, 4);
    overlay.Clear();
    EXPECT_EQ(overlay.PixelAt(150, 150), 0xFFFFFFu);

    overlay.DrawSegment({0, 150}, {299, 150}, 0xFF0000, 4);
    MemoryCanvas target(304, 348);
    Fill(target, RGB(10, 20, 30));
    overlay.Paint(target.Dc());
    EXPECT_EQ(At(target, 2 + 150, 46 + 150), RGB(0, 0, 255));   // the line, at the overlay's place
    EXPECT_EQ(At(target, 2 + 150, 46 + 100), RGB(10, 20, 30));  // white shows what lies beneath
    EXPECT_EQ(At(target, 1, 46 + 150), RGB(10, 20, 30));        // nothing left of the overlay
}

TEST(PicturesTest, MapIsScaledTo300AndOpaqueInsideTheWallAndWhiteOutside) {
    MapPicture map(300);
    ASSERT_TRUE(map.Load(L"PngImage_1"));
    MemoryCanvas target(304, 348);
    Fill(target, RGB(255, 0, 255));
    map.Paint(target.Dc(), 2, 46);
    // The orchard's middle is drawn; the picture's transparent corner shows white, not the magenta.
    COLORREF middle = At(target, 2 + 150, 46 + 150);
    EXPECT_NE(middle, RGB(255, 255, 255));
    EXPECT_NE(middle, RGB(255, 0, 255));
    EXPECT_EQ(At(target, 2 + 1, 46 + 1), RGB(255, 255, 255));
    EXPECT_EQ(At(target, 1, 46 + 150), RGB(255, 0, 255));  // nothing drawn outside 300 x 300
    EXPECT_EQ(At(target, 2 + 300, 46 + 150), RGB(255, 0, 255));
}

TEST(PicturesTest, SolidPaletteMapIsLighterUnderTheTreeSpots) {
    MapPicture plain(300);
    MapPicture squares(300);
    ASSERT_TRUE(plain.Load(L"PngImage_1"));
    ASSERT_TRUE(squares.Load(L"PngImage_2"));
    MemoryCanvas a(300, 300);
    MemoryCanvas b(300, 300);
    plain.Paint(a.Dc(), 0, 0);
    squares.Paint(b.Dc(), 0, 0);
    // Near the corner of tree 1's square (button at 65, 59: map 63..103, 13..53) but off its crown.
    const int x = 63 + 3;
    const int y = 13 + 3;
    auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    EXPECT_GT(brightness(At(b, x, y)), brightness(At(a, x, y)));
    EXPECT_EQ(At(a, 150, 5), At(b, 150, 5));  // away from the squares both are the same
}

TEST(PicturesTest, AMissingPictureKeepsTheOldOne) {
    MapPicture map(300);
    ASSERT_TRUE(map.Load(L"PngImage_1"));
    MemoryCanvas before(300, 300);
    map.Paint(before.Dc(), 0, 0);
    EXPECT_FALSE(map.Load(L"PngImage_9"));
    MemoryCanvas after(300, 300);
    map.Paint(after.Dc(), 0, 0);
    EXPECT_EQ(At(before, 150, 150), At(after, 150, 150));
}

}  // namespace
}  // namespace vellicot
