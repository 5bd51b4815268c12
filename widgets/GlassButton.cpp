// The glass button: its properties and its pointer and keyboard handling.
// Its painting lives in GlassPainting.cpp.
#include "widgets/GlassButton.h"

#include <optional>

#include "platform/Handles.h"
#include "platform/MouseEnter.h"

namespace vellicot {
namespace {

bool InClient(int x, int y, int width, int height) {
    return x >= 0 && y >= 0 && x < width && y < height;
}

}  // namespace

TCustomGlassButton::TCustomGlassButton() = default;

// The window outlives this destructor by a moment (Window's destructor destroys it once it no longer
// reaches this object), so its WM_DESTROY never counts the layout on: the object's end does, and no
// sibling keeps this object in its list of glass buttons beneath it.
TCustomGlassButton::~TCustomGlassButton() {
    ++FGlassLayout;
}

void TCustomGlassButton::Create(HWND parent, int controlId, int left, int top, int width, int height) {
    RegisterWindowClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    DWORD style =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (FTabStop ? WS_TABSTOP : 0) | (FEnabled ? 0 : WS_DISABLED);
    CreateHandle(0, kClassName, FCaption.c_str(), style, left, top, width, height, parent,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)));
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

void TCustomGlassButton::SetPixelsPerInch(int value) {
    if (value < 1)
        return;
    SetAndInvalidate(FPixelsPerInch, value);
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

// --- Pointer tracking ---------------------------------------------------------------------------

// Asks the platform to report the pointer leaving the window (WM_MOUSELEAVE), once.
void TCustomGlassButton::TrackLeave() {
    FPointerTracked = TrackPointerLeave(Handle());
}

void TCustomGlassButton::MouseEnter() {
    FMouseInControl = true;
    if (OnMouseEnter)
        OnMouseEnter(*this);
}

void TCustomGlassButton::MouseLeave() {
    FMouseInControl = false;
    if (OnMouseLeave)
        OnMouseLeave(*this);
}

void TCustomGlassButton::OnMouseMoveMessage(int x, int y) {
    bool inside = InClient(x, y, FWidth, FHeight);
    if (FDragging) {
        // The press holds the pointer; its release settles enter or leave anew (SettleHover).
        TGlassButtonState state = inside ? TGlassButtonState::gbsDown : TGlassButtonState::gbsUp;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
        // No leave is reported while the press holds the pointer: dragged off, the pointer is no
        // longer over the button all the same, though OnMouseLeave waits for the release.
        if (!inside && FMouseInControl) {
            FMouseInControl = false;
            if (FEnabled)
                Invalidate();
        }
    } else if (!FMouseInControl && inside) {
        // The first move inside while the pointer is not known to be here is the pointer-entered
        // notification; TrackLeave brings the matching WM_MOUSELEAVE.
        TrackLeave();
        MouseEnter();
    } else if (!FMouseInControl) {
        // A move outside while the pointer is not known to be here: what is known of it is stale.
        SettleHover(true);
    } else if (!FPointerTracked || !PointerLeaveTracked(Handle())) {
        // A leave reported while a press held the pointer was spent, or another window's request
        // ended the tracking with no leave (Wine, its pointer put back over this button for a
        // moment): ask for the next one.
        TrackLeave();
    }
    if (OnMouseMove)
        OnMouseMove(*this);
}

void TCustomGlassButton::OnMouseLeaveMessage() {
    FPointerTracked = false;
    // During a press the release settles enter or leave anew (SettleHover). A leave for a
    // pointer already known to be gone is a late report of an earlier tracking (Wine 10 delivers
    // the one asked for before a press once the press has ended) and no leave of its own.
    if (GetCapture() == Handle() || !FMouseInControl)
        return;
    if (FEnabled)
        Invalidate();
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
        SettleHover(true);
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

// Hover and leave tracking follow where the pointer really is. Once the capture has ended: while a
// press held the capture, a reported leave was spent and moves elsewhere went to the press; and while
// another window holds the capture, this one sees no moves at all. Without this the hover could stay
// set with nothing tracked, and the next entry would not be one.
// Anew, what the button knew of the pointer is stale (a press held its reports back, or a move came
// from outside while it was not known here): a disabled button is left alone, and an enabled one
// asks for the leave and reports the enter or the leave as the pointer now stands, even when it
// reported that before.
void TCustomGlassButton::SettleHover(bool anew) {
    if (anew && !FEnabled)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (FEnabled && WindowFromPoint(cursor) == Handle()) {
        if (anew || !FPointerTracked)
            TrackLeave();
        if (anew || !FMouseInControl)
            MouseEnter();
        return;
    }
    if (FPointerTracked) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_CANCEL, Handle(), 0};
        TrackMouseEvent(&track);
        FPointerTracked = false;
    }
    if (anew || FMouseInControl) {
        if (FEnabled && FMouseInControl)
            Invalidate();
        MouseLeave();
    }
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
    if (key == VK_SPACE) {
        // Held down, the key repeats; the click still comes once, at the release.
        if (FSpace == SpaceKey::Up)
            FSpace = SpaceKey::Down;
        return true;
    }
    bool modifier = GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    if (key == VK_RETURN && FActive && !modifier && CanFocus()) {
        Click();
        return true;
    }
    return false;
}

void TCustomGlassButton::OnCharMessage(WPARAM wp) {
    wchar_t ch = static_cast<wchar_t>(wp);
    const bool fromSpaceKey = ch == L' ' && FSpace != SpaceKey::Up;
    if (OnKeyPress)
        OnKeyPress(*this, ch);
    if (fromSpaceKey) {
        // The Space key's own character: the release clicks, unless a handler cleared it.
        if (FSpace == SpaceKey::Down)
            FSpace = ch == L' ' ? SpaceKey::Typed : SpaceKey::Cleared;
    } else if (ch == L' ') {
        Click();
    }
}

// Alt and a letter: the parent's glass buttons are offered it as an accelerator; true when one clicked.
bool TCustomGlassButton::OnSysCharMessage(WPARAM ch) {
    return ClickGlassAccelerator(GetParent(Handle()), static_cast<wchar_t>(ch));
}

// Space clicks as it does a standard push button, at the release of a key pressed on the button,
// whatever became of the character it typed: a dialog manager may take that character as another
// control's accelerator. When the character never came, the key-press handler still sees a space.
void TCustomGlassButton::OnKeyUpMessage(WPARAM wp) {
    WORD key = static_cast<WORD>(wp);
    if (OnKeyUp)
        OnKeyUp(*this, key);
    if (static_cast<WORD>(wp) != VK_SPACE)
        return;
    const SpaceKey space = FSpace;
    FSpace = SpaceKey::Up;
    if (key != VK_SPACE || space == SpaceKey::Up || space == SpaceKey::Cleared)
        return;
    wchar_t ch = L' ';
    if (space == SpaceKey::Down && OnKeyPress)
        OnKeyPress(*this, ch);
    if (ch == L' ')
        Click();
}

void TCustomGlassButton::OnFocusChanged(bool focused) {
    FActive = focused;
    FSpace = SpaceKey::Up;  // a Space pressed here is released elsewhere
    Invalidate();
}

void TCustomGlassButton::OnSetText(const wchar_t* text) {
    std::wstring_view value = text != nullptr ? std::wstring_view(text) : std::wstring_view();
    if (value == FCaption)
        return;
    FCaption = value;
    Invalidate();
}

// --- Capture, enabling and placement -------------------------------------------------------------

void TCustomGlassButton::OnCaptureChanged(HWND taker) {
    if (taker == Handle())
        return;
    EndPress();
    SettleHover();
}

void TCustomGlassButton::OnEnableMessage(bool enabled) {
    FEnabled = enabled;
    Invalidate();
}

// Moved, sized or restacked: the glass layout counts on, and the bounds follow the window.
void TCustomGlassButton::OnPlaced() {
    ++FGlassLayout;
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    FPlacedIn = GetParent(Handle());
    MapWindowPoints(HWND_DESKTOP, FPlacedIn, reinterpret_cast<POINT*>(&bounds), 2);
    FLeft = bounds.left;
    FTop = bounds.top;
    FWidth = bounds.right - bounds.left;
    FHeight = bounds.bottom - bounds.top;
}

void TCustomGlassButton::OnClickMessage() {
    if (FEnabled)
        Click();
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
            // The system's handling makes the right button's release a WM_CONTEXTMENU, which goes
            // on to the parent: a right click on a button opens its window's menu.
            OnOtherButton(false);
            break;
        case WM_MBUTTONUP:
            OnOtherButton(false);
            return 0;
        case WM_CAPTURECHANGED:
            OnCaptureChanged(reinterpret_cast<HWND>(lp));
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
        case WM_KEYUP:
            OnKeyUpMessage(wp);
            return 0;
        case WM_CHAR:
            OnCharMessage(wp);
            return 0;
        case WM_SYSCHAR:
            if (OnSysCharMessage(wp))
                return 0;
            break;
        case WM_SETTEXT:
            OnSetText(reinterpret_cast<const wchar_t*>(lp));
            return Window::HandleMessage(msg, wp, lp);
        case WM_ENABLE:
            OnEnableMessage(wp != FALSE);
            return 0;
        case WM_WINDOWPOSCHANGED:
            OnPlaced();
            break;
        case WM_CREATE:
        case WM_DESTROY:
            ++FGlassLayout;
            break;
        case BM_CLICK:
            OnClickMessage();
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

// --- Accelerators ---------------------------------------------------------------------------------

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
