// The stay-on-top style and the forced foreground switch.
#include "shell/Stacking.h"

#include <vector>

#include "platform/Handles.h"
#include "platform/Wine.h"

namespace vellicot {
namespace {

struct OwnedContext {
    HWND owner;
    std::vector<HWND>* owned;
};

BOOL CALLBACK CollectOwned(HWND hwnd, LPARAM lp) {
    auto* context = reinterpret_cast<OwnedContext*>(lp);
    if (GetWindow(hwnd, GW_OWNER) == context->owner)
        context->owned->push_back(hwnd);
    return TRUE;
}

// The top-level windows that this window owns, from its own thread.
std::vector<HWND> OwnedWindows(HWND owner) {
    std::vector<HWND> owned;
    OwnedContext context{owner, &owned};
    EnumThreadWindows(GetWindowThreadProcessId(owner, nullptr), &CollectOwned,
                      reinterpret_cast<LPARAM>(&context));
    return owned;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Whether no visible window is above this one in the system's stacking order.
bool FirstVisible(HWND window) {
    for (HWND above = GetWindow(window, GW_HWNDPREV); above != nullptr;
         above = GetWindow(above, GW_HWNDPREV)) {
        if (IsWindowVisible(above))
            return false;
    }
    return true;
}

// The first visible window below this one that shares its band (topmost or not), if any.
HWND NextVisibleInBand(HWND window) {
    const bool topmost = IsTopmost(window);
    for (HWND below = GetWindow(window, GW_HWNDNEXT); below != nullptr;
         below = GetWindow(below, GW_HWNDNEXT)) {
        if (IsWindowVisible(below) && IsTopmost(below) == topmost)
            return below;
    }
    return nullptr;
}

}  // namespace

AttachedThreadInput::AttachedThreadInput(DWORD thread, DWORD attachTo) noexcept
    : thread_(thread), attachTo_(attachTo), attached_(AttachThreadInput(thread, attachTo, TRUE) != FALSE) {}

AttachedThreadInput::~AttachedThreadInput() {
    if (attached_)
        AttachThreadInput(thread_, attachTo_, FALSE);
}

ForegroundLockTimeoutOverride::ForegroundLockTimeoutOverride(DWORD timeout) noexcept {
    if (!SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &saved_, 0))
        return;
    changed_ = SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                     reinterpret_cast<void*>(static_cast<UINT_PTR>(timeout)), 0) != FALSE;
}

ForegroundLockTimeoutOverride::~ForegroundLockTimeoutOverride() {
    if (changed_)
        SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                              reinterpret_cast<void*>(static_cast<UINT_PTR>(saved_)), 0);
}

void ApplyTopmost(HWND window, bool topmost) {
    if (window == nullptr || IsTopmost(window) == topmost)
        return;
    // Wine 8 refuses to make a window topmost while it owns other top-level windows, even hidden
    // ones, and makes the owned windows topmost instead. On Windows, a window made normal takes its
    // owned windows with it, and the selection window must stay topmost. So the owned windows are
    // let go for this one call and given back their owner afterwards.
    std::vector<HWND> owned = OwnedWindows(window);
    for (HWND hwnd : owned)
        SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, 0);
    ScopeExit reattach([&] {
        for (HWND hwnd : owned) {
            if (IsWindow(hwnd))
                SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(window));
        }
    });
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kStackingFlags);
}

void RaiseInItsBand(HWND window) {
    // Without its virtual desktop, Wine keeps a stacking order of its own and asks the window
    // manager to raise a window only when that order changes, and the two orders can differ. When
    // the window manager's offer of the keyboard reaches our window late (just after start, while
    // the first paint keeps its thread busy) and another program's window took the keyboard in the
    // meantime, Wine puts ours first while the other window stays over it on the screen: raising it
    // would change nothing and ask nothing. Such a window is first put behind the next window of its
    // band, which the screen already shows, and then raised. On Windows the system's order is the
    // screen's, and a window on top stays as it is.
    if (RunsUnderWine() && FirstVisible(window)) {
        if (HWND next = NextVisibleInBand(window))
            SetWindowPos(window, next, 0, 0, 0, 0, kStackingFlags);
    }
    // Wine 8 moves a topmost window only when asked with HWND_TOPMOST, not with HWND_TOP.
    SetWindowPos(window, IsTopmost(window) ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, kStackingFlags);
}

void ForceForeground(HWND main) {
    DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    DWORD processId = 0;
    DWORD ourThread = GetWindowThreadProcessId(main, &processId);
    if (ourThread == foregroundThread) {
        // Focus already inside the main window (the name box, the check box) stays where it is, and
        // while a modal window has disabled the main window, activation stays with the modal window.
        HWND focus = GetFocus();
        bool focusInside = focus == main || (focus != nullptr && IsChild(main, focus));
        if (!focusInside && IsWindowEnabled(main) && IsWindowVisible(main))
            SetFocus(main);
        return;
    }
    {
        AttachedThreadInput attachment(ourThread, foregroundThread);
        ForegroundLockTimeoutOverride noLockTimeout(0);
        LockSetForegroundWindow(LSFW_UNLOCK);
        AllowSetForegroundWindow(processId);
        SetForegroundWindow(main);
        ShowWindow(main, SW_SHOW);
    }
    // Wine 8 moves our active window out of the shared input state when the attachment is undone
    // and leaves the desktop with no foreground window at all; our thread, now on its own input,
    // can simply take the foreground. On Windows the foreground is ours here, or the other
    // application's if the switch was refused, never none.
    if (GetForegroundWindow() == nullptr)
        SetForegroundWindow(main);
    // Wine without its virtual desktop leaves the stacking to the window manager and does not raise
    // a window that takes the foreground, so another program's window would stay over ours. Asked
    // explicitly, it raises it. On Windows the window is already on top here. A refused switch
    // leaves the other application in front, and its window above ours.
    if (GetForegroundWindow() == main)
        RaiseInItsBand(main);
}

}  // namespace vellicot
