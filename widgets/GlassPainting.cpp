// The glass button's painting: the parent's content beneath, overlapping sibling glass buttons,
// the glossy face drawn with GDI+ and the caption by GDI+ or GDI.
#include <algorithm>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

#include "platform/GdiplusObjects.h"
#include "platform/Handles.h"
#include "widgets/GlassButton.h"
#include "widgets/GlassCaptionFont.h"

namespace vellicot {
namespace {

constexpr auto kSmoothingAntiAlias = Gdiplus::SmoothingModeAntiAlias;  // mode 4
constexpr Gdiplus::ARGB kDisabledCaptionArgb = 0xFF808080;
constexpr std::uint8_t kFaceAlpha = 127;
constexpr std::uint8_t kGlowCentreAlpha = 173;
constexpr std::uint8_t kShineTopAlpha = 153;
constexpr std::uint8_t kShineBottomAlpha = 51;

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

COLORREF ResolvedColour(std::uint32_t colour) {
    return IsSystemColour(colour) ? GetSysColor(static_cast<int>(colour & 0xFF)) : colour;
}

// The opaque colour of a border or caption: system colours resolved first.
Gdiplus::ARGB OpaqueArgb(std::uint32_t colour) {
    return GlassArgb(255, ResolvedColour(colour));
}

// The figure as one closed path with the alternate fill mode.
OwnedPath MakeFigurePath(const GlassFigure& figure) {
    OwnedPath path = MakePath(Gdiplus::FillModeAlternate);
    if (!path)
        return path;
    for (const GlassSegment& segment : figure.segments) {
        std::visit(Overloaded{
                       [&](const GlassArc& a) {
                           GF::GdipAddPathArc(path.get(), a.box.left, a.box.top, a.box.width, a.box.height,
                                              a.startAngle, a.sweepAngle);
                       },
                       [&](const GlassLine& l) {
                           GF::GdipAddPathLine(path.get(), l.from.x, l.from.y, l.to.x, l.to.y);
                       },
                   },
                   segment);
    }
    GF::GdipClosePathFigure(path.get());
    return path;
}

void DrawOutline(Gdiplus::GpGraphics* graphics, Gdiplus::GpPath* path, std::uint32_t colour) {
    OwnedPen pen = MakePen(OpaqueArgb(colour), 1.0f);
    if (pen && path)
        GF::GdipDrawPath(graphics, pen.get(), path);
}

// Whether GDI+ takes the canvas for 32-bit words with alpha: a DIB of plain 32-bit pixels selected
// into a memory DC. Wine's GDI+ draws on such a canvas in software, and on any other as GDI would,
// which strokes some corner pixels differently, so a face's layers are drawn for one kind or the other.
bool IsAlphaCanvas(HDC canvas) {
    HGDIOBJ bitmap = GetCurrentObject(canvas, OBJ_BITMAP);
    DIBSECTION dib{};
    return bitmap != nullptr && GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib &&
           dib.dsBmih.biBitCount == 32 && dib.dsBmih.biCompression == BI_RGB;
}

// The premultiplied pixel that, composed over any colour, gives what drawing over it gave, from what
// the drawing gave over black (the premultiplied colour) and over white (the colour plus the part
// of white that shows through). The alpha is the smallest the three channels allow.
std::uint32_t PremultipliedFromBlackAndWhite(std::uint32_t overBlack, std::uint32_t overWhite) {
    int showing = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int k = static_cast<int>((overBlack >> shift) & 0xFF);
        int w = static_cast<int>((overWhite >> shift) & 0xFF);
        showing = std::max(showing, w - k);
    }
    const std::uint32_t alpha = static_cast<std::uint32_t>(255 - showing);
    std::uint32_t pixel = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8)
        pixel |= std::min((overBlack >> shift) & 0xFF, alpha) << shift;
    return pixel;
}

// Layers of width x height drawn by draw(canvas, layer) for a canvas of the target's kind, stacked
// from the top of one premultiplied canvas. Each is drawn once over black and once over white: over
// black a pixel is the premultiplied colour itself, and white shows through by one minus the alpha.
// Where at most one translucent thing is drawn at a pixel (an opaque one may lie beneath or above
// it), the layer is exactly what one blend would lay down. None when a canvas cannot be had.
std::unique_ptr<MemoryCanvas> DrawLayers(int width, int height, int layers, bool alphaCanvas,
                                         const std::function<bool(HDC, int)>& draw) {
    auto picture = std::make_unique<MemoryCanvas>(width, height * layers);
    const auto words = alphaCanvas ? MemoryCanvas::Words::kWithAlpha : MemoryCanvas::Words::kAsDevice;
    MemoryCanvas overBlack(width, height, words);
    MemoryCanvas overWhite(width, height, words);
    if (picture->Pixels() == nullptr || overBlack.Pixels() == nullptr || overWhite.Pixels() == nullptr)
        return nullptr;
    const int count = width * height;
    for (int layer = 0; layer < layers; ++layer) {
        std::fill_n(overBlack.Pixels(), count, 0x000000u);
        std::fill_n(overWhite.Pixels(), count, 0xFFFFFFu);
        if (!draw(overBlack.Dc(), layer) || !draw(overWhite.Dc(), layer))
            return nullptr;
        GdiFlush();
        std::uint32_t* out = picture->Pixels() + layer * count;
        for (int i = 0; i < count; ++i)
            out[i] = PremultipliedFromBlackAndWhite(overBlack.Pixels()[i], overWhite.Pixels()[i]);
    }
    return picture;
}

// Lays the stacked layers over the canvas in order.
void ComposeLayers(HDC canvas, const MemoryCanvas& picture, int width, int height, int layers) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (int layer = 0; layer < layers; ++layer)
        GdiAlphaBlend(canvas, 0, 0, width, height, picture.Dc(), 0, layer * height, width, height, blend);
}

}  // namespace

// On the screen the button is painted into its buffer and copied at once, so that a paint whose look
// and background are a kept paint's costs two copies (see DrawButton).
void TCustomGlassButton::OnPaintMessage() {
    PaintScope paint(Handle());
    if (FWidth > 0 && FHeight > 0 &&
        (!FBuffer || FBuffer->Width() != FWidth || FBuffer->Height() != FHeight)) {
        FBuffer = std::make_unique<MemoryCanvas>(FWidth, FHeight, MemoryCanvas::Words::kAsDevice);
        FPaints.Clear();
    }
    if (FWidth <= 0 || FHeight <= 0 || FBuffer->Pixels() == nullptr) {
        Paint(paint.Dc());  // no buffer to be had: straight onto the window
        return;
    }
    Paint(FBuffer->Dc());
    BitBlt(paint.Dc(), 0, 0, FWidth, FHeight, FBuffer->Dc(), 0, 0, SRCCOPY);
}

void TCustomGlassButton::Paint(HDC canvas) {
    if (!FEnabled) {
        FState = TGlassButtonState::gbsDisabled;
        FDragging = false;
    } else if (FState == TGlassButtonState::gbsDisabled) {
        FState = TGlassButtonState::gbsUp;
    }
    PaintParentBackground(canvas);
    if (FForceTransparent && GetParent(Handle()) != nullptr)
        PaintOverlappingSiblings(canvas);
    DrawButton(canvas);
    if (FShowFocusRect && FActive) {
        const int inset = ScaleToDpi(3, FPixelsPerInch);
        RECT focus{inset, inset, FWidth - inset, FHeight - inset};
        DrawFocusRect(canvas, &focus);
    }
}

void TCustomGlassButton::PaintParentBackground(HDC canvas) {
    HWND parent = GetParent(Handle());
    if (parent == nullptr)
        return;
    // Clipped to the button first, then saved: the restore puts the origin back before the clip goes.
    ClipScope clip(canvas, RECT{0, 0, FWidth, FHeight});
    SavedDC saved(canvas);
    // The place in the parent is kept from the last move; asking the platform for it takes two
    // round trips to the window server under Wine.
    POINT origin{FLeft, FTop};
    if (FPlacedIn != parent) {
        origin = {0, 0};
        ClientToScreen(Handle(), &origin);
        ScreenToClient(parent, &origin);
    }
    POINT old{};
    GetWindowOrgEx(canvas, &old);
    SetWindowOrgEx(canvas, old.x + origin.x, old.y + origin.y, nullptr);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas), 0);
    SendMessageW(parent, WM_PAINT, reinterpret_cast<WPARAM>(canvas), 0);
}

// Listed again only after a glass button was made, destroyed, moved or restacked: asking the
// platform for each child in turn takes a round trip to the window server per child under Wine.
const std::vector<TCustomGlassButton*>& TCustomGlassButton::GlassSiblings() {
    HWND parent = GetParent(Handle());
    if (FSiblingsListed == FGlassLayout && FSiblingsParent == parent)
        return FGlassSiblings;
    FGlassSiblings.clear();
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        auto* sibling = dynamic_cast<TCustomGlassButton*>(WindowFromHandle(child));
        if (sibling != nullptr && sibling != this)
            FGlassSiblings.push_back(sibling);
    }
    FSiblingsListed = FGlassLayout;
    FSiblingsParent = parent;
    return FGlassSiblings;
}

void TCustomGlassButton::PaintOverlappingSiblings(HDC canvas) {
    RECT mine{};
    GetWindowRect(Handle(), &mine);
    // Rectangles on the screen meet where they meet in the parent.
    for (TCustomGlassButton* sibling : GlassSiblings()) {
        HWND child = sibling->Handle();
        RECT theirs{};
        RECT overlap{};
        if (child == nullptr || !GetWindowRect(child, &theirs) || !IntersectRect(&overlap, &mine, &theirs) ||
            !IsWindowVisible(child))
            continue;
        int width = overlap.right - overlap.left;
        int height = overlap.bottom - overlap.top;
        MemoryCanvas bitmap(sibling->FWidth, sibling->FHeight);
        BitBlt(bitmap.Dc(), overlap.left - theirs.left, overlap.top - theirs.top, width, height, canvas,
               overlap.left - mine.left, overlap.top - mine.top, SRCCOPY);
        sibling->DrawButton(bitmap.Dc());
        BitBlt(canvas, overlap.left - mine.left, overlap.top - mine.top, width, height, bitmap.Dc(),
               overlap.left - theirs.left, overlap.top - theirs.top, SRCCOPY);
    }
}

// Into the button's own buffer, a paint is kept with the background it was drawn over: the next
// paint of the same look over the same pixels (a hover, a window uncovered, a repaint the owner
// asked for) copies it instead of drawing the face and caption again.
void TCustomGlassButton::DrawButton(HDC canvas) {
    if (!FBuffer || canvas != FBuffer->Dc()) {
        DrawFace(canvas, CurrentFaceLook(canvas));
        DrawCaption(canvas);
        return;
    }
    GdiFlush();
    const std::size_t count = static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight);
    std::uint32_t* pixels = FBuffer->Pixels();
    PaintLook look{CurrentFaceLook(canvas),
                   FCaption,
                   FFont,
                   ResolvedColour(FFont.colour),
                   FEnabled,
                   FAntiAlias,
                   FShowCaption};
    if (const KeptPaint* kept = FPaints.Find(look);
        kept != nullptr && std::equal(pixels, pixels + count, kept->beneath.begin())) {
        std::copy(kept->painted.begin(), kept->painted.end(), pixels);
        return;
    }
    std::vector<std::uint32_t> beneath(pixels, pixels + count);
    DrawFace(canvas, look.face);
    DrawCaption(canvas);
    GdiFlush();
    FPaints.Replace(std::move(look),
                    KeptPaint{std::move(beneath), std::vector<std::uint32_t>(pixels, pixels + count)});
}

bool TCustomGlassButton::Pressed() const noexcept {
    return FMouseDownInControl || FState == TGlassButtonState::gbsDown ||
           FState == TGlassButtonState::gbsExclusive;
}

TCustomGlassButton::FaceLook TCustomGlassButton::CurrentFaceLook(HDC canvas) const {
    return FaceLook{FBackColor,
                    OpaqueArgb(FInnerBorderColor),
                    OpaqueArgb(FOuterBorderColor),
                    FShineColor,
                    FGlowColor,
                    FCornerRadius,
                    Pressed(),
                    FWidth,
                    FHeight,
                    FPixelsPerInch,
                    IsAlphaCanvas(canvas)};
}

// GDI+ draws the face's figures and gradients in software, which under Wine costs more than the rest
// of a paint, while a button shows only a few looks (up, pressed, the colours picks give it). So a
// look painted a second time is drawn once more into premultiplied layers, and from then on a paint
// composes those with AlphaBlend. GDI+ lays each part of the face onto the canvas as one such blend
// or as opaque strokes, so composing the layers in the same order gives the pixels drawing the face
// gives. A look seen once is drawn straight onto the canvas, which costs half what drawing its
// layers does: the first paint of a window stays as quick as it can be. The layers of a look are
// shared: another button that paints it (by the first paint of a window, the trees all in the same
// look) composes them too, and a look painted by two buttons has earned them.
LookCache<TCustomGlassButton::FaceLook, TCustomGlassButton::LayeredPicture>&
TCustomGlassButton::SharedFacePictures() {
    static LookCache<FaceLook, LayeredPicture> pictures;
    return pictures;
}

void TCustomGlassButton::DrawFace(HDC canvas, const FaceLook& look) {
    if (FWidth <= 0 || FHeight <= 0)
        return;
    const LayeredPicture* picture = FFacePictures.Find(look);
    if (picture == nullptr)
        picture = LayersOf(look);
    if (picture != nullptr) {
        ComposeLayers(canvas, *picture->canvas, FWidth, FHeight, picture->layers);
        return;
    }
    if (OwnedGraphics graphics = MakeGraphics(canvas)) {
        GF::GdipSetSmoothingMode(graphics.get(), kSmoothingAntiAlias);
        DrawGlass(graphics.get());
    }
}

// The look's layers from another button, or drawn now when this button or another painted the
// look before; none for a look seen for the first time.
const TCustomGlassButton::LayeredPicture* TCustomGlassButton::LayersOf(const FaceLook& look) {
    auto& shared = SharedFacePictures();
    if (const LayeredPicture* known = shared.Find(look))
        return &FFacePictures.Keep(look, *known);
    // Both note the look, whichever of them has seen it before.
    const bool paintedHere = FFacePictures.PaintedBefore(look);
    const bool paintedElsewhere = shared.PaintedBefore(look);
    if (!paintedHere && !paintedElsewhere)
        return nullptr;
    std::vector<unsigned> parts{kRimAndFill};
    if (look.pressed)
        parts.push_back(kGlow);
    parts.push_back(kShineAndInnerBorder);
    const int layers = static_cast<int>(parts.size());
    std::unique_ptr<MemoryCanvas> drawn =
        DrawLayers(FWidth, FHeight, layers, look.alphaCanvas, [&](HDC probe, int layer) {
            OwnedGraphics graphics = MakeGraphics(probe);
            if (!graphics)
                return false;
            GF::GdipSetSmoothingMode(graphics.get(), kSmoothingAntiAlias);
            DrawGlass(graphics.get(), parts[static_cast<std::size_t>(layer)]);
            return true;
        });
    if (!drawn)
        return nullptr;
    LayeredPicture layered{layers, std::move(drawn)};
    shared.Keep(look, layered);
    return &FFacePictures.Keep(look, std::move(layered));
}

void TCustomGlassButton::DrawGlass(Gdiplus::GpGraphics* graphics, unsigned parts) {
    // At another DPI the face is the 96-DPI face of a button W / s x H / s, scaled by s. The shift
    // by (s - 1) / 2 maps the centre of a logical pixel onto the centre of the s device pixels
    // that stand for it, so a border one unit wide covers exactly those pixels.
    const float s = static_cast<float>(FPixelsPerInch) / kBaseDpi;
    if (FPixelsPerInch != kBaseDpi) {
        GF::GdipScaleWorldTransform(graphics, s, s, Gdiplus::MatrixOrderAppend);
        GF::GdipTranslateWorldTransform(graphics, (s - 1) / 2, (s - 1) / 2, Gdiplus::MatrixOrderAppend);
    }
    const float w = static_cast<float>(FWidth) / s, h = static_cast<float>(FHeight) / s;
    const float r = static_cast<float>(FCornerRadius);

    OwnedPath face = MakeFigurePath(RoundedRectFigure(1, 1, w - 3, h - 3, r));
    if (!face)
        return;
    if ((parts & kRimAndFill) != 0) {
        OwnedPath outer = MakeFigurePath(RoundedRectFigure(0, 0, w - 1, h - 1, r));
        DrawOutline(graphics, outer.get(), FOuterBorderColor);
        if (OwnedBrush brush = MakeSolidBrush(GlassArgb(kFaceAlpha, FBackColor)))
            GF::GdipFillPath(graphics, brush.get(), face.get());
    }

    if ((parts & kGlow) != 0 && Pressed()) {
        if (OwnedRegion region = MakeRegion(face.get()))
            GF::GdipSetClipRegion(graphics, region.get(), Gdiplus::CombineModeReplace);
        if (OwnedPath ellipse = MakePath(Gdiplus::FillModeAlternate)) {
            GlassRect box = GlowEllipseBox(w, h);
            GF::GdipAddPathEllipse(ellipse.get(), box.left, box.top, box.width, box.height);
            OwnedBrush glow = MakePathGradientBrush(ellipse.get(), GlassArgb(kGlowCentreAlpha, FGlowColor),
                                                    GlassArgb(0, FGlowColor));
            if (glow)
                GF::GdipFillPath(graphics, glow.get(), ellipse.get());
        }
        GF::GdipResetClip(graphics);
    }

    if ((parts & kShineAndInnerBorder) == 0)
        return;
    if (std::optional<GlassShine> shine = ShineArea(w, h)) {
        Gdiplus::GpRectF gradientBox(shine->gradient.left, shine->gradient.top, shine->gradient.width,
                                     shine->gradient.height);
        OwnedBrush brush = MakeLineBrush(gradientBox, GlassArgb(kShineTopAlpha, FShineColor),
                                         GlassArgb(kShineBottomAlpha, FShineColor),
                                         Gdiplus::LinearGradientModeVertical, Gdiplus::WrapModeTile);
        OwnedPath outline = MakeFigurePath(TopRoundedRectFigure(1, 1, w - 3, shine->outline.height, r));
        if (brush && outline)
            GF::GdipFillPath(graphics, brush.get(), outline.get());
    }

    DrawOutline(graphics, face.get(), FInnerBorderColor);
}

// The caption is drawn in the font's family, or where the platform has no per-glyph fallback and
// the family lacks some of the caption's characters, in a Japanese UI font that has them. It goes
// through GDI+ when anti-aliasing is asked for and that family is an installed vector (TrueType or
// other outline) screen font; anything else goes through GDI's DrawTextW, where the platform
// substitutes a font that is missing.
void TCustomGlassButton::DrawCaption(HDC canvas) {
    if (!FShowCaption || FCaption.empty())
        return;
    const CaptionRoute route = RouteCaption(canvas);
    SavedDC saved(canvas);
    SelectedObject selected(canvas, route.fonts.gdiFont.get());
    if (route.gdiplus && DrawCaptionGdiplus(canvas, route))
        return;
    DrawCaptionGdi(canvas, route.text);
}

TCustomGlassButton::CaptionRoute TCustomGlassButton::RouteCaption(HDC canvas) {
    std::wstring text = ExpandCaptionLineBreaks(FCaption);
    CaptionFonts& fonts = CaptionFontsFor(text);
    auto canvasDpi = [&] {
        const int dpi = GetDeviceCaps(canvas, LOGPIXELSY);
        return dpi > 0 ? dpi : kBaseDpi;
    };
    const bool gdiplus = FAntiAlias != TAntiAlias::aaNone && fonts.gdiplusRoute &&
                         ReadyGdiplusFonts(fonts, FFont, FPixelsPerInch, canvasDpi());
    const auto rendering = FAntiAlias == TAntiAlias::aaClearType ? Gdiplus::TextRenderingHintClearTypeGridFit
                                                                 : Gdiplus::TextRenderingHintAntiAlias;
    return CaptionRoute{std::move(text), fonts, gdiplus, rendering};
}

CaptionFonts& TCustomGlassButton::CaptionFontsFor(const std::wstring& text) {
    CaptionFamilyKey familyKey{FFont.family, text};
    const std::wstring* family = FCaptionFamilies.Find(familyKey);
    if (family == nullptr)
        family = &FCaptionFamilies.Keep(std::move(familyKey), CaptionFamily(FFont.family, text));
    GlassFont shape = FFont;
    shape.colour = 0;
    CaptionFontsKey fontsKey{std::move(shape), *family, FPixelsPerInch};
    if (CaptionFonts* fonts = FCaptionFonts.Find(fontsKey))
        return *fonts;
    return FCaptionFonts.Keep(std::move(fontsKey), MakeCaptionFonts(FFont, *family, FPixelsPerInch));
}

bool TCustomGlassButton::DrawCaptionGdiplus(HDC canvas, const CaptionRoute& route) {
    OwnedGraphics graphics = MakeGraphics(canvas);
    if (!graphics)
        return false;
    GF::GdipSetSmoothingMode(graphics.get(), kSmoothingAntiAlias);
    GF::GdipSetTextRenderingHint(graphics.get(), route.rendering);

    OwnedBrush brush = MakeSolidBrush(FEnabled ? OpaqueArgb(FFont.colour) : kDisabledCaptionArgb);
    if (!brush)
        return false;

    GlassRect box = CaptionLayoutBox(FWidth, FHeight, FPixelsPerInch);
    Gdiplus::GpRectF layout(box.left, box.top, box.width, box.height);
    std::wstring lines = GdiplusCaptionText(route.text);
    GF::GdipDrawString(graphics.get(), lines.c_str(), -1, route.fonts.gdiplusFont.get(), &layout,
                       route.fonts.format.get(), brush.get());
    return true;
}

// The font is already selected into the canvas. A disabled caption keeps the font's colour here.
void TCustomGlassButton::DrawCaptionGdi(HDC canvas, const std::wstring& text) {
    SetTextColor(canvas, ResolvedColour(FFont.colour));
    SetBkMode(canvas, TRANSPARENT);
    RECT box{CaptionInset(FPixelsPerInch), 0, FWidth, FHeight};
    const UINT flags = DT_WORDBREAK | DT_CENTER | DT_VCENTER;
    RECT measured = box;
    int textHeight = DrawTextW(canvas, text.c_str(), -1, &measured, flags | DT_CALCRECT);
    box.top = CaptionTextTop(FHeight, textHeight);
    DrawTextW(canvas, text.c_str(), -1, &box, flags);
}

}  // namespace vellicot
