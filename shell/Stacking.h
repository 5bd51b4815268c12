// How the main window keeps itself in front: the stay-on-top style and pulling it to the foreground.
// With 最前面 ticked, the pointer's arrival on the window or any of its parts pulls it (TForm1's
// btn01MouseEnter, called by the glass buttons' OnMouseEnter and by the watch of platform/MouseEnter.h
// on the window and its system controls); the time label has no pull of its own.
#pragma once

#include "platform/Win32.h"

namespace vellicot {

// Attaches one thread's input state to another's for the scope's lifetime; detaches on every path
// out. An attachment the system refuses (a thread of 0, the same thread) is simply not undone.
class AttachedThreadInput {
public:
    AttachedThreadInput(DWORD thread, DWORD attachTo) noexcept;
    AttachedThreadInput(const AttachedThreadInput&) = delete;
    AttachedThreadInput& operator=(const AttachedThreadInput&) = delete;
    ~AttachedThreadInput();

    bool Attached() const noexcept { return attached_; }

private:
    DWORD thread_;
    DWORD attachTo_;
    bool attached_;
};

// Sets the system's foreground lock time-out for the scope's lifetime and puts the old value back on
// every path out. Both changes stay in memory: the user profile is never written. When the old value
// cannot be read, nothing is changed.
class ForegroundLockTimeoutOverride {
public:
    explicit ForegroundLockTimeoutOverride(DWORD timeout) noexcept;
    ForegroundLockTimeoutOverride(const ForegroundLockTimeoutOverride&) = delete;
    ForegroundLockTimeoutOverride& operator=(const ForegroundLockTimeoutOverride&) = delete;
    ~ForegroundLockTimeoutOverride();

private:
    DWORD saved_ = 0;
    bool changed_ = false;
};

// The flags of every stacking change: no size, no move, no activation, no owner z-order (0x0213).
inline constexpr UINT kStackingFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
static_assert(kStackingFlags == 0x0213);

// Makes the window topmost or normal; changes only its own place in the stacking order, and does
// nothing when the window already has that style.
void ApplyTopmost(HWND window, bool topmost);

// Puts the window on top of the windows of its band (topmost or not) without activating it, whether
// or not it is the foreground window.
void RaiseInItsBand(HWND window);

// Brings the main window to the foreground, past the system's foreground lock, by joining the input
// of the thread that owns the current foreground window for a moment. When our thread already owns
// the foreground window, only gives the main window the keyboard focus.
void ForceForeground(HWND main);

}  // namespace vellicot
