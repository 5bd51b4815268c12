// Where a window may open: a stored position is kept only when the window would be seen there.
#pragma once

#include "platform/Win32.h"
#include "shell/SettingsFile.h"

namespace vellicot {

// Whether a window rectangle (screen coordinates) meets the work area of any monitor.
bool MeetsAnyWorkArea(const RECT& window);

// Where the window opens by default: centred on the desktop work area, for its outer size.
WindowPosition DefaultPositionOf(HWND window);

// Moves a top-level window to its stored position, or to the fallback when the window would meet
// no monitor's work area there (a monitor since unplugged would hide it); a partly visible window
// keeps its place.
void PlaceWindow(HWND window, WindowPosition stored, WindowPosition fallback);

}  // namespace vellicot
