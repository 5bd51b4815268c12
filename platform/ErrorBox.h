// The program's own errors and the standard box that shows them.
#pragma once

#include <string>
#include <string_view>

#include "platform/Win32.h"

namespace vellicot {

// An error whose message is shown to the player as it stands.
class AppError {
public:
    explicit AppError(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const noexcept { return message_; }

private:
    std::wstring message_;
};

// The system's own text for an error code (FormatMessageW), without the trailing line break.
std::wstring SystemErrorText(unsigned long code);

// MessageBoxW with the program's caption and an error icon, owned by the active window, with these
// buttons (MB_OK, or MB_RETRYCANCEL for a save that may be tried again); the player's answer.
int ShowErrorBox(const std::wstring& message, UINT buttons = MB_OK) noexcept;
// The same box owned by a window of the program and made the foreground window: for an error while
// another program has the keyboard (a global hot key's action), with the owner brought forward.
int ShowErrorBoxOver(HWND owner, const std::wstring& message, UINT buttons = MB_OK) noexcept;

// Shows the exception being handled in the standard error box: the program's own error with its
// message, any other with what it says. For the places where nothing may escape (a window
// procedure, a subclass callback, the start-up); call it only inside a catch block.
void ShowCurrentError() noexcept;

}  // namespace vellicot
