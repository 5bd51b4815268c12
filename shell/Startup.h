// The guarded start-up: the program's creation of its windows and its message loop run inside it,
// so an error that escapes them (a window or control that cannot be created) reaches the player
// in the standard error box instead of ending the program without a word.
#pragma once

#include <functional>

namespace vellicot {

// The exit code of a run that ended with an error at start-up.
inline constexpr int kStartupFailedExitCode = 1;

// Runs body and returns its exit code. An exception that escapes it is shown in the standard error
// box, and then kStartupFailedExitCode is returned.
int RunGuarded(const std::function<int()>& body) noexcept;

}  // namespace vellicot
