// The glass button's painting: the parent's content beneath, overlapping sibling glass buttons,
// the glossy face drawn with GDI+ and the caption by GDI+ or GDI.
#include <algorithm>
#include <cwchar>
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

// The font at the DPI: its pixel height scaled from 96 DPI.
LOGFONTW ToLogFont(const GlassFont& font, int pixelsPerInch) {
    LOGFONTW lf{};
    lf.lfHeight = ScaleToDpi(font.height, pixelsPerInch);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeOut;
    lf.lfCharSet = font.charSet;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    std::wcsncpy(lf.lfFaceName, font.family.c_str(), LF_FACESIZE - 1);
    return lf;
}

}  // namespace

void TCustomGlassButton::OnPaintMessage() {
    PaintScope paint(Handle());
    Paint(paint.Dc());
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
    POINT origin{0, 0};
    ClientToScreen(Handle(), &origin);
    ScreenToClient(parent, &origin);
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

void TCustomGlassButton::DrawButton(HDC canvas) {
    if (OwnedGraphics graphics = MakeGraphics(canvas)) {
        GF::GdipSetSmoothingMode(graphics.get(), kSmoothingAntiAlias);
        DrawGlass(graphics.get());
    }
    DrawCaption(canvas);
}

void TCustomGlassButton::DrawGlass(Gdiplus::GpGraphics* graphics) {
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

    OwnedPath outer = MakeFigurePath(RoundedRectFigure(0, 0, w - 1, h - 1, r));
    DrawOutline(graphics, outer.get(), FOuterBorderColor);

    OwnedPath face = MakeFigurePath(RoundedRectFigure(1, 1, w - 3, h - 3, r));
    if (!face)
        return;
    if (OwnedBrush brush = MakeSolidBrush(GlassArgb(kFaceAlpha, FBackColor)))
        GF::GdipFillPath(graphics, brush.get(), face.get());

    bool pressed = FMouseDownInControl || FDown || FState == TGlassButtonState::gbsDown ||
                   FState == TGlassButtonState::gbsExclusive;
    if (pressed) {
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
    std::wstring text = ExpandCaptionLineBreaks(FCaption);
    CaptionFonts& fonts = CaptionFontsFor(text);
    SavedDC saved(canvas);
    SelectedObject selected(canvas, fonts.gdiFont.get());
    if (FAntiAlias != TAntiAlias::aaNone && fonts.gdiplusRoute && DrawCaptionGdiplus(canvas, text, fonts))
        return;
    DrawCaptionGdi(canvas, text);
}

TCustomGlassButton::CaptionFonts& TCustomGlassButton::CaptionFontsFor(const std::wstring& text) {
    if (!FCaptionFamily || FCaptionFamily->fontFamily != FFont.family || FCaptionFamily->text != text)
        FCaptionFamily = CaptionFamilyChoice{FFont.family, text, CaptionFamily(FFont.family, text)};
    GlassFont shape = FFont;
    shape.colour = 0;  // the brush's and the text colour's business
    if (FCaptionFonts && FCaptionFonts->font == shape && FCaptionFonts->family == FCaptionFamily->family &&
        FCaptionFonts->pixelsPerInch == FPixelsPerInch)
        return *FCaptionFonts;

    CaptionFonts& fonts = FCaptionFonts.emplace();
    fonts.font = shape;
    fonts.family = FCaptionFamily->family;
    fonts.pixelsPerInch = FPixelsPerInch;
    GlassFont drawn = FFont;
    drawn.family = fonts.family;
    LOGFONTW logFont = ToLogFont(drawn, FPixelsPerInch);
    fonts.gdiFont.reset(CreateFontIndirectW(&logFont));
    UniqueDC screen(CreateCompatibleDC(nullptr));
    SelectedObject selected(screen.get(), fonts.gdiFont.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    bool vectorFont =
        (metrics.tmPitchAndFamily & TMPF_VECTOR) != 0 && (metrics.tmPitchAndFamily & TMPF_DEVICE) == 0;
    fonts.gdiplusRoute = vectorFont && IsInstalledScreenFont(fonts.family);
    return fonts;
}

bool TCustomGlassButton::DrawCaptionGdiplus(HDC canvas, const std::wstring& text, CaptionFonts& fonts) {
    OwnedGraphics graphics = MakeGraphics(canvas);
    if (!graphics)
        return false;
    GF::GdipSetSmoothingMode(graphics.get(), kSmoothingAntiAlias);

    if (!fonts.gdiplusFamily) {
        fonts.gdiplusFamily = MakeFontFamily(fonts.family.c_str());
        if (!fonts.gdiplusFamily) {
            fonts.gdiplusRoute = false;  // GDI+ does not know the family
            return false;
        }
    }
    // The size stays in points; at a DPI other than the canvas's own it is scaled to the button's,
    // so the caption grows with the button. At equal DPIs the size is the font's own.
    int canvasDpi = GetDeviceCaps(canvas, LOGPIXELSY);
    if (canvasDpi <= 0)
        canvasDpi = kBaseDpi;
    if (!fonts.gdiplusFont || fonts.gdiplusFontCanvasDpi != canvasDpi) {
        INT style = (FFont.bold ? Gdiplus::FontStyleBold : 0) |
                    (FFont.italic ? Gdiplus::FontStyleItalic : 0) |
                    (FFont.underline ? Gdiplus::FontStyleUnderline : 0);
        Gdiplus::REAL emSize = static_cast<Gdiplus::REAL>(FFont.Size()) *
                               static_cast<Gdiplus::REAL>(FPixelsPerInch) /
                               static_cast<Gdiplus::REAL>(canvasDpi);
        fonts.gdiplusFont = MakeFont(fonts.gdiplusFamily.get(), emSize, style, Gdiplus::UnitPoint);
        fonts.gdiplusFontCanvasDpi = canvasDpi;
        if (!fonts.gdiplusFont)
            return false;
    }
    if (!fonts.format) {
        fonts.format = MakeStringFormat(0, LANG_NEUTRAL);
        if (!fonts.format)
            return false;
        GF::GdipSetStringFormatAlign(fonts.format.get(), Gdiplus::StringAlignmentCenter);
        GF::GdipSetStringFormatLineAlign(fonts.format.get(), Gdiplus::StringAlignmentCenter);
        GF::GdipSetStringFormatHotkeyPrefix(fonts.format.get(), Gdiplus::HotkeyPrefixShow);
        GF::GdipSetStringFormatTrimming(fonts.format.get(), Gdiplus::StringTrimmingNone);
    }

    GF::GdipSetTextRenderingHint(graphics.get(), FAntiAlias == TAntiAlias::aaClearType
                                                     ? Gdiplus::TextRenderingHintClearTypeGridFit
                                                     : Gdiplus::TextRenderingHintAntiAlias);

    OwnedBrush brush = MakeSolidBrush(FEnabled ? OpaqueArgb(FFont.colour) : kDisabledCaptionArgb);
    if (!brush)
        return false;

    GlassRect box = CaptionLayoutBox(FWidth, FHeight, FPixelsPerInch);
    Gdiplus::GpRectF layout(box.left, box.top, box.width, box.height);
    std::wstring lines = GdiplusCaptionText(text);
    GF::GdipDrawString(graphics.get(), lines.c_str(), -1, fonts.gdiplusFont.get(), &layout,
                       fonts.format.get(), brush.get());
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
