// The glass button's geometry and caption rules for the program's own button sizes.
#include "core/GlassGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/GlassFont.h"

namespace vellicot {
namespace {

struct Extent {
    float left, top, right, bottom;
};

// The box a figure's pieces cover: arcs by their boxes, lines by their end points.
Extent FigureExtent(const GlassFigure& figure) {
    Extent e{1e9f, 1e9f, -1e9f, -1e9f};
    auto take = [&](float x, float y) {
        e.left = std::min(e.left, x);
        e.top = std::min(e.top, y);
        e.right = std::max(e.right, x);
        e.bottom = std::max(e.bottom, y);
    };
    for (const GlassSegment& segment : figure.segments) {
        if (const auto* arc = std::get_if<GlassArc>(&segment)) {
            take(arc->box.left, arc->box.top);
            take(arc->box.left + arc->box.width, arc->box.top + arc->box.height);
        } else {
            const auto& line = std::get<GlassLine>(segment);
            take(line.from.x, line.from.y);
            take(line.to.x, line.to.y);
        }
    }
    return e;
}

// Where a piece starts and ends; an arc's ends lie on its ellipse at the start and end angles.
GlassPoint StartOf(const GlassSegment& segment) {
    if (const auto* line = std::get_if<GlassLine>(&segment))
        return line->from;
    const auto& arc = std::get<GlassArc>(segment);
    double a = arc.startAngle * M_PI / 180;
    return {static_cast<float>(arc.box.left + arc.box.width / 2 * (1 + std::cos(a))),
            static_cast<float>(arc.box.top + arc.box.height / 2 * (1 + std::sin(a)))};
}
GlassPoint EndOf(const GlassSegment& segment) {
    if (const auto* line = std::get_if<GlassLine>(&segment))
        return line->to;
    const auto& arc = std::get<GlassArc>(segment);
    double a = (arc.startAngle + arc.sweepAngle) * M_PI / 180;
    return {static_cast<float>(arc.box.left + arc.box.width / 2 * (1 + std::cos(a))),
            static_cast<float>(arc.box.top + arc.box.height / 2 * (1 + std::sin(a)))};
}

void ExpectContinuousAndClosed(const GlassFigure& figure) {
    ASSERT_FALSE(figure.segments.empty());
    for (std::size_t i = 0; i < figure.segments.size(); ++i) {
        GlassPoint end = EndOf(figure.segments[i]);
        GlassPoint next = StartOf(figure.segments[(i + 1) % figure.segments.size()]);
        EXPECT_NEAR(end.x, next.x, 1e-4) << "piece " << i;
        EXPECT_NEAR(end.y, next.y, 1e-4) << "piece " << i;
    }
}

TEST(GlassGeometryTest, TreeButtonOutlinesSpanTheirPixels) {
    // 40 x 40, radius 4: the outer border from 0 to 39, the face and inner border from 1 to 38.
    GlassFigure outer = RoundedRectFigure(0, 0, 39, 39, 4);
    Extent o = FigureExtent(outer);
    EXPECT_EQ(o.left, 0);
    EXPECT_EQ(o.top, 0);
    EXPECT_EQ(o.right, 39);
    EXPECT_EQ(o.bottom, 39);
    Extent f = FigureExtent(RoundedRectFigure(1, 1, 37, 37, 4));
    EXPECT_EQ(f.left, 1);
    EXPECT_EQ(f.top, 1);
    EXPECT_EQ(f.right, 38);
    EXPECT_EQ(f.bottom, 38);
    // The selection window's 75 x 40 face spans 1 to 73 across.
    Extent wide = FigureExtent(RoundedRectFigure(1, 1, 72, 37, 4));
    EXPECT_EQ(wide.left, 1);
    EXPECT_EQ(wide.right, 73);
}

TEST(GlassGeometryTest, RoundedRectangleIsFourCornerArcsJoinedByEdges) {
    GlassFigure figure = RoundedRectFigure(1, 1, 37, 37, 4);
    ASSERT_EQ(figure.segments.size(), 8u);
    const float starts[] = {180, 270, 0, 90};
    const GlassRect boxes[] = {{1, 1, 8, 8}, {30, 1, 8, 8}, {30, 30, 8, 8}, {1, 30, 8, 8}};
    for (int corner = 0; corner < 4; ++corner) {
        const auto* arc = std::get_if<GlassArc>(&figure.segments[corner * 2]);
        ASSERT_NE(arc, nullptr) << "corner " << corner;
        EXPECT_EQ(arc->box, boxes[corner]) << "corner " << corner;
        EXPECT_EQ(arc->startAngle, starts[corner]);
        EXPECT_EQ(arc->sweepAngle, 90);
        EXPECT_TRUE(std::holds_alternative<GlassLine>(figure.segments[corner * 2 + 1]));
    }
    EXPECT_EQ(std::get<GlassLine>(figure.segments[1]), (GlassLine{{5, 1}, {34, 1}}));
    EXPECT_EQ(std::get<GlassLine>(figure.segments[3]), (GlassLine{{38, 5}, {38, 34}}));
    EXPECT_EQ(std::get<GlassLine>(figure.segments[5]), (GlassLine{{34, 38}, {5, 38}}));
    EXPECT_EQ(std::get<GlassLine>(figure.segments[7]), (GlassLine{{1, 34}, {1, 5}}));
    ExpectContinuousAndClosed(figure);
}

TEST(GlassGeometryTest, TopRoundedRectangleHasSquareLowerCorners) {
    // The shine of a 40 x 40 button: rows 1 to 20, only its upper corners rounded.
    GlassFigure figure = TopRoundedRectFigure(1, 1, 37, 19, 4);
    ASSERT_EQ(figure.segments.size(), 6u);
    EXPECT_TRUE(std::holds_alternative<GlassArc>(figure.segments[0]));
    EXPECT_TRUE(std::holds_alternative<GlassArc>(figure.segments[2]));
    EXPECT_EQ(std::get<GlassLine>(figure.segments[3]), (GlassLine{{38, 5}, {38, 20}}));
    EXPECT_EQ(std::get<GlassLine>(figure.segments[4]), (GlassLine{{38, 20}, {1, 20}}));
    EXPECT_EQ(std::get<GlassLine>(figure.segments[5]), (GlassLine{{1, 20}, {1, 5}}));
    Extent e = FigureExtent(figure);
    EXPECT_EQ(e.top, 1);
    EXPECT_EQ(e.bottom, 20);
    ExpectContinuousAndClosed(figure);
}

TEST(GlassGeometryTest, ZeroRadiusGivesASharpRectangle) {
    GlassFigure figure = RoundedRectFigure(0, 0, 10, 6, 0);
    Extent e = FigureExtent(figure);
    EXPECT_EQ(e.right, 10);
    EXPECT_EQ(e.bottom, 6);
    EXPECT_EQ(std::get<GlassLine>(figure.segments[1]), (GlassLine{{0, 0}, {10, 0}}));
    EXPECT_EQ(std::get<GlassArc>(figure.segments[2]).box, (GlassRect{10, 0, 0, 0}));
}

TEST(GlassGeometryTest, GlowEllipseRisesFromTheFaceBottom) {
    GlassRect tree = GlowEllipseBox(40, 40);
    EXPECT_NEAR(tree.left, -11.6, 1e-4);
    EXPECT_NEAR(tree.top, -4.4, 1e-4);
    EXPECT_NEAR(tree.width, 61.2, 1e-4);
    EXPECT_NEAR(tree.height, 82.8, 1e-4);
    EXPECT_NEAR(tree.left + tree.width / 2, 19, 1e-4);
    EXPECT_NEAR(tree.top + tree.height / 2, 37, 1e-4);

    GlassRect picker = GlowEllipseBox(75, 40);
    EXPECT_NEAR(picker.left, -23.85, 1e-4);
    EXPECT_NEAR(picker.width, 120.7, 1e-4);
    EXPECT_NEAR(picker.left + picker.width / 2, 1 + 71 / 2.0, 1e-4);
    EXPECT_NEAR(picker.top + picker.height / 2, 1 + 36, 1e-4);
}

TEST(GlassGeometryTest, ShineCoversTheUpperHalfOrNothing) {
    struct Case {
        int width, height;
        bool shines;
        float hs;
    };
    const Case cases[] = {
        {40, 40, true, 19},  // rows 1 to 20
        {75, 40, true, 19},  // rows 1 to 20
        {71, 26, true, 12},  // rows 1 to 13
        {60, 44, true, 21},  //
        {50, 26, true, 12},  //
        {40, 5, true, 2},    // the smallest button with a shine
        {40, 4, false, 0},   // too low for one
        {40, 2, false, 0},   // a negative half height
        {3, 40, false, 0},   // no face width
        {4, 40, true, 19},   // one pixel of face, a zero-width gradient
    };
    for (const Case& c : cases) {
        std::optional<GlassShine> shine = ShineArea(c.width, c.height);
        ASSERT_EQ(shine.has_value(), c.shines) << c.width << " x " << c.height;
        if (!shine)
            continue;
        EXPECT_EQ(shine->outline, (GlassRect{1, 1, static_cast<float>(c.width - 3), c.hs}))
            << c.width << " x " << c.height;
        EXPECT_EQ(shine->gradient, (GlassRect{1, 1, static_cast<float>(c.width - 4), c.hs}))
            << c.width << " x " << c.height;
    }
}

// At another DPI the face is drawn at its 96-DPI size, which need not be whole: a 51 x 51 button at
// 120 DPI is a 40.8 x 40.8 one scaled by 1.25.
TEST(GlassGeometryTest, FiguresGlowAndShineTakeFractionalSizes) {
    Extent outer = FigureExtent(RoundedRectFigure(0, 0, 39.8f, 39.8f, 4));
    EXPECT_FLOAT_EQ(outer.right, 39.8f);
    EXPECT_FLOAT_EQ(outer.bottom, 39.8f);
    GlassFigure face = RoundedRectFigure(1, 1, 37.8f, 37.8f, 4);
    EXPECT_EQ(std::get<GlassArc>(face.segments[2]).box, (GlassRect{30.8f, 1, 8, 8}));
    EXPECT_EQ(std::get<GlassLine>(face.segments[3]), (GlassLine{{38.8f, 5}, {38.8f, 34.8f}}));
    ExpectContinuousAndClosed(face);
    GlassFigure shineOutline = TopRoundedRectFigure(1, 1, 37.8f, 19, 2.5f);
    EXPECT_EQ(std::get<GlassLine>(shineOutline.segments[1]), (GlassLine{{3.5f, 1}, {36.3f, 1}}));
    ExpectContinuousAndClosed(shineOutline);

    GlassRect glow = GlowEllipseBox(40.8f, 40.8f);
    EXPECT_NEAR(glow.left + glow.width / 2, 1 + 36.8 / 2, 1e-4);
    EXPECT_NEAR(glow.top + glow.height / 2, 1 + 36.8, 1e-4);
    EXPECT_NEAR(glow.width, 1.7 * 36.8, 1e-4);

    struct Case {
        float width, height;
        bool shines;
        float hs;
    };
    const Case cases[] = {
        {40.8f, 40.8f, true, 19},  // half of 37.8, rounded down, plus one
        {71, 26.4f, true, 12},     // half of 23.4
        {40, 5, true, 2},          //
        {40, 4.9f, false, 0},      // half of 1.9 rounds down to nothing
        {3.5f, 40, true, 19},      // half a pixel of face
    };
    for (const Case& c : cases) {
        std::optional<GlassShine> shine = ShineArea(c.width, c.height);
        ASSERT_EQ(shine.has_value(), c.shines) << c.width << " x " << c.height;
        if (!shine)
            continue;
        EXPECT_EQ(shine->outline, (GlassRect{1, 1, c.width - 3, c.hs})) << c.width << " x " << c.height;
        EXPECT_EQ(shine->gradient, (GlassRect{1, 1, c.width - 4, c.hs})) << c.width << " x " << c.height;
    }
}

TEST(GlassGeometryTest, CaptionInsetScalesWithTheDpi) {
    struct Case {
        int dpi, inset;
    };
    for (Case c : {Case{96, 2}, Case{120, 3}, Case{144, 3}, Case{192, 4}, Case{72, 2}}) {
        EXPECT_EQ(CaptionInset(c.dpi), c.inset) << c.dpi;
    }
    EXPECT_EQ(CaptionLayoutBox(80, 80, 192), (GlassRect{4, 0, 76, 80}));
    EXPECT_EQ(CaptionLayoutBox(50, 50, 120), (GlassRect{3, 0, 47, 50}));
}

TEST(GlassGeometryTest, CaptionBoxesAndVerticalCentring) {
    EXPECT_EQ(CaptionLayoutBox(40, 40), (GlassRect{2, 0, 38, 40}));
    EXPECT_EQ(CaptionLayoutBox(75, 40), (GlassRect{2, 0, 73, 40}));
    EXPECT_EQ(CaptionTextTop(40, 26), 7);
    EXPECT_EQ(CaptionTextTop(40, 13), 13);  // 27 / 2 truncates
    EXPECT_EQ(CaptionTextTop(26, 52), -13);
    EXPECT_EQ(CaptionTextTop(26, 53), -13);  // -27 / 2 truncates toward zero, not down
}

TEST(GlassGeometryTest, BackslashNBecomesLineFeedThenCarriageReturn) {
    EXPECT_EQ(ExpandCaptionLineBreaks(L"a\\nb\\Nc"), L"a\n\rb\n\rc");
    EXPECT_EQ(ExpandCaptionLineBreaks(L"慈悲\r\n上４"), L"慈悲\r\n上４");
    EXPECT_EQ(ExpandCaptionLineBreaks(L"\\x\\"), L"\\x\\");
    EXPECT_EQ(ExpandCaptionLineBreaks(L"\\\\n"), L"\\\n\r");
    EXPECT_EQ(ExpandCaptionLineBreaks(L""), L"");
}

TEST(GlassGeometryTest, GdiplusTextKeepsOneBreakPerLineEnd) {
    EXPECT_EQ(GdiplusCaptionText(L"タイム\r\n計測開始"), L"タイム\n計測開始");
    EXPECT_EQ(GdiplusCaptionText(L"a\n\rb"), L"a\nb");
    EXPECT_EQ(GdiplusCaptionText(L"a\r\n\r\nb"), L"a\n\nb");
    EXPECT_EQ(GdiplusCaptionText(L"a\rb\n"), L"a\rb\n");
}

TEST(GlassGeometryTest, AcceleratorIsTheCharacterAfterASingleAmpersand) {
    EXPECT_EQ(CaptionAccelerator(L"&Copy"), L'C');
    EXPECT_EQ(CaptionAccelerator(L"Save && E&xit"), L'x');
    EXPECT_EQ(CaptionAccelerator(L"Fish && Chips"), std::nullopt);
    EXPECT_EQ(CaptionAccelerator(L"trailing&"), std::nullopt);
    EXPECT_EQ(CaptionAccelerator(L"結果コピー"), std::nullopt);
}

TEST(GlassGeometryTest, ColoursConvertToArgb) {
    EXPECT_EQ(GlassArgb(127, 0xFFFFFF), 0x7FFFFFFFu);
    EXPECT_EQ(GlassArgb(173, 0xFFBD8D), 0xAD8DBDFFu);  // the glow: red 141, green 189, blue 255
    EXPECT_EQ(GlassArgb(255, 0x0000FF), 0xFFFF0000u);  // red in the low byte
    EXPECT_EQ(GlassArgb(0, 0x123456), 0x00563412u);
    EXPECT_EQ(GlassArgb(255, kSystemWindowText), 0xFF080000u);  // unresolved: drawn from its low bytes
    EXPECT_TRUE(IsSystemColour(kSystemWindowText));
    EXPECT_FALSE(IsSystemColour(0xFFFFFF));
}

TEST(GlassFontTest, PointSizeAndPixelHeightAtNinetySixDpi) {
    struct Case {
        int height, points;
    };
    for (Case c : {Case{-11, 8}, Case{-12, 9}, Case{-13, 10}, Case{-15, 11}, Case{-16, 12}, Case{-14, 11}}) {
        GlassFont font;
        font.height = c.height;
        EXPECT_EQ(font.Size(), c.points) << c.height;
    }
    for (Case c : {Case{-12, 9}, Case{-13, 10}, Case{-15, 11}, Case{-16, 12}, Case{-11, 8}}) {
        GlassFont font;
        font.SetSize(c.points);
        EXPECT_EQ(font.height, c.height) << c.points;
    }
    GlassFont font;
    EXPECT_EQ(font.family, L"Tahoma");
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(MulDivRounded(-5, 3, 2), -8);  // -7.5 rounds away from zero
    EXPECT_EQ(MulDivRounded(5, 3, -2), -8);
}

}  // namespace
}  // namespace vellicot
