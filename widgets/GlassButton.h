// The glass push button: a child window with a translucent, glossy, rounded face painted over
// whatever its parent shows beneath it, and a centred caption.
//
// The parent must answer WM_ERASEBKGND and WM_PAINT whose wParam is a device context by painting
// its background and non-windowed content into that DC in its own client coordinates: the button
// hands over its own DC with the window origin moved by the button's position and clipped to the
// button, so the parent's drawing lands beneath the face.
//
// To the dialog manager the button is a push button: a window whose message loop runs
// IsDialogMessageW clicks it (BM_CLICK) for the letter its caption marks with '&'.
//
// GDI+ must have been started for the process before the first paint (GdiplusSession).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/GlassFont.h"
#include "core/GlassGeometry.h"
#include "core/LookCache.h"
#include "platform/GdiplusObjects.h"
#include "platform/Handles.h"
#include "platform/Win32.h"
#include "platform/Window.h"
#include "widgets/GlassCaptionFont.h"

namespace vellicot {

enum class TGlassButtonState { gbsUp, gbsDisabled, gbsDown, gbsDropDown, gbsExclusive };
enum class TAntiAlias { aaNone, aaClearType, aaAntiAlias };

class TCustomGlassButton : public Window {
public:
    using Event = std::function<void(TCustomGlassButton& sender)>;
    // The character of a key press, which the handler may change or clear (set it to 0).
    using KeyPressEvent = std::function<void(TCustomGlassButton& sender, wchar_t& key)>;
    // A virtual-key code, which the handler may clear (set it to 0) to keep the button from acting on it.
    using KeyEvent = std::function<void(TCustomGlassButton& sender, WORD& key)>;

    static constexpr wchar_t kClassName[] = L"TGlassButton";

    TCustomGlassButton();
    ~TCustomGlassButton() override;

    // Creates the child window (WS_CHILD | WS_VISIBLE, class "TGlassButton") with the properties
    // set so far; the bounds are in the parent's client coordinates.
    void Create(HWND parent, int controlId, int left, int top, int width, int height);

    const std::wstring& Name() const noexcept { return FName; }
    void SetName(std::wstring name) { FName = std::move(name); }

    // Colours are 0x00BBGGRR. The borders and the caption resolve system colours; the face, shine
    // and glow take the value's low three bytes as they are.
    std::uint32_t BackColor() const noexcept { return FBackColor; }
    void SetBackColor(std::uint32_t value) { SetAndInvalidate(FBackColor, value); }
    std::uint32_t InnerBorderColor() const noexcept { return FInnerBorderColor; }
    void SetInnerBorderColor(std::uint32_t value) { SetAndInvalidate(FInnerBorderColor, value); }
    std::uint32_t OuterBorderColor() const noexcept { return FOuterBorderColor; }
    void SetOuterBorderColor(std::uint32_t value) { SetAndInvalidate(FOuterBorderColor, value); }
    std::uint32_t ShineColor() const noexcept { return FShineColor; }
    void SetShineColor(std::uint32_t value) { SetAndInvalidate(FShineColor, value); }
    std::uint32_t GlowColor() const noexcept { return FGlowColor; }
    void SetGlowColor(std::uint32_t value) { SetAndInvalidate(FGlowColor, value); }
    // Kept and repainted on a change, but the face never shows it.
    std::uint32_t ForeColor() const noexcept { return FForeColor; }
    void SetForeColor(std::uint32_t value) { SetAndInvalidate(FForeColor, value); }

    // Pixels; a negative radius is ignored.
    int CornerRadius() const noexcept { return FCornerRadius; }
    void SetCornerRadius(int value);

    // Also shows overlapping sibling glass buttons beneath the face.
    bool ForceTransparent() const noexcept { return FForceTransparent; }
    void SetForceTransparent(bool value) { SetAndInvalidate(FForceTransparent, value); }
    bool ShowCaption() const noexcept { return FShowCaption; }
    void SetShowCaption(bool value) { SetAndInvalidate(FShowCaption, value); }
    // Draws a dotted focus rectangle inside the inner border while the button holds the focus.
    bool ShowFocusRect() const noexcept { return FShowFocusRect; }
    void SetShowFocusRect(bool value) { SetAndInvalidate(FShowFocusRect, value); }
    TAntiAlias AntiAlias() const noexcept { return FAntiAlias; }
    void SetAntiAlias(TAntiAlias value) { SetAndInvalidate(FAntiAlias, value); }

    // The caption is the window text; "\r\n" breaks it into lines, and so does "\n" written as a
    // backslash and the letter n. A different text repaints the button; the same text does not.
    const std::wstring& Caption() const noexcept { return FCaption; }
    void SetCaption(std::wstring_view caption);

    const GlassFont& Font() const noexcept { return FFont; }
    void SetFont(const GlassFont& font);
    void SetFontBold(bool bold);
    void SetFontSize(int points);
    void SetFontColor(std::uint32_t colour);

    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool enabled);
    bool TabStop() const noexcept { return FTabStop; }
    void SetTabStop(bool tabStop);

    // The DPI of the window the button is shown in; its corner radius, borders and caption are
    // given at 96 DPI and drawn scaled to it. A value below 1 is ignored.
    int PixelsPerInch() const noexcept { return FPixelsPerInch; }
    void SetPixelsPerInch(int value);

    // Bounds in the parent's client coordinates.
    int Left() const noexcept { return FLeft; }
    int Top() const noexcept { return FTop; }
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    void SetBounds(int left, int top, int width, int height);

    // Whether the button can take the keyboard focus now: it and every ancestor enabled and visible.
    bool CanFocus() const;

    // Reports a click: calls OnClick when assigned.
    void Click();

    // Clicks the button when its caption marks ch with '&' (either case) and it can take the focus;
    // true when it did, so the caller consumes the character.
    bool DialogChar(wchar_t ch);

    // Paints face and caption onto any canvas the size of the button. Into the button's own buffer,
    // where its paints on the screen are made, the same look over the same pixels is copied from
    // the paint kept last time instead of drawn again.
    virtual void DrawButton(HDC canvas);

    // The whole paint of the button into a DC of its client area: the parent's content beneath,
    // overlapping sibling glass buttons when ForceTransparent is set, then the face and caption.
    // WM_PRINTCLIENT paints so into the DC it is given; WM_PAINT into the buffer, then copies it.
    void Paint(HDC canvas);

    // How a paint on the canvas lays out the caption: its text with the line breaks made, the fonts it
    // is drawn in, and its route: GDI+ with that text rendering when anti-aliasing is asked for and
    // GDI+ can draw the family (its font and format then made for the canvas), else GDI's DrawTextW in
    // the GDI font. The fonts are the button's own, good until its next paint or the next call.
    struct CaptionRoute {
        std::wstring text;
        const CaptionFonts& fonts;
        bool gdiplus = false;
        Gdiplus::TextRenderingHint rendering = Gdiplus::TextRenderingHintAntiAlias;
    };
    CaptionRoute RouteCaption(HDC canvas);

    // State, for the painting and for tests.
    TGlassButtonState State() const noexcept { return FState; }
    bool MouseInControl() const noexcept { return FMouseInControl; }
    bool MouseDownInControl() const noexcept { return FMouseDownInControl; }
    bool Dragging() const noexcept { return FDragging; }
    bool Active() const noexcept { return FActive; }
    // The platform is asked to report the pointer leaving (TrackMouseEvent); it is while the pointer
    // is over the button.
    bool LeaveTracked() const noexcept { return FPointerTracked; }

    Event OnClick;
    Event OnMouseEnter;
    Event OnMouseLeave;
    // Called for a press and a release of any mouse button on the button.
    Event OnMouseDown;
    Event OnMouseUp;
    Event OnMouseMove;
    // Called for the second press of a double click, which then presses the button but does not
    // click. While it is empty that press is an ordinary one, so a quick double click gives two clicks.
    Event OnDblClick;
    KeyEvent OnKeyDown;
    KeyPressEvent OnKeyPress;
    KeyEvent OnKeyUp;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // The parts of the glossy face, in drawing order.
    enum FacePart : unsigned {
        kRimAndFill = 1,  // the outer border and the translucent fill
        kGlow = 2,        // the glow rising from below, while pressed
        kShineAndInnerBorder = 4,
        kWholeFace = 7,
    };
    // The glossy face, or some of its parts, on a GDI+ graphics object: outer border, face, glow,
    // shine, inner border.
    void DrawGlass(Gdiplus::GpGraphics* graphics, unsigned parts = kWholeFace);
    // The caption on the canvas, by GDI+ or by GDI (GlassPainting.cpp tells which).
    void DrawCaption(HDC canvas);

    void Invalidate();

    TGlassButtonState FState = TGlassButtonState::gbsUp;
    bool FMouseInControl = false;
    bool FMouseDownInControl = false;
    bool FDragging = false;
    bool FActive = false;

private:
    template <class T>
    void SetAndInvalidate(T& field, const T& value) {
        if (field == value)
            return;
        field = value;
        Invalidate();
    }

    // What the caption's family was chosen for, and what its fonts were made for: a paint chooses
    // again, or makes the fonts again, when any of it differs.
    struct CaptionFamilyKey {
        std::wstring fontFamily;
        std::wstring text;  // with its line breaks made
        bool operator==(const CaptionFamilyKey&) const = default;
    };
    struct CaptionFontsKey {
        GlassFont font;  // the button's font, its colour left out: the brush's and the text colour's business
        std::wstring family;
        int pixelsPerInch = 0;
        bool operator==(const CaptionFontsKey&) const = default;
    };

    // Everything the face's picture depends on: a change to any of it draws the picture again.
    struct FaceLook {
        std::uint32_t backColor = 0;
        Gdiplus::ARGB innerBorder = 0;  // the borders with system colours resolved
        Gdiplus::ARGB outerBorder = 0;
        std::uint32_t shineColor = 0;
        std::uint32_t glowColor = 0;
        int cornerRadius = 0;
        bool pressed = false;
        int width = 0;
        int height = 0;
        int pixelsPerInch = 0;
        bool alphaCanvas = false;  // drawn for a canvas of 32-bit words with alpha (see IsAlphaCanvas)
        bool operator==(const FaceLook&) const = default;
    };
    // A look drawn as premultiplied layers of the button's size, stacked from the top of one
    // canvas, which a paint composes in turn over what lies beneath; shared by the buttons of the look.
    struct LayeredPicture {
        int layers = 0;
        std::shared_ptr<const MemoryCanvas> canvas;
    };
    // The layers of the looks painted last by any button, so that a look many buttons share (the
    // sixteen trees at start-up) is drawn once and its layers once.
    static LookCache<FaceLook, LayeredPicture>& SharedFacePictures();

    // Everything a paint into the buffer depends on besides the background: a kept paint is copied
    // only for the same look over the same pixels.
    struct PaintLook {
        FaceLook face;
        std::wstring caption;
        GlassFont font;
        COLORREF captionColour = 0;  // the font's colour resolved
        bool enabled = true;
        TAntiAlias antiAlias = TAntiAlias::aaClearType;
        bool showCaption = true;
        bool operator==(const PaintLook&) const = default;
    };
    struct KeptPaint {
        std::vector<std::uint32_t> beneath;  // the buffer's pixels before the face and caption
        std::vector<std::uint32_t> painted;  // and after
    };

    FaceLook CurrentFaceLook(HDC canvas) const;
    // The face on the canvas in the look, from its layers once the look is painted a second time.
    void DrawFace(HDC canvas, const FaceLook& look);
    const LayeredPicture* LayersOf(const FaceLook& look);
    bool Pressed() const noexcept;
    void PaintParentBackground(HDC canvas);
    void PaintOverlappingSiblings(HDC canvas);
    const std::vector<TCustomGlassButton*>& GlassSiblings();
    CaptionFonts& CaptionFontsFor(const std::wstring& text);
    bool DrawCaptionGdiplus(HDC canvas, const CaptionRoute& route);
    void DrawCaptionGdi(HDC canvas, const std::wstring& text);

    void MouseEnter();
    void MouseLeave();
    void TrackLeave();
    void EndPress();
    void SettleHover(bool anew = false);

    void OnMouseMoveMessage(int x, int y);
    void OnLeftButtonDown(bool doubleClick);
    void OnLeftButtonUp(int x, int y);
    void OnOtherButton(bool down);
    void OnMouseLeaveMessage();
    bool OnKeyDownMessage(WPARAM key);
    void OnCharMessage(WPARAM ch);
    void OnKeyUpMessage(WPARAM key);
    bool OnSysCharMessage(WPARAM ch);
    LRESULT OnGetDlgCode(LPARAM lp);
    void OnSetText(const wchar_t* text);
    void OnFocusChanged(bool focused);
    void OnPaintMessage();
    void OnCaptureChanged(HWND taker);
    void OnEnableMessage(bool enabled);
    void OnPlaced();
    void OnClickMessage();

    std::wstring FName;
    std::wstring FCaption;
    GlassFont FFont;
    std::uint32_t FBackColor = 0x000000;
    std::uint32_t FInnerBorderColor = 0x000000;
    std::uint32_t FOuterBorderColor = 0xFFFFFF;
    std::uint32_t FShineColor = 0xFFFFFF;
    std::uint32_t FGlowColor = 0xFFBD8D;
    std::uint32_t FForeColor = 0xFFFFFF;
    int FCornerRadius = 4;
    bool FForceTransparent = false;
    bool FShowCaption = true;
    bool FShowFocusRect = false;
    TAntiAlias FAntiAlias = TAntiAlias::aaClearType;
    bool FEnabled = true;
    bool FTabStop = true;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 100;
    int FHeight = 32;
    int FPixelsPerInch = 96;

    // The family the caption is drawn with, and the fonts it is drawn in.
    LookCache<CaptionFamilyKey, std::wstring, 1> FCaptionFamilies;
    LookCache<CaptionFontsKey, CaptionFonts, 1> FCaptionFonts;
    // The face's layers of the looks painted more than once (see DrawFace), the buffer a paint is
    // drawn in before it is copied onto the canvas, and the last paints made in it (see DrawButton).
    LookCache<FaceLook, LayeredPicture> FFacePictures;
    std::unique_ptr<MemoryCanvas> FBuffer;
    LookCache<PaintLook, KeptPaint, 2> FPaints;
    HWND FPlacedIn = nullptr;  // the parent FLeft and FTop were last taken in

    // The parent's other glass buttons in its child order, as listed at the layout count
    // FSiblingsListed under the parent FSiblingsParent (not owned). Any glass button made,
    // destroyed, moved or restacked counts the layout on (FGlassLayout), so the list is made again.
    std::vector<TCustomGlassButton*> FGlassSiblings;
    std::uint64_t FSiblingsListed = 0;
    HWND FSiblingsParent = nullptr;
    static inline std::uint64_t FGlassLayout = 1;

    bool FPointerTracked = false;  // the platform reports the pointer leaving the window
    bool FPressBegan = false;      // a left press on this button awaits its release to click

    // The Space key since it was pressed on this button: up (or pressed elsewhere), down with its
    // character still to come, its space typed, or that space cleared by OnKeyPress.
    enum class SpaceKey { Up, Down, Typed, Cleared };
    SpaceKey FSpace = SpaceKey::Up;
};

// The push button the windows place; it adds nothing to TCustomGlassButton.
class TGlassButton : public TCustomGlassButton {};

// Offers a typed character to the parent's glass buttons as an accelerator; true when one clicked.
bool ClickGlassAccelerator(HWND parent, wchar_t ch);

}  // namespace vellicot
