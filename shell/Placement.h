// Where a window may open: a stored position is kept only when the window would be seen there.
#pragma once

#include "platform/Win32.h"

namespace vellicot {

// Whether a window rectangle (screen coordinates) meets the work area of any monitor.
bool MeetsAnyWorkArea(const RECT& window);

}  // namespace vellicot
