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

void PlaceWindow(HWND window, int storedTop, int storedLeft, int fallbackTop, int fallbackLeft) {
    RECT outer;
    GetWindowRect(window, &outer);
    int top = storedTop;
    int left = storedLeft;
    if (!MeetsAnyWorkArea(
            RECT{left, top, left + (outer.right - outer.left), top + (outer.bottom - outer.top)})) {
        top = fallbackTop;
        left = fallbackLeft;
    }
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vellicot
