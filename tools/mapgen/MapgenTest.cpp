// The map generator: the committed pictures and icon are what it draws, the layout keeps every tree
// under its button and clear of wall and paths, and its arithmetic is the same on every machine.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>

#include "tools/mapgen/Icon.h"
#include "tools/mapgen/Orchard.h"
#include "tools/mapgen/PngCodec.h"

namespace vellicot::mapgen {
namespace {

const std::filesystem::path kResources = VELLICOT_RESOURCES_DIR;

const Picture& Map(bool withSpotSquares) {
    static const Picture plain = DrawOrchard(false);
    static const Picture squared = DrawOrchard(true);
    return withSpotSquares ? squared : plain;
}

// Empty when equal, else how many pixels differ and where the first one is.
std::string Differences(const Picture& expected, const Picture& actual) {
    if (expected.width != actual.width || expected.height != actual.height)
        return "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height);
    int count = 0;
    std::ostringstream first;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            if (std::memcmp(expected.At(x, y), actual.At(x, y), 4) != 0 && count++ == 0)
                first << " first at (" << x << ", " << y << ")";
    return count == 0 ? "" : std::to_string(count) + " pixels differ" + first.str();
}

std::optional<Picture> ReadPng(const std::filesystem::path& path) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return DecodePng(bytes->data(), bytes->size());
}

// One image of an .ico file as a picture, with the transparency mask of a bitmap image.
struct IconImage {
    Picture picture;
    bool png = false;
    std::vector<bool> masked;  // bitmap images: the mask bit of each pixel, rows top-down
};

std::uint32_t Read32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::vector<IconImage> ParseIco(const Bytes& ico) {
    std::vector<IconImage> images;
    if (ico.size() < 6 || Read32(ico, 0) != 0x10000)
        return images;
    const unsigned count = ico[4] | ico[5] << 8;
    for (unsigned i = 0; i < count && 6 + 16 * (i + 1) <= ico.size(); ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int width = ico[entry] == 0 ? 256 : ico[entry];
        const int height = ico[entry + 1] == 0 ? 256 : ico[entry + 1];
        const std::uint32_t size = Read32(ico, entry + 8), offset = Read32(ico, entry + 12);
        if (offset + static_cast<std::size_t>(size) > ico.size())
            return {};
        IconImage image;
        if (size >= 8 && std::memcmp(&ico[offset], "\x89PNG", 4) == 0) {
            image.png = true;
            image.picture = DecodePng(&ico[offset], size).value_or(Picture{});
        } else {
            const int stride = (width + 31) / 32 * 4;
            if (Read32(ico, offset) != 40 || Read32(ico, offset + 4) != static_cast<std::uint32_t>(width) ||
                Read32(ico, offset + 8) != static_cast<std::uint32_t>(2 * height) || ico[offset + 14] != 32 ||
                size != 40u + width * height * 4 + stride * height)
                return {};
            image.picture = {width, height,
                             std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
            image.masked.resize(static_cast<std::size_t>(width) * height);
            const std::size_t colours = offset + 40, mask = colours + width * height * 4;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const std::size_t from =
                        colours + (static_cast<std::size_t>(height - 1 - y) * width + x) * 4;
                    std::uint8_t* to = &image.picture.rgba[(static_cast<std::size_t>(y) * width + x) * 4];
                    to[0] = ico[from + 2];
                    to[1] = ico[from + 1];
                    to[2] = ico[from];
                    to[3] = ico[from + 3];
                    const std::uint8_t bits =
                        ico[mask + static_cast<std::size_t>(height - 1 - y) * stride + x / 8];
                    image.masked[static_cast<std::size_t>(y) * width + x] = (bits & (0x80 >> (x % 8))) != 0;
                }
        }
        if (image.picture.width != width || image.picture.height != height)
            return {};
        images.push_back(std::move(image));
    }
    return images;
}

TEST(MapgenTest, CommittedMapPicturesAreWhatTheGeneratorDraws) {
    for (const bool squares : {false, true}) {
        const auto path = kResources / (squares ? "PngImage_2.png" : "PngImage_1.png");
        const auto committed = ReadPng(path);
        ASSERT_TRUE(committed.has_value()) << path << " is missing or not a PNG";
        EXPECT_EQ(committed->width, kMapSize);
        EXPECT_EQ(Differences(Map(squares), *committed), "")
            << path << " is stale: rebuild it with the update_map_pictures target";
    }
}

TEST(MapgenTest, CommittedIconHoldsTheGeneratorsImagesAtEverySize) {
    const auto ico = ReadFileBytes(kResources / "Vellicot.ico");
    ASSERT_TRUE(ico.has_value());
    const std::vector<IconImage> images = ParseIco(*ico);
    ASSERT_EQ(images.size(), kIconSizes.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = kIconSizes[i];
        EXPECT_EQ(images[i].png, size == 256) << size;
        EXPECT_EQ(Differences(DrawIcon(size), images[i].picture), "") << "icon image " << size;
    }
}

TEST(MapgenTest, IconBitmapsMaskExactlyTheClearPixels) {
    Picture small{16, 16, std::vector<std::uint8_t>(16 * 16 * 4, 0)};
    for (int i = 0; i < 16 * 16; ++i) {
        const bool opaque = (i * 7) % 5 != 0;  // an irregular pattern across the mask's bytes
        small.rgba[i * 4] = static_cast<std::uint8_t>(i);
        small.rgba[i * 4 + 1] = static_cast<std::uint8_t>(255 - i);
        small.rgba[i * 4 + 2] = static_cast<std::uint8_t>(i * 3);
        small.rgba[i * 4 + 3] = opaque ? static_cast<std::uint8_t>(1 + i % 254) : 0;  // 1 at pixel 254
    }
    const Picture big = DrawIcon(256);
    const std::vector<IconImage> images = ParseIco(EncodeIco({small, big}));
    ASSERT_EQ(images.size(), 2u);
    EXPECT_FALSE(images[0].png);
    EXPECT_EQ(Differences(small, images[0].picture), "");
    for (int i = 0; i < 16 * 16; ++i)
        EXPECT_EQ(images[0].masked[i], small.rgba[i * 4 + 3] == 0) << "pixel " << i;
    EXPECT_TRUE(images[1].png);
    EXPECT_EQ(Differences(big, images[1].picture), "");
}

TEST(MapgenTest, IconsAreOpaqueInTheMiddleAndClearInTheCorners) {
    for (const int size : kIconSizes) {
        const Picture icon = DrawIcon(size);
        EXPECT_EQ(icon.At(size / 2, size / 2)[3], 255) << size;
        EXPECT_EQ(icon.At(0, 0)[3], 0) << size;
        EXPECT_EQ(icon.At(size - 1, size - 1)[3], 0) << size;
    }
}

TEST(PngCodecTest, TruncatedOrForeignDataDecodesToNothing) {
    const Bytes png = EncodePng(DrawIcon(32));
    ASSERT_TRUE(DecodePng(png.data(), png.size()).has_value());
    EXPECT_FALSE(DecodePng(png.data(), png.size() / 2).has_value());
    const Bytes text = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'};
    EXPECT_FALSE(DecodePng(text.data(), text.size()).has_value());
    EXPECT_FALSE(ReadFileBytes(kResources / "no such file.png").has_value());
}

TEST(OrchardLayoutTest, EveryCrownStandsInsideItsButtonClearOfWallPathsAndOtherCrowns) {
    for (int t = 1; t <= kTrees; ++t) {
        const Point spot = TreeSpot(t);
        const double r = CrownRadius(t);
        EXPECT_LE(r + 6, kSpotSquareSize / 2) << "tree " << t << " crown wider than its button";
        EXPECT_LE(WallOutlineDistance(spot), -(kWallThickness + r + 4))
            << "tree " << t << " touches the wall";
        EXPECT_GE(PathDistance(spot), r + 8) << "tree " << t << " stands on a path";
        for (int u = t + 1; u <= kTrees; ++u)
            EXPECT_GE(Length(TreeSpot(u) - spot), r + CrownRadius(u) + 8) << "trees " << t << ", " << u;
    }
    EXPECT_LT(PathDistance(PathCrossing()), -40);
}

TEST(OrchardLayoutTest, TreeSpotsAreTheButtonCentresOnTheStretchedMap) {
    // Tree 1's button covers (65..105, 59..99) of the window; the map's 300 pixels start at (2, 46).
    EXPECT_NEAR(TreeSpot(1).x, (85 - 2) * 800 / 300.0, 1e-9);
    EXPECT_NEAR(TreeSpot(1).y, (79 - 46) * 800 / 300.0, 1e-9);
    // Tree 11 is the lowest, tree 5 the rightmost; both must lie well inside the picture.
    EXPECT_NEAR(TreeSpot(11).y, (309 - 46) * 800 / 300.0, 1e-9);
    EXPECT_NEAR(TreeSpot(5).x, (272 - 2) * 800 / 300.0, 1e-9);
}

TEST(OrchardPictureTest, OpaqueInsideTheWallAndClearFarOutside) {
    const Picture& map = Map(false);
    int wrong = 0;
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) {
            const double d = WallOutlineDistance({x + 0.5, y + 0.5});
            const std::uint8_t alpha = map.At(x, y)[3];
            if ((d < -1 && alpha != 255) || (d > 20 && alpha != 0))
                ++wrong;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(map.At(0, 0)[3], 0);
    EXPECT_EQ(map.At(799, 799)[3], 0);
}

// Pixels of the crowns' shaded side: darker and greener than grass ever is, even in shadow.
int DarkLeafPixels(const Picture& map, Point centre, double half) {
    int count = 0;
    for (int y = static_cast<int>(centre.y - half); y < static_cast<int>(centre.y + half); ++y)
        for (int x = static_cast<int>(centre.x - half); x < static_cast<int>(centre.x + half); ++x) {
            const std::uint8_t* p = map.At(x, y);
            if (p[1] < 0x60 && p[0] < 0x40 && p[1] > p[0] && p[1] > p[2])
                ++count;
        }
    return count;
}

TEST(OrchardPictureTest, ATreeStandsOnEverySpotAndNowhereElse) {
    const Picture& map = Map(false);
    for (int t = 1; t <= kTrees; ++t)
        EXPECT_GT(DarkLeafPixels(map, TreeSpot(t), kSpotSquareSize / 2), 300) << "tree " << t;
    // Open grass between the trees: left of the crossing, and low in the middle of the top quarter.
    EXPECT_EQ(DarkLeafPixels(map, {300, 330}, 20), 0);
    EXPECT_EQ(DarkLeafPixels(map, {400, 170}, 20), 0);
}

bool InAnySquare(Point p) {
    for (int t = 1; t <= kTrees; ++t) {
        const Point s = TreeSpot(t);
        if (std::abs(p.x - s.x) < kSpotSquareSize / 2 + 2 && std::abs(p.y - s.y) < kSpotSquareSize / 2 + 2)
            return true;
    }
    return false;
}

int Brightness(const std::uint8_t* p) {
    return p[0] + p[1] + p[2];
}

TEST(OrchardPictureTest, SecondPictureLightensASquareUnderEachSpotOnly) {
    const Picture &plain = Map(false), &squared = Map(true);
    const double inside = kSpotSquareSize / 2 - 14, outside = kSpotSquareSize / 2 + 3;
    for (int t = 1; t <= kTrees; ++t) {
        const Point s = TreeSpot(t);
        for (const Point corner : {Point{-1, -1}, Point{1, -1}, Point{-1, 1}, Point{1, 1}}) {
            const Point in = s + corner * inside, out = s + corner * outside;
            const int x = static_cast<int>(in.x), y = static_cast<int>(in.y);
            EXPECT_GT(Brightness(squared.At(x, y)), Brightness(plain.At(x, y)) + 60) << "tree " << t;
            if (!InAnySquare(out)) {
                const int ox = static_cast<int>(out.x), oy = static_cast<int>(out.y);
                EXPECT_EQ(std::memcmp(squared.At(ox, oy), plain.At(ox, oy), 4), 0) << "tree " << t;
            }
        }
    }
    // Away from every square the two pictures agree pixel for pixel.
    int differing = 0;
    for (int y = 0; y < kMapSize; ++y)
        for (int x = 0; x < kMapSize; ++x)
            if (!InAnySquare({x + 0.5, y + 0.5}) && std::memcmp(squared.At(x, y), plain.At(x, y), 4) != 0)
                ++differing;
    EXPECT_EQ(differing, 0);
}

TEST(RasterTest, Pcg32GivesTheReferenceSequence) {
    // The first outputs of the PCG reference implementation seeded with (42, 54).
    Pcg32 random(42, 54);
    for (const std::uint32_t expected :
         {0xa15c02b7u, 0x7b47f409u, 0xba1d3330u, 0x83d2f293u, 0xbfa4784bu, 0xcbed606eu})
        EXPECT_EQ(random.Next(), expected);
}

TEST(RasterTest, PolynomialSineAndCosineMatchTheLibrary) {
    for (double a = -20; a <= 20; a += 0.01) {
        ASSERT_NEAR(Sin(a), std::sin(a), 1e-9) << a;
        ASSERT_NEAR(Cos(a), std::cos(a), 1e-9) << a;
    }
}

TEST(RasterTest, CanvasCompositesOverAndUnderAndKeepsClearPixelsBlack) {
    Canvas canvas(3, 1);
    canvas.Over(0, 0, Rgb(0xFF0000), 1.0);
    canvas.Over(0, 0, Rgb(0x0000FF), 0.5);  // half blue over red
    canvas.Under(1, 0, Rgb(0x00FF00), 0.5);
    canvas.Under(1, 0, Rgb(0xFF0000), 1.0);  // red behind half green fills the rest
    const Picture picture = canvas.ToPicture();
    const std::uint8_t expected[] = {128, 0, 128, 255, 128, 128, 0, 255, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(picture.rgba.data(), expected, sizeof expected), 0);
}

}  // namespace
}  // namespace vellicot::mapgen
