// Monitor work areas.
#include "shell/Placement.h"

namespace vellicot {
namespace {

struct Search {
    RECT window;
    bool met;
};

BOOL CALLBACK CheckMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT overlap;
    if (GetMonitorInfoW(monitor, &info) && IntersectRect(&overlap, &search->window, &info.rcWork)) {
        search->met = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool MeetsAnyWorkArea(const RECT& window) {
    Search search{window, false};
    EnumDisplayMonitors(nullptr, nullptr, &CheckMonitor, reinterpret_cast<LPARAM>(&search));
    return search.met;
}

WindowPosition DefaultPositionOf(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    return DefaultWindowPosition(outer.right - outer.left, outer.bottom - outer.top);
}

void PlaceWindow(HWND window, WindowPosition stored, WindowPosition fallback) {
    RECT outer;
    GetWindowRect(window, &outer);
    const RECT there{stored.left, stored.top, stored.left + (outer.right - outer.left),
                     stored.top + (outer.bottom - outer.top)};
    const WindowPosition place = MeetsAnyWorkArea(there) ? stored : fallback;
    SetWindowPos(window, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vellicot
