// The stay-on-top style and the forced foreground switch.
#include "shell/Stacking.h"

#include <vector>

#include "platform/Handles.h"

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
    // explicitly, it raises it, but Wine 8 moves a topmost window only when asked with HWND_TOPMOST,
    // not with HWND_TOP. On Windows the window is already on top here. A refused switch leaves the
    // other application in front, and its window above ours.
    if (GetForegroundWindow() == main)
        SetWindowPos(main, IsTopmost(main) ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, kStackingFlags);
}

}  // namespace vellicot
