// The error box of a command that a global hot key started, while another program may have the
// keyboard: it stands in front of that program with the main window beneath it, a key pressed while
// it is open brings it forward again, and once it is dismissed the keyboard goes back to the
// program the key was pressed in.
#pragma once

#include <string>

#include "platform/Win32.h"

namespace vellicot {

class ErrorBoxInFront {
public:
    // The main window that owns the box, and the id of the timer the box sets on it; the window must
    // outlive this object and hand it its timer's WM_TIMER (OnTimer).
    ErrorBoxInFront(HWND main, UINT_PTR timerId) noexcept : main_(main), timerId_(timerId) {}

    // A hot key's command begins: the window that has the keyboard now gets it back after a box.
    void Begin() noexcept;
    // Shows the box with these buttons (MB_OK, MB_RETRYCANCEL) until it is answered; the answer.
    int Show(const std::wstring& message, UINT buttons);
    // The command has ended: a box took the keyboard, and it goes back.
    void End() noexcept;

    // Whether the box is open now.
    bool Open() const noexcept { return open_; }
    // Brings the open box, and the main window beneath it, to the front again.
    void BringForward() noexcept;
    // WM_TIMER: true when it was the box's own timer.
    bool OnTimer(WPARAM id) noexcept;

private:
    HWND main_;  // not owned
    UINT_PTR timerId_;
    HWND keyboardBefore_ = nullptr;  // not owned
    bool open_ = false;
    bool shown_ = false;  // a box was shown during this command
};

}  // namespace vellicot
