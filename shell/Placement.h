// Where windows go: the default position centred on the work area, whether a stored position would
// be seen, the dialogs' place over their owner, and the position a window keeps while it is
// minimised.
//
// Window places, saved and restored, in one view:
// - What is saved: the top-left corners of the main window (TForm1) and of the selection window
//   (TForm2), as "Form1Top2", "Form1Left2", "Form2Top2" and "Form2Left2" in the settings file. The
//   dialogs (settings, hot keys, records) save nothing: each showing puts them centred over the main
//   window (PlaceCentredOver, from their PlaceForShow).
// - When: once, as the main window closes (TForm1::WriteCloseSettings in windows/Unit1.cpp), both
//   windows at once; the selection window is saved only when it exists. What is saved is
//   RestoredPosition, so a window closed while minimised or maximised keeps its normal place.
// - How it is restored: as each window is created (TForm1::ReadSettings, TForm2::FormCreate in
//   windows/Unit2.cpp), with DefaultPositionOf standing in for a missing key; PlaceWindow then
//   falls back to that centre when the stored corner meets no monitor's work area, and starts
//   KeepNormalPlace, which follows the window's moves from then on.
// The keys and the file's reads and writes are in shell/UserSettings (LoadMainWindowSettings,
// LoadSelectionWindowPosition, SaveCloseSettings) with every other key, since one use of the file
// reads or writes all of its keys in their fixed order. The windows choose the moments, and show a
// settings file's error and go on with the defaults; this file only places windows.
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
