// The glass button: its properties, pointer and keyboard handling, and its painting.
#include "widgets/GlassButton.h"

#include <algorithm>
#include <cwchar>
#include <optional>
#include <variant>
#include <vector>

#include "platform/ErrorBox.h"
#include "platform/Handles.h"

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

bool InClient(int x, int y, int width, int height) {
    return x >= 0 && y >= 0 && x < width && y < height;
}

}  // namespace

TCustomGlassButton::TCustomGlassButton() = default;

TCustomGlassButton::~TCustomGlassButton() {
    StopUnHotTimer();
}

void TCustomGlassButton::Create(HWND parent, int controlId, int left, int top, int width, int height) {
    RegisterWindowClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    DWORD style =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (FTabStop ? WS_TABSTOP : 0) | (FEnabled ? 0 : WS_DISABLED);
    HWND hwnd = CreateHandle(0, kClassName, FCaption.c_str(), style, left, top, width, height, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)));
    if (hwnd == nullptr)
        throw AppError(SystemErrorText(GetLastError()));
}

void TCustomGlassButton::Invalidate() {
    if (Handle() != nullptr)
        InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomGlassButton::SetCornerRadius(int value) {
    if (value < 0)
        return;
    SetAndInvalidate(FCornerRadius, value);
}

void TCustomGlassButton::SetCaption(std::wstring_view caption) {
    if (caption == FCaption)
        return;
    if (Handle() != nullptr) {
        SetWindowTextW(Handle(), std::wstring(caption).c_str());  // WM_SETTEXT stores it and repaints
    } else {
        FCaption = caption;
    }
}

void TCustomGlassButton::SetFont(const GlassFont& font) {
    SetAndInvalidate(FFont, font);
}

void TCustomGlassButton::SetFontBold(bool bold) {
    GlassFont font = FFont;
    font.bold = bold;
    SetFont(font);
}

void TCustomGlassButton::SetFontSize(int points) {
    GlassFont font = FFont;
    font.SetSize(points);
    SetFont(font);
}

void TCustomGlassButton::SetFontColor(std::uint32_t colour) {
    GlassFont font = FFont;
    font.colour = colour;
    SetFont(font);
}

void TCustomGlassButton::SetEnabled(bool enabled) {
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    if (Handle() != nullptr)
        EnableWindow(Handle(), enabled);  // WM_ENABLE repaints
}

void TCustomGlassButton::SetTabStop(bool tabStop) {
    if (tabStop == FTabStop)
        return;
    FTabStop = tabStop;
    if (Handle() != nullptr) {
        LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
        SetWindowLongPtrW(Handle(), GWL_STYLE, tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
    Invalidate();
}

std::wstring TCustomGlassButton::Version() const {
    std::uint32_t nr = GetVersionNr();
    return std::to_wstring(nr >> 24) + L'.' + std::to_wstring((nr >> 16) & 0xFF) + L'.' +
           std::to_wstring((nr >> 8) & 0xFF) + L'.' + std::to_wstring(nr & 0xFF);
}

void TCustomGlassButton::SetBounds(int left, int top, int width, int height) {
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (Handle() != nullptr)
        MoveWindow(Handle(), left, top, width, height, TRUE);
}

bool TCustomGlassButton::CanFocus() const {
    if (Handle() == nullptr || !IsWindowVisible(Handle()))
        return false;
    for (HWND w = Handle(); w != nullptr; w = GetParent(w)) {
        if (!IsWindowEnabled(w))
            return false;
        if ((GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) == 0)
            break;
    }
    return true;
}

void TCustomGlassButton::Click() {
    if (OnClick)
        OnClick(*this);
}

bool TCustomGlassButton::DialogChar(wchar_t ch) {
    std::optional<wchar_t> accelerator = CaptionAccelerator(FCaption);
    if (!accelerator)
        return false;
    wchar_t pair[2] = {*accelerator, ch};
    CharUpperBuffW(pair, 2);
    if (pair[0] != pair[1] || !CanFocus())
        return false;
    Click();
    return true;
}

void TCustomGlassButton::DrawCustomBackgroundSymbol(HDC, const RECT&) {}

// --- Pointer tracking ---------------------------------------------------------------------------

void TCustomGlassButton::StartUnHotTimer() {
    if (Handle() == nullptr)
        return;
    SetTimer(Handle(), kUnHotTimerId, kUnHotTimerInterval, nullptr);
    FUnHotTimerRunning = true;
}

void TCustomGlassButton::StopUnHotTimer() {
    if (FUnHotTimerRunning && Handle() != nullptr)
        KillTimer(Handle(), kUnHotTimerId);
    FUnHotTimerRunning = false;
}

void TCustomGlassButton::MouseEnter() {
    FMouseInControl = true;
    StartUnHotTimer();
    if (OnMouseEnter)
        OnMouseEnter(*this);
}

void TCustomGlassButton::MouseLeave() {
    StopUnHotTimer();
    FMouseInControl = false;
    if (OnMouseLeave)
        OnMouseLeave(*this);
}

void TCustomGlassButton::OnUnHotTimer() {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(Handle(), &cursor);
    if (InClient(cursor.x, cursor.y, FWidth, FHeight))
        return;
    // The leave notification may come later or, after a drag, not at all: the poll ends the hover.
    StopUnHotTimer();
    FMouseInControl = false;
    if (FEnabled)
        Invalidate();
}

void TCustomGlassButton::UpdateTracking() {
    if (!FEnabled)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
    if (WindowFromPoint(cursor) == Handle()) {
        FPointerTracked = TrackMouseEvent(&track) != FALSE;
        MouseEnter();
    } else {
        if (FPointerTracked) {
            track.dwFlags |= TME_CANCEL;
            TrackMouseEvent(&track);
            FPointerTracked = false;
        }
        MouseLeave();
    }
}

void TCustomGlassButton::OnMouseMoveMessage(int x, int y) {
    bool inside = InClient(x, y, FWidth, FHeight);
    if (FDragging) {
        // The press holds the pointer; its release settles enter or leave through UpdateTracking.
        TGlassButtonState state = inside ? TGlassButtonState::gbsDown : TGlassButtonState::gbsUp;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FMouseInControl && inside) {
        // The first move inside while the pointer is not known to be here is the pointer-entered
        // notification; TrackMouseEvent brings the matching WM_MOUSELEAVE.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        FPointerTracked = TrackMouseEvent(&track) != FALSE;
        MouseEnter();
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
    if (OnMouseMove)
        OnMouseMove(*this);
}

void TCustomGlassButton::OnMouseLeaveMessage() {
    FPointerTracked = false;
    // During a press the release settles enter or leave through UpdateTracking.
    if (GetCapture() == Handle())
        return;
    MouseLeave();
}

// --- Press and release --------------------------------------------------------------------------

void TCustomGlassButton::OnLeftButtonDown(bool doubleClick) {
    if (!FEnabled)
        return;
    SetCapture(Handle());
    // The second press of a double click is the double click when a handler takes it: it presses
    // the button like any press, but its release does not click.
    bool takenAsDoubleClick = doubleClick && OnDblClick;
    FPressBegan = !takenAsDoubleClick;
    if (takenAsDoubleClick)
        OnDblClick(*this);
    if (OnMouseDown)
        OnMouseDown(*this);
    FMouseDownInControl = true;
    FState = TGlassButtonState::gbsDown;
    Invalidate();
    if (FTabStop && CanFocus())
        SetFocus(Handle());
    FDragging = true;
}

void TCustomGlassButton::OnLeftButtonUp(int x, int y) {
    if (!FEnabled)
        return;
    FMouseDownInControl = false;
    Invalidate();
    if (FDragging) {
        FDragging = false;
        FState = TGlassButtonState::gbsUp;
        FMouseInControl = false;
        UpdateTracking();
    }
    // Only a release that ends a press begun here clicks, not one dragged in from elsewhere nor
    // the end of a double click.
    bool pressed = FPressBegan;
    FPressBegan = false;
    if (GetCapture() == Handle())
        ReleaseCapture();
    if (pressed && InClient(x, y, FWidth, FHeight))
        Click();
    if (OnMouseUp)
        OnMouseUp(*this);
    Invalidate();
}

void TCustomGlassButton::OnOtherButton(bool down) {
    if (!FEnabled)
        return;
    const Event& event = down ? OnMouseDown : OnMouseUp;
    if (event)
        event(*this);
}

// The capture went elsewhere (another window took it, or the button was disabled) before the
// release: the press ends without a click instead of leaving the pressed look on.
void TCustomGlassButton::EndPress() {
    if (!FPressBegan && !FDragging && !FMouseDownInControl)
        return;
    FPressBegan = false;
    FDragging = false;
    FMouseDownInControl = false;
    if (FState == TGlassButtonState::gbsDown)
        FState = TGlassButtonState::gbsUp;
    Invalidate();
}

// --- Keyboard -----------------------------------------------------------------------------------

// A push button to the dialog manager, as a standard BUTTON answers: the manager then clicks it
// (BM_CLICK) for the accelerator its caption marks, typed as Alt+letter anywhere in the window or
// as the letter alone while the focus is on a button. The button keeps Enter for itself.
LRESULT TCustomGlassButton::OnGetDlgCode(LPARAM lp) {
    LRESULT code = DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    const MSG* message = reinterpret_cast<const MSG*>(lp);
    if (message != nullptr && message->message == WM_KEYDOWN && message->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
    return code;
}

bool TCustomGlassButton::OnKeyDownMessage(WPARAM wp) {
    WORD key = static_cast<WORD>(wp);
    if (OnKeyDown)
        OnKeyDown(*this, key);
    if (key == 0)
        return true;
    bool modifier = GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    if (key == VK_RETURN && FActive && !modifier && CanFocus()) {
        Click();
        return true;
    }
    return false;
}

void TCustomGlassButton::OnCharMessage(WPARAM wp) {
    wchar_t ch = static_cast<wchar_t>(wp);
    if (OnKeyPress)
        OnKeyPress(*this, ch);
    if (ch == L' ')
        Click();
}

void TCustomGlassButton::OnFocusChanged(bool focused) {
    FActive = focused;
    Invalidate();
}

void TCustomGlassButton::OnSetText(const wchar_t* text) {
    std::wstring_view value = text != nullptr ? std::wstring_view(text) : std::wstring_view();
    if (value == FCaption)
        return;
    FCaption = value;
    Invalidate();
}

// --- Messages -----------------------------------------------------------------------------------

LRESULT TCustomGlassButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT:
            OnPaintMessage();
            return 0;
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_ERASEBKGND:
            // The paint that follows sets every pixel; the erase only has to be reported done.
            Window::HandleMessage(msg, wp, lp);
            return 1;
        case WM_MOUSEMOVE:
            OnMouseMoveMessage(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_MOUSELEAVE:
            OnMouseLeaveMessage();
            return 0;
        case WM_LBUTTONDBLCLK:
            OnLeftButtonDown(true);
            return 0;
        case WM_LBUTTONDOWN:
            OnLeftButtonDown(false);
            return 0;
        case WM_LBUTTONUP:
            OnLeftButtonUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            OnOtherButton(true);
            return 0;
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            OnOtherButton(false);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lp) != Handle())
                EndPress();
            return 0;
        case WM_TIMER:
            if (wp != kUnHotTimerId)
                break;
            OnUnHotTimer();
            return 0;
        case WM_SETFOCUS:
            OnFocusChanged(true);
            return 0;
        case WM_KILLFOCUS:
            OnFocusChanged(false);
            return 0;
        case WM_GETDLGCODE:
            return OnGetDlgCode(lp);
        case WM_KEYDOWN:
            if (OnKeyDownMessage(wp))
                return 0;
            break;
        case WM_KEYUP: {
            WORD key = static_cast<WORD>(wp);
            if (OnKeyUp)
                OnKeyUp(*this, key);
            return 0;
        }
        case WM_CHAR:
            OnCharMessage(wp);
            return 0;
        case WM_SYSCHAR:
            if (ClickGlassAccelerator(GetParent(Handle()), static_cast<wchar_t>(wp)))
                return 0;
            break;
        case WM_SETTEXT: {
            OnSetText(reinterpret_cast<const wchar_t*>(lp));
            return Window::HandleMessage(msg, wp, lp);
        }
        case WM_ENABLE:
            FEnabled = wp != FALSE;
            Invalidate();
            return 0;
        case WM_WINDOWPOSCHANGED: {
            RECT bounds{};
            GetWindowRect(Handle(), &bounds);
            MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&bounds), 2);
            FLeft = bounds.left;
            FTop = bounds.top;
            FWidth = bounds.right - bounds.left;
            FHeight = bounds.bottom - bounds.top;
            break;
        }
        case WM_DESTROY:
            StopUnHotTimer();
            break;
        case BM_CLICK:
            if (FEnabled)
                Click();
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

// --- Painting -----------------------------------------------------------------------------------

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

// --- Lookup ---------------------------------------------------------------------------------------

TCustomGlassButton* FindGlassButton(HWND parent, std::wstring_view name) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        auto* button = dynamic_cast<TCustomGlassButton*>(WindowFromHandle(child));
        if (button != nullptr && SameTextIgnoringCase(button->Name(), name))
            return button;
    }
    return nullptr;
}

bool ClickGlassAccelerator(HWND parent, wchar_t ch) {
    if (parent == nullptr)
        return false;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        auto* button = dynamic_cast<TCustomGlassButton*>(WindowFromHandle(child));
        if (button != nullptr && button->DialogChar(ch))
            return true;
    }
    return false;
}

}  // namespace vellicot
