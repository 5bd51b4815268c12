// Reports the pointer entering a window, for any window: our own and system controls alike.
#pragma once

#include <functional>

#include "platform/Win32.h"

namespace vellicot {

// From now until the window is destroyed, calls onEnter each time the pointer moves onto the
// window's client area after being off it. A parent does not see the pointer while it is over a
// child, so moving from a child back to the parent's free area counts as entering the parent again.
// A quiet area (client coordinates) is a part of the window that has no entering of its own, like a
// label the window paints: the pointer over it counts as off the window, so entering over it reports
// nothing and moving from it onto the rest of the window reports an entering.
// Watching a window again replaces its callback and quiet area. Call on the window's own thread.
void WatchMouseEnter(HWND window, std::function<void()> onEnter, const RECT& quiet = RECT{});

// Stops the reports for this window; does nothing when it is not watched.
void StopWatchingMouseEnter(HWND window) noexcept;

}  // namespace vellicot
