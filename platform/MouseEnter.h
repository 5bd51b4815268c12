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

// Asks the platform to post WM_MOUSELEAVE to the window once the pointer leaves it, for a window
// that has just seen the pointer move over it. When the pointer is no longer over the window, as
// the platform sees it now, the leave is posted at once, as Windows does: Wine then tracks nothing
// and would never post one, and the window would take the pointer's next arrival for part of a visit
// that never ended. (That happens when the move is handled after the pointer has gone on: a quick
// pass over a small window, a thread busy for a moment, or Wine's virtual desktop putting its
// pointer back at an earlier place for a moment.) Returns whether the platform tracks the leaving.
bool TrackPointerLeave(HWND window);

// Whether the platform will post WM_MOUSELEAVE to the window when the pointer leaves it. It tracks
// one window per thread, and another window's request ends this one's; Wine ends it without a
// leave when it puts the pointer over this window at that moment.
bool PointerLeaveTracked(HWND window);

}  // namespace vellicot
