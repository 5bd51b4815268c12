// The map's area average: an even colour stays even, edges stay where they are, the corners stay
// the corners, and translucent pixels lie over white.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "core/AreaScale.h"

namespace vellicot {
namespace {

// A source picture's pixels as 0xAARRGGBB by position, scaled to the target size.
std::vector<std::uint32_t> Scaled(int width, int height, int targetWidth, int targetHeight,
                                  const std::function<std::uint32_t(int, int)>& colour) {
    AreaScaler scaler(width, height, targetWidth, targetHeight);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = colour(x, y);
            for (int byte = 0; byte < 4; ++byte)
                row[static_cast<std::size_t>(x) * 4 + byte] = static_cast<std::uint8_t>(argb >> (8 * byte));
        }
        scaler.AddRow(row.data());
    }
    return scaler.Pixels();
}

TEST(AreaScaleTest, AnEvenColourStaysEvenLaidOverWhite) {
    // Width and height, to width and height.
    const int sizes[][4] = {{800, 800, 300, 300}, {800, 800, 450, 450}, {800, 800, 600, 600},
                            {7, 5, 3, 2},         {3, 2, 5, 4},         {4, 4, 4, 4}};
    const std::uint32_t colours[][2] = {
        {0xFF123456, 0xFF123456},  // opaque
        {0x00ABCDEF, 0xFFFFFFFF},  // transparent: white
        {0x80000000, 0xFF7F7F7F},  // half black: 255 * 127 / 255
        {0x80FF0000, 0xFFFF7F7F},
    };
    for (const auto& s : sizes) {
        for (const auto& [colour, expected] : colours) {
            const std::vector<std::uint32_t> out =
                Scaled(s[0], s[1], s[2], s[3], [&](int, int) { return colour; });
            EXPECT_EQ(out, std::vector<std::uint32_t>(static_cast<std::size_t>(s[2] * s[3]), expected))
                << s[0] << " to " << s[2] << ", " << colour;
        }
    }
}

TEST(AreaScaleTest, EdgesStayWhereTheyFallAndMixOnlyThePixelTheyCross) {
    constexpr std::uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kHalf = 0xFF808080;
    struct Case {
        int width, edge, targetWidth;  // black left of the edge, white from it on
        std::vector<std::uint32_t> row;
    };
    const Case cases[] = {
        {8, 4, 4, {kBlack, kBlack, kWhite, kWhite}},
        {8, 3, 4, {kBlack, kHalf, kWhite, kWhite}},   // source 2 and 3 halve the second
        {2, 1, 4, {kBlack, kBlack, kWhite, kWhite}},  // twice larger
        // As the map's middle, 400 of 800, is the middle of 300.
        {16, 8, 6, {kBlack, kBlack, kBlack, kWhite, kWhite, kWhite}},
    };
    for (const Case& c : cases) {
        // The same edge across and down.
        EXPECT_EQ(
            Scaled(c.width, 1, c.targetWidth, 1, [&](int x, int) { return x < c.edge ? kBlack : kWhite; }),
            c.row);
        EXPECT_EQ(
            Scaled(1, c.width, 1, c.targetWidth, [&](int, int y) { return y < c.edge ? kBlack : kWhite; }),
            c.row);
    }
}

TEST(AreaScaleTest, TheCornersComeFromTheCornersOnly) {
    // Four 3 x 3 corner blocks of 9 x 9 become the four corner pixels of 3 x 3.
    const std::uint32_t corners[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000};
    const std::vector<std::uint32_t> blocks = Scaled(9, 9, 3, 3, [&](int x, int y) {
        if ((x < 3 || x > 5) && (y < 3 || y > 5))
            return corners[(y > 5 ? 2 : 0) + (x > 5 ? 1 : 0)];
        return 0xFFFFFFFFu;
    });
    EXPECT_EQ(blocks, (std::vector<std::uint32_t>{corners[0], 0xFFFFFFFF, corners[1], 0xFFFFFFFF, 0xFFFFFFFF,
                                                  0xFFFFFFFF, corners[2], 0xFFFFFFFF, corners[3]}));
    // 800 to 300: one black corner pixel darkens only its corner, by its share of 3/8 x 3/8:
    // 255 - 255 * 9 / 64 = 219.14.
    const std::vector<std::uint32_t> out = Scaled(800, 800, 300, 300, [](int x, int y) {
        return (x == 0 && y == 0) || (x == 799 && y == 799) ? 0xFF000000u : 0xFFFFFFFFu;
    });
    for (std::size_t at : {std::size_t{0}, out.size() - 1})
        EXPECT_EQ(out[at], 0xFFDBDBDB) << at;
    for (std::size_t at : {std::size_t{1}, std::size_t{300}, out.size() - 2, out.size() - 301})
        EXPECT_EQ(out[at], 0xFFFFFFFF) << at;
}

}  // namespace
}  // namespace vellicot
