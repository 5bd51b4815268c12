// The glass button's painting: the parent's content beneath, overlapping sibling glass buttons,
// the glossy face drawn with GDI+ and the caption by GDI+ or GDI.
#include <algorithm>
#include <cwchar>
#include <optional>
#include <variant>
#include <vector>

#include "platform/Handles.h"
#include "widgets/GlassButton.h"

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

// The opaque colour of a border or caption: system colours resolved first.
Gdiplus::ARGB OpaqueArgb(std::uint32_t colour) {
    if (IsSystemColour(colour))
        colour = GetSysColor(static_cast<int>(colour & 0xFF));
    return GlassArgb(255, colour);
}

COLORREF ResolvedColour(std::uint32_t colour) {
    return IsSystemColour(colour) ? GetSysColor(static_cast<int>(colour & 0xFF)) : colour;
}

UniquePath MakePath(const GlassFigure& figure) {
    Gdiplus::GpPath* raw = nullptr;
    GF::GdipCreatePath(Gdiplus::FillModeAlternate, &raw);
    UniquePath path(raw);
    if (!path)
        return path;
    for (const GlassSegment& segment : figure.segments) {
        std::visit(
            Overloaded{
                [&](const GlassArc& a) {
                    GF::GdipAddPathArc(raw, a.box.left, a.box.top, a.box.width, a.box.height, a.startAngle,
                                       a.sweepAngle);
                },
                [&](const GlassLine& l) { GF::GdipAddPathLine(raw, l.from.x, l.from.y, l.to.x, l.to.y); },
            },
            segment);
    }
    GF::GdipClosePathFigure(raw);
    return path;
}

void DrawOutline(Gdiplus::GpGraphics* graphics, Gdiplus::GpPath* path, std::uint32_t colour) {
    Gdiplus::GpPen* raw = nullptr;
    GF::GdipCreatePen1(OpaqueArgb(colour), 1.0f, Gdiplus::UnitWorld, &raw);
    UniqueGpPen pen(raw);
    if (pen && path)
        GF::GdipDrawPath(graphics, raw, path);
}

int CALLBACK CollectFontFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM names) {
    reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(font->lfFaceName);
    return 1;
}

bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// The installed screen font families, listed once per run as the platform's font list is.
bool IsInstalledScreenFont(std::wstring_view family) {
    static const std::vector<std::wstring> families = [] {
        std::vector<std::wstring> names;
        HDC screen = GetDC(nullptr);
        LOGFONTW query{};
        query.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExW(screen, &query, &CollectFontFamily, reinterpret_cast<LPARAM>(&names), 0);
        ReleaseDC(nullptr, screen);
        return names;
    }();
    return std::any_of(families.begin(), families.end(),
                       [&](const std::wstring& name) { return SameTextIgnoringCase(name, family); });
}

LOGFONTW ToLogFont(const GlassFont& font) {
    LOGFONTW lf{};
    lf.lfHeight = font.height;
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
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(Handle(), &ps);
    ScopeExit endPaint([&] { EndPaint(Handle(), &ps); });
    Paint(dc);
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
        RECT focus{3, 3, FWidth - 3, FHeight - 3};
        DrawFocusRect(canvas, &focus);
    }
}

void TCustomGlassButton::PaintParentBackground(HDC canvas) {
    HWND parent = GetParent(Handle());
    if (parent == nullptr)
        return;
    UniqueRegion clip(CreateRectRgn(0, 0, FWidth, FHeight));
    SelectClipRgn(canvas, clip.get());
    {
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
    SelectClipRgn(canvas, nullptr);
}

void TCustomGlassButton::PaintOverlappingSiblings(HDC canvas) {
    HWND parent = GetParent(Handle());
    RECT mine{};
    GetWindowRect(Handle(), &mine);
    // Glass buttons rarely overlap (the program's never do): a child is asked whether it is a glass
    // button only when its rectangle meets this one. Rectangles on the screen meet where they meet
    // in the parent.
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT theirs{};
        RECT overlap{};
        if (child == Handle() || !GetWindowRect(child, &theirs) || !IntersectRect(&overlap, &mine, &theirs) ||
            !IsWindowVisible(child))
            continue;
        auto* sibling = dynamic_cast<TCustomGlassButton*>(WindowFromHandle(child));
        if (sibling == nullptr)
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
    {
        Gdiplus::GpGraphics* raw = nullptr;
        GF::GdipCreateFromHDC(canvas, &raw);
        UniqueGraphics graphics(raw);
        if (graphics) {
            GF::GdipSetSmoothingMode(raw, kSmoothingAntiAlias);
            DrawGlass(raw);
        }
    }
    DrawCaption(canvas);
}

void TCustomGlassButton::DrawGlass(Gdiplus::GpGraphics* graphics) {
    const int w = FWidth, h = FHeight, r = FCornerRadius;

    UniquePath outer = MakePath(RoundedRectFigure(0, 0, w - 1, h - 1, r));
    DrawOutline(graphics, outer.get(), FOuterBorderColor);

    UniquePath face = MakePath(RoundedRectFigure(1, 1, w - 3, h - 3, r));
    if (!face)
        return;
    {
        Gdiplus::GpSolidFill* raw = nullptr;
        GF::GdipCreateSolidFill(GlassArgb(kFaceAlpha, FBackColor), &raw);
        UniqueGpBrush brush(raw);
        if (brush)
            GF::GdipFillPath(graphics, raw, face.get());
    }

    bool pressed = FMouseDownInControl || FDown || FState == TGlassButtonState::gbsDown ||
                   FState == TGlassButtonState::gbsExclusive;
    if (pressed) {
        Gdiplus::GpRegion* rawRegion = nullptr;
        GF::GdipCreateRegionPath(face.get(), &rawRegion);
        UniqueGpRegion region(rawRegion);
        if (region)
            GF::GdipSetClipRegion(graphics, rawRegion, Gdiplus::CombineModeReplace);

        Gdiplus::GpPath* rawEllipse = nullptr;
        GF::GdipCreatePath(Gdiplus::FillModeAlternate, &rawEllipse);
        UniquePath ellipse(rawEllipse);
        if (ellipse) {
            GlassRect box = GlowEllipseBox(w, h);
            GF::GdipAddPathEllipse(rawEllipse, box.left, box.top, box.width, box.height);
            Gdiplus::GpPathGradient* rawGlow = nullptr;
            GF::GdipCreatePathGradientFromPath(rawEllipse, &rawGlow);
            UniqueGpBrush glow(rawGlow);
            if (glow) {
                GF::GdipSetPathGradientCenterColor(rawGlow, GlassArgb(kGlowCentreAlpha, FGlowColor));
                Gdiplus::ARGB surround = GlassArgb(0, FGlowColor);
                INT count = 1;
                GF::GdipSetPathGradientSurroundColorsWithCount(rawGlow, &surround, &count);
                GF::GdipFillPath(graphics, rawGlow, rawEllipse);
            }
        }
        GF::GdipResetClip(graphics);
    }

    if (std::optional<GlassShine> shine = ShineArea(w, h)) {
        Gdiplus::GpRectF gradientBox(shine->gradient.left, shine->gradient.top, shine->gradient.width,
                                     shine->gradient.height);
        Gdiplus::GpLineGradient* raw = nullptr;
        GF::GdipCreateLineBrushFromRect(&gradientBox, GlassArgb(kShineTopAlpha, FShineColor),
                                        GlassArgb(kShineBottomAlpha, FShineColor),
                                        Gdiplus::LinearGradientModeVertical, Gdiplus::WrapModeTile, &raw);
        UniqueGpBrush brush(raw);
        UniquePath outline =
            MakePath(TopRoundedRectFigure(1, 1, w - 3, static_cast<int>(shine->outline.height), r));
        if (brush && outline)
            GF::GdipFillPath(graphics, raw, outline.get());
    }

    DrawOutline(graphics, face.get(), FInnerBorderColor);
}

// The caption goes through GDI+ when anti-aliasing is asked for and the family is an installed
// vector (TrueType or other outline) screen font; anything else goes through GDI's DrawTextW,
// where the platform substitutes a font that is missing.
void TCustomGlassButton::DrawCaption(HDC canvas) {
    if (!FShowCaption || FCaption.empty())
        return;
    std::wstring text = ExpandCaptionLineBreaks(FCaption);

    LOGFONTW logFont = ToLogFont(FFont);
    UniqueFont font(CreateFontIndirectW(&logFont));
    SavedDC saved(canvas);
    SelectObject(canvas, font.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(canvas, &metrics);
    bool vectorFont =
        (metrics.tmPitchAndFamily & TMPF_VECTOR) != 0 && (metrics.tmPitchAndFamily & TMPF_DEVICE) == 0;
    if (FAntiAlias != TAntiAlias::aaNone && vectorFont && IsInstalledScreenFont(FFont.family) &&
        DrawCaptionGdiplus(canvas, text))
        return;
    DrawCaptionGdi(canvas, text);
}

bool TCustomGlassButton::DrawCaptionGdiplus(HDC canvas, const std::wstring& text) {
    Gdiplus::GpGraphics* rawGraphics = nullptr;
    GF::GdipCreateFromHDC(canvas, &rawGraphics);
    UniqueGraphics graphics(rawGraphics);
    if (!graphics)
        return false;
    GF::GdipSetSmoothingMode(rawGraphics, kSmoothingAntiAlias);

    Gdiplus::GpFontFamily* rawFamily = nullptr;
    GF::GdipCreateFontFamilyFromName(FFont.family.c_str(), nullptr, &rawFamily);
    UniqueGpFontFamily family(rawFamily);
    if (!family)
        return false;
    INT style = (FFont.bold ? Gdiplus::FontStyleBold : 0) | (FFont.italic ? Gdiplus::FontStyleItalic : 0) |
                (FFont.underline ? Gdiplus::FontStyleUnderline : 0);
    Gdiplus::GpFont* rawFont = nullptr;
    GF::GdipCreateFont(rawFamily, static_cast<Gdiplus::REAL>(FFont.Size()), style, Gdiplus::UnitPoint,
                       &rawFont);
    UniqueGpFont gpFont(rawFont);
    if (!gpFont)
        return false;

    Gdiplus::GpStringFormat* rawFormat = nullptr;
    GF::GdipCreateStringFormat(0, LANG_NEUTRAL, &rawFormat);
    UniqueGpStringFormat format(rawFormat);
    if (!format)
        return false;
    GF::GdipSetStringFormatAlign(rawFormat, Gdiplus::StringAlignmentCenter);
    GF::GdipSetStringFormatLineAlign(rawFormat, Gdiplus::StringAlignmentCenter);
    GF::GdipSetStringFormatHotkeyPrefix(rawFormat, Gdiplus::HotkeyPrefixShow);
    GF::GdipSetStringFormatTrimming(rawFormat, Gdiplus::StringTrimmingNone);

    GF::GdipSetTextRenderingHint(rawGraphics, FAntiAlias == TAntiAlias::aaClearType
                                                  ? Gdiplus::TextRenderingHintClearTypeGridFit
                                                  : Gdiplus::TextRenderingHintAntiAlias);

    Gdiplus::GpSolidFill* rawBrush = nullptr;
    GF::GdipCreateSolidFill(FEnabled ? OpaqueArgb(FFont.colour) : kDisabledCaptionArgb, &rawBrush);
    UniqueGpBrush brush(rawBrush);
    if (!brush)
        return false;

    GlassRect box = CaptionLayoutBox(FWidth, FHeight);
    Gdiplus::GpRectF layout(box.left, box.top, box.width, box.height);
    std::wstring lines = GdiplusCaptionText(text);
    GF::GdipDrawString(rawGraphics, lines.c_str(), -1, rawFont, &layout, rawFormat, rawBrush);
    return true;
}

// The font is already selected into the canvas. A disabled caption keeps the font's colour here.
void TCustomGlassButton::DrawCaptionGdi(HDC canvas, const std::wstring& text) {
    SetTextColor(canvas, ResolvedColour(FFont.colour));
    SetBkMode(canvas, TRANSPARENT);
    RECT box{2, 0, FWidth, FHeight};
    const UINT flags = DT_WORDBREAK | DT_CENTER | DT_VCENTER;
    RECT measured = box;
    int textHeight = DrawTextW(canvas, text.c_str(), -1, &measured, flags | DT_CALCRECT);
    box.top = CaptionTextTop(FHeight, textHeight);
    DrawTextW(canvas, text.c_str(), -1, &box, flags);
}

}  // namespace vellicot
