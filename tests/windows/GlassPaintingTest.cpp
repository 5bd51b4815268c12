// The glass button's painting checked pixel by pixel on off-screen DCs over known backgrounds:
// the parent's picture beneath, the borders, the translucent face, the shine, the glow and the
// caption's two routes.
#include <gtest/gtest.h>

#include <algorithm>

#include "GlassTestSupport.h"
#include "platform/GdiplusObjects.h"
#include "platform/Wine.h"

namespace vellicot::test {
namespace {

constexpr COLORREF kCanvas = 0x605040;  // r 0x40, g 0x50, b 0x60
constexpr COLORREF kOuter = 0x00FF00;
constexpr COLORREF kInner = 0xFF0000;
constexpr COLORREF kWhite = 0xFFFFFF;

class GlassPaintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        MoveCursorTo({700, 700});
        parent.Create();
        button.SetOuterBorderColor(kOuter);
        button.SetInnerBorderColor(kInner);
        button.SetBackColor(kWhite);
        button.SetShowCaption(false);
        button.Create(parent.Handle(), 1, 40, 30, 40, 40);
        UpdateWindow(parent.Handle());
        Pump(20);
    }

    // The face and caption alone, drawn over a plain canvas.
    std::unique_ptr<MemoryCanvas> Face(TCustomGlassButton& b, COLORREF under = kCanvas) {
        auto canvas = std::make_unique<MemoryCanvas>(b.Width(), b.Height());
        Fill(*canvas, under);
        b.DrawButton(canvas->Dc());
        return canvas;
    }

    // The whole paint, parent picture included, as WM_PAINT would do it.
    std::unique_ptr<MemoryCanvas> FullPaint(TCustomGlassButton& b,
                                            MemoryCanvas::Words words = MemoryCanvas::Words::kWithAlpha) {
        auto canvas = std::make_unique<MemoryCanvas>(b.Width(), b.Height(), words);
        Fill(*canvas, 0x000000);
        SendMessageW(b.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->Dc()), PRF_CLIENT);
        return canvas;
    }

    // What the button shows on the screen after a paint of its own, read back from its window.
    std::unique_ptr<MemoryCanvas> OnScreen(TCustomGlassButton& b) {
        InvalidateRect(b.Handle(), nullptr, FALSE);
        UpdateWindow(b.Handle());
        auto canvas = std::make_unique<MemoryCanvas>(b.Width(), b.Height());
        WindowDC screen(b.Handle());
        BitBlt(canvas->Dc(), 0, 0, b.Width(), b.Height(), screen.Dc(), 0, 0, SRCCOPY);
        return canvas;
    }

    // The largest difference of one channel between the two pictures.
    static int LargestDifference(const MemoryCanvas& a, const MemoryCanvas& b) {
        int largest = 0;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                largest = std::max(largest, ChannelDistance(Rgb(a, x, y), Rgb(b, x, y)));
        return largest;
    }

    static bool SamePixels(const MemoryCanvas& a, const MemoryCanvas& b) {
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (Rgb(a, x, y) != Rgb(b, x, y))
                    return false;
        return true;
    }

    static int Brightness(std::uint32_t rgb) {
        return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF);
    }

    GlassTestParent parent;
    RecordingButton button;
};

TEST_F(GlassPaintingTest, BordersLieOnTheOuterAndInnerRowsAndColumns) {
    auto face = Face(button);
    for (int i : {20, 12, 27}) {
        EXPECT_LE(ChannelDistance(Rgb(*face, i, 0), ToRgb(kOuter)), 8) << "top, x " << i;
        EXPECT_LE(ChannelDistance(Rgb(*face, i, 39), ToRgb(kOuter)), 8) << "bottom, x " << i;
        EXPECT_LE(ChannelDistance(Rgb(*face, 0, i), ToRgb(kOuter)), 8) << "left, y " << i;
        EXPECT_LE(ChannelDistance(Rgb(*face, 39, i), ToRgb(kOuter)), 8) << "right, y " << i;
        EXPECT_LE(ChannelDistance(Rgb(*face, i, 1), ToRgb(kInner)), 8) << "inner top, x " << i;
        EXPECT_LE(ChannelDistance(Rgb(*face, i, 38), ToRgb(kInner)), 8) << "inner bottom, x " << i;
        EXPECT_LE(ChannelDistance(Rgb(*face, 1, i), ToRgb(kInner)), 8) << "inner left, y " << i;
        EXPECT_LE(ChannelDistance(Rgb(*face, 38, i), ToRgb(kInner)), 8) << "inner right, y " << i;
    }
    // The corners are rounded: the corner pixel keeps the canvas.
    EXPECT_EQ(Rgb(*face, 0, 0), ToRgb(kCanvas));
    EXPECT_EQ(Rgb(*face, 39, 39), ToRgb(kCanvas));
}

// At another DPI the face is the 96-DPI face scaled: every border takes s pixels where it took one,
// the rounded corners stay clear, and the face starts after 2 s pixels.
// A button whose looks are left as made, at its size as made: a white outer rim, a black inner ring
// and rounded corners, the face black at half strength over what lies beneath, its caption shown,
// and a light blue glow rising from below while it is pressed.
TEST_F(GlassPaintingTest, AButtonLeftAsMadeHasAWhiteRimABlackRingAHalfDarkFaceAndABlueGlow) {
    RecordingButton fresh;
    fresh.Create(parent.Handle(), 2, 120, 30, fresh.Width(), fresh.Height());
    const int w = fresh.Width(), h = fresh.Height();
    auto up = Face(fresh);
    for (int x : {w / 4, w / 2, 3 * w / 4}) {
        EXPECT_LE(ChannelDistance(Rgb(*up, x, 0), 0xFFFFFF), 8) << "top, x " << x;
        EXPECT_LE(ChannelDistance(Rgb(*up, x, h - 1), 0xFFFFFF), 8) << "bottom, x " << x;
        EXPECT_LE(ChannelDistance(Rgb(*up, x, 1), 0x000000), 8) << "inner top, x " << x;
        EXPECT_LE(ChannelDistance(Rgb(*up, x, h - 2), 0x000000), 8) << "inner bottom, x " << x;
    }
    EXPECT_EQ(Rgb(*up, 0, 0), ToRgb(kCanvas)) << "the rounded corner";
    EXPECT_LE(ChannelDistance(Rgb(*up, 5, h - 5), Blend(0x000000, kCanvas, 127)), 3) << "below the shine";

    fresh.SetCaption(L"上４");
    auto captioned = Face(fresh);
    EXPECT_FALSE(SamePixels(*captioned, *up)) << "the caption is shown";

    SendMessageW(fresh.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w / 2, h / 2));
    auto pressed = Face(fresh);
    SendMessageW(fresh.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-30, h / 2));
    const std::uint32_t glow = Rgb(*pressed, w / 2, h - 5), plain = Rgb(*captioned, w / 2, h - 5);
    EXPECT_GT(static_cast<int>(glow & 0xFF), static_cast<int>(plain & 0xFF) + 60) << "blue";
    EXPECT_GT(static_cast<int>((glow >> 8) & 0xFF), static_cast<int>((plain >> 8) & 0xFF) + 30) << "light";
    EXPECT_GT(static_cast<int>(glow & 0xFF), static_cast<int>((glow >> 16) & 0xFF)) << "more blue than red";
}

TEST_F(GlassPaintingTest, BordersScaleWithThePixelsPerInch) {
    struct Case {
        int dpi;
        std::vector<int> outer, inner;  // pixels from the edge wholly in that border
        int face;                       // the first pixel from the edge wholly on the face
    };
    const Case cases[] = {{192, {0, 1}, {2, 3}, 4}, {144, {0}, {2}, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const int size = 40 * c.dpi / 96;
        button.SetBounds(40, 30, size, size);
        button.SetPixelsPerInch(c.dpi);
        auto face = Face(button);
        // Across the left, right and bottom edges, below the shine and clear of the corners.
        const int along = size * 3 / 4;
        auto expectAt = [&](int depth, std::uint32_t colour, int tolerance) {
            EXPECT_LE(ChannelDistance(Rgb(*face, depth, along), colour), tolerance) << "left " << depth;
            EXPECT_LE(ChannelDistance(Rgb(*face, size - 1 - depth, along), colour), tolerance)
                << "right " << depth;
            EXPECT_LE(ChannelDistance(Rgb(*face, along, size - 1 - depth), colour), tolerance)
                << "bottom " << depth;
        };
        for (int depth : c.outer)
            expectAt(depth, ToRgb(kOuter), 8);
        for (int depth : c.inner)
            expectAt(depth, ToRgb(kInner), 8);
        expectAt(c.face, Blend(kWhite, kCanvas, 127), 3);
        EXPECT_EQ(Rgb(*face, 0, 0), ToRgb(kCanvas)) << "the rounded corner";
        EXPECT_EQ(Rgb(*face, size - 1, size - 1), ToRgb(kCanvas)) << "the rounded corner";
    }
}

TEST_F(GlassPaintingTest, FaceIsTheBackColourAtAlpha127OverWhatLiesBeneath) {
    auto face = Face(button);
    for (int y : {24, 30, 35}) {
        for (int x : {5, 20, 34}) {
            EXPECT_LE(ChannelDistance(Rgb(*face, x, y), Blend(kWhite, kCanvas, 127)), 3) << x << ", " << y;
        }
    }
    // A system colour as back colour is not resolved: it is drawn from its low bytes, nearly black.
    button.SetBackColor(SystemColour(COLOR_WINDOW));
    auto unresolved = Face(button);
    EXPECT_LE(ChannelDistance(Rgb(*unresolved, 20, 30), Blend(COLOR_WINDOW, kCanvas, 127)), 3);
    // The borders resolve theirs.
    button.SetOuterBorderColor(SystemColour(COLOR_WINDOW));
    auto resolved = Face(button);
    EXPECT_LE(ChannelDistance(Rgb(*resolved, 20, 0), ToRgb(GetSysColor(COLOR_WINDOW))), 8);
}

TEST_F(GlassPaintingTest, ShineBrightensTheUpperHalfFadingDownward) {
    button.SetBackColor(0x000000);
    auto face = Face(button);
    std::uint32_t plain = Blend(0x000000, kCanvas, 127);
    EXPECT_LE(ChannelDistance(Rgb(*face, 20, 26), plain), 3) << "below the shine";
    int previous = 3 * 255;
    for (int y = 3; y <= 19; ++y) {
        int brightness = Brightness(Rgb(*face, 20, y));
        EXPECT_GT(brightness, Brightness(plain) + 40) << "row " << y;
        EXPECT_LE(brightness, previous + 3) << "row " << y;
        previous = brightness;
    }
    // White at alpha 153 at the top of the band, 51 at its bottom (rows 1 to 20).
    COLORREF plainColour = RGB((plain >> 16) & 0xFF, (plain >> 8) & 0xFF, plain & 0xFF);
    auto expected = [&](int y) {
        double alpha = 153 - 102.0 * (y - 1) / 19;
        return Blend(kWhite, plainColour, static_cast<int>(alpha + 0.5));
    };
    for (int y : {4, 10, 16})
        EXPECT_LE(ChannelDistance(Rgb(*face, 20, y), expected(y)), 10) << "row " << y;

    // A 4-pixel-high button has no shine; a 5-pixel-high one has.
    TGlassButton low;
    low.SetBounds(0, 0, 40, 4);
    low.SetBackColor(0x000000);
    low.SetOuterBorderColor(0x000000);
    low.SetInnerBorderColor(0x000000);
    low.SetShowCaption(false);
    auto flat = Face(low, 0x000000);
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 4; ++y)
            EXPECT_EQ(Rgb(*flat, x, y), 0u) << x << ", " << y;
    low.SetBounds(0, 0, 40, 5);
    auto shiny = Face(low, 0x000000);
    int lit = 0;
    for (int x = 0; x < 40; ++x)
        lit += Brightness(Rgb(*shiny, x, 2)) > 0;
    EXPECT_GT(lit, 20);
}

TEST_F(GlassPaintingTest, GlowShowsOnlyWhilePressed) {
    button.SetBackColor(0x000000);
    auto up = Face(button);
    SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ASSERT_TRUE(button.MouseDownInControl());
    auto pressed = Face(button);
    // The glow rises from the bottom middle: strongly blue there, weaker higher up.
    std::uint32_t low = Rgb(*pressed, 20, 34), lowUp = Rgb(*up, 20, 34);
    EXPECT_GT(static_cast<int>(low & 0xFF), static_cast<int>(lowUp & 0xFF) + 60);
    int gainLow = Brightness(low) - Brightness(lowUp);
    int gainHigh = Brightness(Rgb(*pressed, 20, 24)) - Brightness(Rgb(*up, 20, 24));
    EXPECT_GT(gainLow, gainHigh);
    EXPECT_EQ(Rgb(*pressed, 0, 0), Rgb(*up, 0, 0)) << "clipped to the face";
    // Dragged outside the glow stays until the release.
    SendMessageW(button.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-30, 20));
    ASSERT_EQ(button.State(), TGlassButtonState::gbsUp);
    EXPECT_TRUE(SamePixels(*Face(button), *pressed));
    SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-30, 20));
    EXPECT_TRUE(SamePixels(*Face(button), *up)) << "gone after the release";
    EXPECT_EQ(button.Count("click"), 0);
}

TEST_F(GlassPaintingTest, HoverAndForeColourChangeNothingOnTheFace) {
    button.SetShowCaption(true);
    button.SetCaption(L"上４");
    auto before = FullPaint(button);
    MoveCursorTo(ScreenCentreOf(button.Handle()));
    ASSERT_TRUE(button.MouseInControl());
    EXPECT_TRUE(SamePixels(*FullPaint(button), *before));
    button.SetForeColor(0x0000FF);
    EXPECT_TRUE(SamePixels(*FullPaint(button), *before));
}

// On the screen a paint is kept with the picture it was drawn over: the same look over the same
// picture is shown again from it, and over a changed picture it is drawn again, as printing draws it
// (into a canvas GDI+ draws on as on a window).
TEST_F(GlassPaintingTest, AKeptPaintIsShownOnlyOverThePictureItWasDrawnOver) {
    button.SetShowCaption(true);
    button.SetCaption(L"上４");
    auto printed = [&] { return FullPaint(button, MemoryCanvas::Words::kAsDevice); };
    for (COLORREF marker : {0x00A0FFu, 0x2040C0u, 0x00A0FFu}) {
        SCOPED_TRACE(marker);
        parent.marker = marker;
        auto drawn = OnScreen(button);
        auto kept = OnScreen(button);
        EXPECT_TRUE(SamePixels(*drawn, *printed())) << "drawn over the changed picture";
        EXPECT_TRUE(SamePixels(*kept, *printed())) << "shown again from the kept paint";
    }
    // The caption's look counts as well.
    button.SetFontColor(0x0000FF);
    EXPECT_TRUE(SamePixels(*OnScreen(button), *printed()));
}

// A look painted a second time is composed from layers drawn once, by that button and by any other
// of the look: over any background, and on both kinds of canvas GDI+ tells apart, it shows what
// drawing the face shows.
TEST_F(GlassPaintingTest, ALookPaintedAgainIsComposedFromLayersThatLookAsDrawn) {
    struct Pressable : TGlassButton {
        void Press() { FState = TGlassButtonState::gbsDown; }
        // As the first paint of a look draws it.
        void DrawStraight(HDC canvas) {
            OwnedGraphics graphics = MakeGraphics(canvas);
            GF::GdipSetSmoothingMode(graphics.get(), Gdiplus::SmoothingModeAntiAlias);
            DrawGlass(graphics.get());
        }
    };
    for (auto words : {MemoryCanvas::Words::kWithAlpha, MemoryCanvas::Words::kAsDevice}) {
        for (bool pressed : {false, true}) {
            for (COLORREF back : {kWhite, COLORREF{0x9314FF}}) {
                SCOPED_TRACE(testing::Message()
                             << "device words " << (words == MemoryCanvas::Words::kAsDevice) << ", pressed "
                             << pressed << ", back " << back);
                auto look = [&](Pressable& b) {
                    b.SetShowCaption(false);
                    b.SetBackColor(back);
                    b.SetOuterBorderColor(kOuter);
                    b.SetInnerBorderColor(kInner);
                    b.SetBounds(0, 0, 40, 40);
                    if (pressed)
                        b.Press();
                };
                auto paint = [&](Pressable& b, COLORREF under, bool straight = false) {
                    auto canvas = std::make_unique<MemoryCanvas>(40, 40, words);
                    Fill(*canvas, under);
                    straight ? b.DrawStraight(canvas->Dc()) : b.DrawButton(canvas->Dc());
                    return canvas;
                };
                Pressable layered;
                look(layered);
                paint(layered, kCanvas);  // the first paint of the look draws it
                for (COLORREF under : {kCanvas, COLORREF{0xFFFFFF}, COLORREF{0x000000}, COLORREF{0x3080E0}}) {
                    Pressable other;
                    look(other);
                    const auto drawn = paint(other, under, true);
                    EXPECT_LE(LargestDifference(*paint(layered, under), *drawn), 2) << under;
                    EXPECT_LE(LargestDifference(*paint(other, under), *drawn), 2)
                        << "another button, " << under;
                }
            }
        }
    }
}

// Printed into a DC and painted on the screen alike: the parent's erase and paint, in that order, on
// the button's own DC with the window origin moved by the button's place.
TEST_F(GlassPaintingTest, ParentPaintsBeneathThroughTheHandedOverDc) {
    auto expectHandedInOrder = [&](HDC dc) {
        ASSERT_EQ(parent.handed.size(), 2u);
        EXPECT_EQ(parent.handed[0].message, static_cast<UINT>(WM_ERASEBKGND));
        EXPECT_EQ(parent.handed[1].message, static_cast<UINT>(WM_PAINT));
        for (const auto& handed : parent.handed) {
            if (dc != nullptr) {
                EXPECT_EQ(handed.dc, dc);
            }
            EXPECT_EQ(handed.origin.x, 40);
            EXPECT_EQ(handed.origin.y, 30);
        }
    };

    parent.handed.clear();
    auto canvas = FullPaint(button);
    expectHandedInOrder(canvas->Dc());
    POINT origin{-1, -1};
    GetWindowOrgEx(canvas->Dc(), &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    UniqueRegion clip(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetClipRgn(canvas->Dc(), clip.get()), 0) << "no clip region is left behind";
    // The marker square at parent (50..70, 40..60) lies at button (10..30, 10..30).
    EXPECT_LE(ChannelDistance(Rgb(*canvas, 20, 28), Blend(kWhite, parent.marker, 127)), 3);
    EXPECT_LE(ChannelDistance(Rgb(*canvas, 34, 33), Blend(kWhite, GlassTestParent::kBackground, 127)), 3);
    EXPECT_EQ(Rgb(*canvas, 0, 0), ToRgb(GlassTestParent::kBackground)) << "the corner shows the parent";

    parent.handed.clear();
    InvalidateRect(button.Handle(), nullptr, TRUE);
    UpdateWindow(button.Handle());
    expectHandedInOrder(nullptr);
    EXPECT_EQ(ScreenPixel({GlassTestParent::kScreenLeft + 40, GlassTestParent::kScreenTop + 30}),
              GlassTestParent::kBackground)
        << "the corner on the screen shows the parent";
}

TEST_F(GlassPaintingTest, ForceTransparentShowsAnOverlappingSiblingBeneath) {
    TGlassButton red;
    red.SetBackColor(0x0000FF);
    red.SetShowCaption(false);
    red.Create(parent.Handle(), 2, 60, 50, 40, 40);  // overlaps button (40..80, 30..70) at 60..80, 50..70

    auto opaque = FullPaint(button);
    button.SetForceTransparent(true);
    auto seeThrough = FullPaint(button);
    // At button (30, 30) = sibling (10, 10): the sibling's red face now lies beneath.
    std::uint32_t with = Rgb(*seeThrough, 30, 30), without = Rgb(*opaque, 30, 30);
    EXPECT_GT(static_cast<int>((with >> 16) & 0xFF), static_cast<int>((without >> 16) & 0xFF) + 30);
    EXPECT_EQ(Rgb(*seeThrough, 10, 10), Rgb(*opaque, 10, 10)) << "outside the overlap nothing changes";
    // The sibling's outer border crosses the overlap at its own row 0, button row 20.
    EXPECT_LE(ChannelDistance(Rgb(*seeThrough, 30, 20), Blend(kWhite, 0xFFFFFF, 127)), 40);

    // The sibling painting itself sees this one too, whichever lies above: this button's blue inner
    // border runs down its column 38, the sibling's column 18.
    auto redOpaque = FullPaint(red);
    red.SetForceTransparent(true);
    auto redSeeThrough = FullPaint(red);
    EXPECT_GT(static_cast<int>(Rgb(*redSeeThrough, 18, 12) & 0xFF),
              static_cast<int>(Rgb(*redOpaque, 18, 12) & 0xFF) + 30);
    EXPECT_EQ(Rgb(*redSeeThrough, 30, 30), Rgb(*redOpaque, 30, 30));
}

// The overlapping siblings beneath are those of the moment: one made, moved, hidden or destroyed
// since the last paint shows, or stops showing, at the next.
TEST_F(GlassPaintingTest, ForceTransparentFollowsSiblingsMadeMovedHiddenAndDestroyed) {
    button.SetForceTransparent(true);
    auto alone = FullPaint(button);
    {
        TGlassButton red;
        red.SetBackColor(0x0000FF);
        red.SetShowCaption(false);
        red.Create(parent.Handle(), 2, 60, 50, 40, 40);
        auto over = FullPaint(button);
        EXPECT_FALSE(SamePixels(*over, *alone)) << "made";
        red.SetBounds(200, 120, 40, 40);
        EXPECT_TRUE(SamePixels(*FullPaint(button), *alone)) << "moved away";
        red.SetBounds(60, 50, 40, 40);
        EXPECT_TRUE(SamePixels(*FullPaint(button), *over)) << "moved back";
        ShowWindow(red.Handle(), SW_HIDE);
        EXPECT_TRUE(SamePixels(*FullPaint(button), *alone)) << "hidden";
        ShowWindow(red.Handle(), SW_SHOW);
        EXPECT_TRUE(SamePixels(*FullPaint(button), *over)) << "shown";
    }
    EXPECT_TRUE(SamePixels(*FullPaint(button), *alone)) << "destroyed";
}

// A plain child window of the test parent that is no glass button.
class PlainChild : public Window {
public:
    void Create(HWND parent, int left, int top, int width, int height) {
        RegisterWindowClass(L"GlassTestPlainChild");
        CreateHandle(0, L"GlassTestPlainChild", L"", WS_CHILD | WS_VISIBLE, left, top, width, height, parent,
                     nullptr);
    }
};

// A glass button deleted through its object while its siblings live: its memory may hold another
// object at once, here another window over the same place, and a sibling's next paint must not
// take that object for the deleted button.
TEST_F(GlassPaintingTest, ASiblingDeletedThroughItsObjectIsGoneFromTheNextPaint) {
    button.SetForceTransparent(true);
    auto alone = FullPaint(button);

    alignas(TGlassButton) unsigned char storage[sizeof(TGlassButton)];
    auto* red = new (storage) TGlassButton;
    red->SetBackColor(0x0000FF);
    red->SetShowCaption(false);
    red->Create(parent.Handle(), 2, 60, 50, 40, 40);
    EXPECT_FALSE(SamePixels(*FullPaint(button), *alone)) << "the sibling shows beneath";
    red->~TGlassButton();

    static_assert(sizeof(PlainChild) <= sizeof storage);
    auto* plain = new (storage) PlainChild;
    plain->Create(parent.Handle(), 60, 50, 40, 40);
    EXPECT_TRUE(SamePixels(*FullPaint(button), *alone)) << "only glass siblings show beneath";
    plain->~PlainChild();
}

class GlassCaptionTest : public GlassPaintingTest {
protected:
    void SetUp() override {
        GlassPaintingTest::SetUp();
        GlassFont font;
        font.family = L"Tahoma";
        font.height = -27;
        font.bold = true;
        font.colour = 0x000000;
        button.SetFont(font);
        button.SetBackColor(kWhite);
        button.SetOuterBorderColor(kWhite);
        button.SetInnerBorderColor(kWhite);
        button.SetShowCaption(true);
        button.SetCaption(L"■");
        button.SetBounds(40, 30, 75, 60);
    }

    // The darkest channel value inside the face.
    static int Darkest(const MemoryCanvas& canvas) {
        int darkest = 255;
        for (int y = 3; y < canvas.Height() - 3; ++y)
            for (int x = 3; x < canvas.Width() - 3; ++x) {
                std::uint32_t p = Rgb(canvas, x, y);
                darkest = std::min({darkest, static_cast<int>(p & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                                    static_cast<int>((p >> 16) & 0xFF)});
            }
        return darkest;
    }

    struct Ink {
        int top = 1000, bottom = -1, left = 1000, right = -1;
        std::vector<bool> rows;
    };
    static Ink InkOf(const MemoryCanvas& canvas) {
        Ink ink;
        ink.rows.assign(canvas.Height(), false);
        for (int y = 2; y < canvas.Height() - 2; ++y)
            for (int x = 2; x < canvas.Width() - 2; ++x)
                if ((Rgb(canvas, x, y) & 0xFF) < 160) {
                    ink.rows[y] = true;
                    ink.top = std::min(ink.top, y);
                    ink.bottom = std::max(ink.bottom, y);
                    ink.left = std::min(ink.left, x);
                    ink.right = std::max(ink.right, x);
                }
        return ink;
    }
};

TEST_F(GlassCaptionTest, DisabledKeepsTheFaceAndGreysTheCaptionOnTheGdiplusRouteOnly) {
    button.SetShowCaption(false);
    auto enabledFace = Face(button);
    button.SetEnabled(false);
    UpdateWindow(button.Handle());
    ASSERT_EQ(button.State(), TGlassButtonState::gbsDisabled);
    EXPECT_TRUE(SamePixels(*Face(button), *enabledFace)) << "the same face";
    button.SetShowCaption(true);

    // A TrueType family: a Japanese font with PostScript outlines standing in for Tahoma under Wine
    // is reported as a device font, so its captions take the GDI route.
    GlassFont trueType = button.Font();
    trueType.family = L"IPAPGothic";
    button.SetFont(trueType);
    for (TAntiAlias route : {TAntiAlias::aaAntiAlias, TAntiAlias::aaClearType}) {
        button.SetAntiAlias(route);
        button.SetEnabled(true);
        EXPECT_LT(Darkest(*Face(button, kWhite)), 40);
        button.SetEnabled(false);
        int darkest = Darkest(*Face(button, kWhite));
        EXPECT_NEAR(darkest, 0x80, 12) << "grey 0x808080";
    }
    // Without anti-aliasing the caption goes through GDI and keeps the font's colour.
    button.SetAntiAlias(TAntiAlias::aaNone);
    EXPECT_LT(Darkest(*Face(button, kWhite)), 40);
    // So does a family that is not installed, whatever the anti-aliasing, where the platform draws
    // it in a font of its own; under Wine the caption is drawn in the program's stand-in, which greys.
    button.SetAntiAlias(TAntiAlias::aaAntiAlias);
    GlassFont missing = button.Font();
    missing.family = L"No Such Font Family";
    button.SetFont(missing);
    if (RunsUnderWine())
        EXPECT_NEAR(Darkest(*Face(button, kWhite)), 0x80, 12) << "grey 0x808080";
    else
        EXPECT_LT(Darkest(*Face(button, kWhite)), 40);
}

// The caption keeps its size in points on the GDI+ route and its height in pixels on the GDI route,
// both given at 96 DPI: at 192 DPI a square glyph is twice as wide and high, in the same place on a
// button twice the size.
TEST_F(GlassCaptionTest, CaptionScalesWithThePixelsPerInchOnBothRoutes) {
    for (TAntiAlias route : {TAntiAlias::aaAntiAlias, TAntiAlias::aaNone}) {
        SCOPED_TRACE(route == TAntiAlias::aaNone ? "GDI" : "GDI+");
        button.SetAntiAlias(route);
        button.SetPixelsPerInch(96);
        button.SetBounds(40, 30, 75, 60);
        Ink small = InkOf(*Face(button, kWhite));
        button.SetPixelsPerInch(192);
        button.SetBounds(40, 30, 150, 120);
        Ink large = InkOf(*Face(button, kWhite));
        ASSERT_GE(small.bottom, 0) << "no caption drawn";
        EXPECT_NEAR(large.right - large.left, 2 * (small.right - small.left), 3);
        EXPECT_NEAR(large.bottom - large.top, 2 * (small.bottom - small.top), 3);
        EXPECT_NEAR(large.left + large.right, 2 * (small.left + small.right), 4) << "centred alike";
        EXPECT_NEAR(large.top + large.bottom, 2 * (small.top + small.bottom), 4) << "centred alike";
    }
}

// A caption whose family lacks its characters still shows them, on both routes: real glyphs differ
// from character to character where missing-glyph boxes look alike, and differ from the box that a
// character no font has is drawn as.
TEST_F(GlassCaptionTest, CharactersTheFamilyLacksShowAsRealGlyphs) {
    auto captionPixels = [&](const wchar_t* caption) {
        button.SetCaption(caption);
        auto face = Face(button, kWhite);
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < face->Height(); ++y)
            for (int x = 0; x < face->Width(); ++x)
                pixels.push_back(Rgb(*face, x, y));
        return pixels;
    };
    GlassFont font = button.Font();
    font.height = -16;
    for (const wchar_t* family : {L"No Such Font", L"DejaVu Sans"}) {
        font.family = family;
        button.SetFont(font);
        for (TAntiAlias route : {TAntiAlias::aaAntiAlias, TAntiAlias::aaNone}) {
            SCOPED_TRACE(testing::Message() << family << (route == TAntiAlias::aaNone ? " GDI" : " GDI+"));
            button.SetAntiAlias(route);
            auto up = captionPixels(L"上４");
            EXPECT_TRUE(up != captionPixels(L"右４")) << "上 and 右 look alike";
            EXPECT_TRUE(up != captionPixels(L"上３")) << "４ and ３ look alike";
            EXPECT_TRUE(up != captionPixels(L"\u0378４")) << "上 looks like a missing glyph";
        }
    }
}

// Paints in every state leave no GDI handle and no GDI+ object behind: up, pressed and disabled,
// the caption by GDI+ and by GDI, over an overlapping sibling that is drawn beneath, into a
// handed DC and on the screen.
TEST_F(GlassCaptionTest, PaintsFreeEveryGdiAndGdiplusObject) {
    button.SetForceTransparent(true);
    RecordingButton neighbour;
    neighbour.SetCaption(L"下１");
    neighbour.Create(parent.Handle(), 3, 60, 50, 40, 40);
    Pump(20);
    MemoryCanvas canvas(75, 60);
    enum class Pose { Up, Pressed, Disabled };
    auto paintEveryState = [&] {
        for (Pose pose : {Pose::Up, Pose::Pressed, Pose::Disabled}) {
            for (TAntiAlias route : {TAntiAlias::aaClearType, TAntiAlias::aaNone}) {
                button.SetAntiAlias(route);
                button.SetEnabled(pose != Pose::Disabled);
                if (pose == Pose::Pressed)
                    SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
                SendMessageW(button.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()),
                             PRF_CLIENT);
                InvalidateRect(button.Handle(), nullptr, TRUE);
                UpdateWindow(button.Handle());
                if (pose == Pose::Pressed)
                    SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-30, 20));
            }
        }
    };
    int neighbourDraws = neighbour.draws;
    paintEveryState();  // first use: the installed font list and the font caches
    ASSERT_EQ(button.Count("down"), 2) << "the pressed poses were pressed";
    ASSERT_GE(neighbour.draws - neighbourDraws, 12) << "every paint drew the overlapping sibling beneath";

    std::ptrdiff_t alive = LiveGdiplusObjects();
    {
        OwnedGraphics held = MakeGraphics(canvas.Dc());
        ASSERT_EQ(LiveGdiplusObjects(), alive + 1) << "the count sees an object while it lives";
    }
    ASSERT_EQ(LiveGdiplusObjects(), alive);
    // A freed GDI object's handle slot is taken again by the next new one, so a burst of new objects
    // reaches further up the handle table afterwards only when the paints in between leaked.
    auto highestSlotOfBurst = [] {
        std::vector<HBRUSH> brushes;
        std::uintptr_t highest = 0;
        for (int i = 0; i < 3000; ++i) {
            brushes.push_back(CreateSolidBrush(0));
            highest = std::max(highest, reinterpret_cast<std::uintptr_t>(brushes.back()) & 0xFFFF);
        }
        for (HBRUSH brush : brushes)
            DeleteObject(brush);
        return highest;
    };
    std::uintptr_t before = highestSlotOfBurst();
    for (int i = 0; i < 20; ++i)
        paintEveryState();
    EXPECT_EQ(LiveGdiplusObjects(), alive) << "GDI+ objects left alive";
    EXPECT_LE(highestSlotOfBurst(), before) << "GDI handles left behind";
}

TEST_F(GlassCaptionTest, NoCaptionOrShowCaptionOffDrawsTheFaceOnly) {
    auto withCaption = Face(button, kWhite);
    button.SetShowCaption(false);
    auto hidden = Face(button, kWhite);
    EXPECT_FALSE(SamePixels(*withCaption, *hidden));
    button.SetShowCaption(true);
    button.SetCaption(L"");
    EXPECT_TRUE(SamePixels(*Face(button, kWhite), *hidden));
}

TEST_F(GlassCaptionTest, TwoLinesAreEachCentredAndCentredTogether) {
    GlassFont font = button.Font();
    font.height = -16;
    button.SetFont(font);
    for (TAntiAlias route : {TAntiAlias::aaAntiAlias, TAntiAlias::aaNone}) {
        SCOPED_TRACE(route == TAntiAlias::aaNone ? "GDI" : "GDI+");
        button.SetAntiAlias(route);
        for (const wchar_t* caption : {L"■\r\n■", L"■\\n■"}) {
            button.SetCaption(caption);
            Ink ink = InkOf(*Face(button, kWhite));
            ASSERT_GE(ink.bottom, 0) << "no caption drawn";
            int bands = 0;
            for (int y = 1; y < 60; ++y)
                bands += ink.rows[y] && !ink.rows[y - 1];
            EXPECT_EQ(bands, 2);
            // The caption box runs from x 2 to the right edge, so its middle is one pixel right of the
            // button's.
            EXPECT_NEAR((ink.left + ink.right) / 2.0, (2 + 75) / 2.0, 2.0);
            EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 30, 3.0);
        }
    }
}

}  // namespace
}  // namespace vellicot::test
