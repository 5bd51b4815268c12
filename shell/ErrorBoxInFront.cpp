// The hot keys' error box, in front of the program the key was pressed in.
#include "shell/ErrorBoxInFront.h"

#include "platform/ErrorBox.h"
#include "shell/Stacking.h"

namespace vellicot {
namespace {

// How often the box's own loop looks whether the box shows yet.
constexpr UINT kLookMs = 50;

}  // namespace

void ErrorBoxInFront::Begin() noexcept {
    keyboardBefore_ = GetForegroundWindow();
    shown_ = false;
}

int ErrorBoxInFront::Show(const std::wstring& message, UINT buttons) {
    // The key was pressed in another program, where no window of ours is active: the main window
    // comes to the front with its box over it (a window manager keeps a box with its owner), and
    // while the box is open the window is disabled, so a second press opens no second box. The
    // switch can be refused or taken back by the other program, and a main window that is not
    // raised before its box opens gets a box just above itself, behind the program that has the
    // keyboard (openbox puts it there). So once the box shows, it is brought forward with the main
    // window beneath it.
    open_ = true;
    shown_ = true;
    ForceForeground(main_);
    SetTimer(main_, timerId_, kLookMs, nullptr);
    const int answer = ShowErrorBoxOver(main_, message, buttons);
    KillTimer(main_, timerId_);
    open_ = false;
    return answer;
}

void ErrorBoxInFront::End() noexcept {
    // Dismissed, the box hands activation to the main window; the player was in another program.
    HWND before = keyboardBefore_;
    keyboardBefore_ = nullptr;
    if (shown_ && before != nullptr && before != main_ && IsWindow(before))
        SetForegroundWindow(before);
    shown_ = false;
}

bool ErrorBoxInFront::OnTimer(WPARAM id) noexcept {
    if (id != timerId_)
        return false;
    // The box's own loop runs this until the box is visible.
    HWND box = GetLastActivePopup(main_);
    if (box != main_ && IsWindowVisible(box)) {
        KillTimer(main_, timerId_);
        BringForward();
    }
    return true;
}

void ErrorBoxInFront::BringForward() noexcept {
    HWND box = GetLastActivePopup(main_);
    ForceForeground(main_);
    SetForegroundWindow(box);
    // Raised explicitly, the main window first and then the box: the foreground switch may have
    // been refused, and Wine without its virtual desktop leaves the stacking to the window manager.
    RaiseInItsBand(main_);
    if (box != main_)
        RaiseInItsBand(box);
}

}  // namespace vellicot
