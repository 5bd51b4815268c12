// Where windows go: the default position centred on the work area, whether a stored position would
// be seen, the settings dialog's place over its owner, and the position a window keeps while it is
// minimised.
#pragma once

#include <algorithm>

#include "platform/Win32.h"

namespace vellicot {

struct WindowPosition {
    int top = 0;
    int left = 0;

    bool operator==(const WindowPosition&) const = default;
};

namespace placement_detail {

// ⌊value / 2⌋, also for negative values (a window larger than the area).
constexpr long long FloorHalf(long long value) noexcept {
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

}  // namespace placement_detail

// A window of the outer size centred on the area: origin + ⌊area / 2 − window / 2⌋ on each axis.
constexpr WindowPosition CentredIn(const RECT& area, int outerWidth, int outerHeight) noexcept {
    const long long height = static_cast<long long>(area.bottom) - area.top;
    const long long width = static_cast<long long>(area.right) - area.left;
    return {static_cast<int>(area.top + placement_detail::FloorHalf(height - outerHeight)),
            static_cast<int>(area.left + placement_detail::FloorHalf(width - outerWidth))};
}

// Whether a window of the outer size at the position shares at least one pixel with the area. Worked
// out in 64 bits, so any position the settings file holds is safe to test.
constexpr bool MeetsArea(const RECT& area, WindowPosition position, int outerWidth,
                         int outerHeight) noexcept {
    const long long left = position.left, top = position.top;
    return std::max<long long>(left, area.left) < std::min<long long>(left + outerWidth, area.right) &&
           std::max<long long>(top, area.top) < std::min<long long>(top + outerHeight, area.bottom);
}

// The settings dialog's place: centred over its owner's outer rectangle (halves rounded towards
// zero), then moved as little as needed to lie inside the work area, its top-left corner first.
constexpr WindowPosition CentredOver(const RECT& owner, const RECT& workArea, int width,
                                     int height) noexcept {
    long long left = owner.left + (static_cast<long long>(owner.right) - owner.left - width) / 2;
    long long top = owner.top + (static_cast<long long>(owner.bottom) - owner.top - height) / 2;
    left = std::max<long long>(workArea.left,
                               std::min<long long>(left, static_cast<long long>(workArea.right) - width));
    top = std::max<long long>(workArea.top,
                              std::min<long long>(top, static_cast<long long>(workArea.bottom) - height));
    return {static_cast<int>(top), static_cast<int>(left)};
}

// Centred on the desktop work area (SPI_GETWORKAREA), the work area's origin included.
WindowPosition DefaultWindowPosition(int outerWidth, int outerHeight);

// Where the window opens by default: centred on the desktop work area, for its outer size.
WindowPosition DefaultPositionOf(HWND window);

// Whether a window of the outer size at the position meets the work area of any monitor.
bool MeetsAnyWorkArea(WindowPosition position, int outerWidth, int outerHeight);

// Moves a top-level window to its stored position, or to the fallback when the window would meet
// no monitor's work area there (a monitor since unplugged would hide it); a partly visible window
// keeps its place. From then on the window keeps its normal place (KeepNormalPlace).
void PlaceWindow(HWND window, WindowPosition stored, WindowPosition fallback);

// From now until the window is destroyed, notes where the window is each time it moves while it is
// neither minimised nor maximised, so RestoredPosition can tell its place while it is. Keeping a
// window again changes nothing. Call on the window's own thread.
void KeepNormalPlace(HWND window);

// Moves the window to its place centred over the owner (CentredOver) on the owner's monitor; with no
// owner, centred on the window's own monitor's work area.
void PlaceCentredOver(HWND window, HWND owner);

// The top-left corner the window has when shown normally, in screen coordinates: where it is now,
// or, while it is minimised or maximised, the last place it had while shown normally, as kept since
// KeepNormalPlace (a window not kept reports where it is). The window's own moves tell it, not the
// system's restore rectangle, whose coordinates differ between platforms.
WindowPosition RestoredPosition(HWND window);

}  // namespace vellicot
