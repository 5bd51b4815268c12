// Mapping 96-DPI geometry to other display scales.
#include <gtest/gtest.h>

#include "core/Scale.h"

namespace vellicot {
namespace {

TEST(ScaleTest, LengthsScaleAndRoundToTheNearestPixel) {
    struct Case {
        int value, dpi, expected;
    };
    for (const Case& c : {Case{304, 96, 304}, Case{304, 120, 380}, Case{348, 144, 522}, Case{348, 192, 696},
                          Case{11, 144, 17}, Case{1, 144, 2}, Case{5, 120, 6}, Case{3, 120, 4},
                          Case{-11, 144, -17}, Case{0, 192, 0}, Case{2147483647 / 2, 192, 2147483646}}) {
        EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
    }
}

TEST(ScaleTest, BoxesKeepTouchingNeighboursAndStayWithinAPixelOfTheExactSize) {
    // btnSTA and btnEND share the edge at 60; the tree buttons are 40 wide.
    const Box start{0, 1, 60, 44}, stop{60, 1, 60, 44}, tree{65, 59, 40, 40};
    for (int dpi : {96, 120, 144, 168, 192, 240}) {
        const Box a = ScaleToDpi(start, dpi), b = ScaleToDpi(stop, dpi);
        EXPECT_EQ(a.Right(), b.left) << dpi;
        const Box t = ScaleToDpi(tree, dpi);
        const double exact = 40.0 * dpi / 96;
        EXPECT_LE(std::abs(t.width - exact), 1.0) << dpi;
        EXPECT_LE(std::abs(t.height - exact), 1.0) << dpi;
    }
    EXPECT_EQ(ScaleToDpi(tree, 96), tree);
    EXPECT_EQ(ScaleToDpi(tree, 144), (Box{98, 89, 60, 60}));  // 97.5 and 88.5 round up
}

}  // namespace
}  // namespace vellicot
