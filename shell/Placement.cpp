// Work areas, monitors and window placements.
#include "shell/Placement.h"

namespace vellicot {
namespace {

struct Search {
    WindowPosition position;
    int width;
    int height;
    bool met;
};

BOOL CALLBACK CheckMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info) &&
        MeetsArea(info.rcWork, search->position, search->width, search->height)) {
        search->met = true;
        return FALSE;
    }
    return TRUE;
}

SIZE OuterSize(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

}  // namespace

WindowPosition DefaultWindowPosition(int outerWidth, int outerHeight) {
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return CentredIn(area, outerWidth, outerHeight);
}

WindowPosition DefaultPositionOf(HWND window) {
    const SIZE outer = OuterSize(window);
    return DefaultWindowPosition(outer.cx, outer.cy);
}

bool MeetsAnyWorkArea(WindowPosition position, int outerWidth, int outerHeight) {
    Search search{position, outerWidth, outerHeight, false};
    EnumDisplayMonitors(nullptr, nullptr, &CheckMonitor, reinterpret_cast<LPARAM>(&search));
    return search.met;
}

void PlaceWindow(HWND window, WindowPosition stored, WindowPosition fallback) {
    const SIZE outer = OuterSize(window);
    const WindowPosition place = MeetsAnyWorkArea(stored, outer.cx, outer.cy) ? stored : fallback;
    SetWindowPos(window, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceCentredOver(HWND window, HWND owner) {
    const SIZE outer = OuterSize(window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT centre = monitor.rcWork;
    if (owner != nullptr)
        GetWindowRect(owner, &centre);
    const WindowPosition place = CentredOver(centre, monitor.rcWork, outer.cx, outer.cy);
    SetWindowPos(window, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowPosition RestoredPosition(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT rect;
    if (!GetWindowPlacement(window, &placement)) {
        GetWindowRect(window, &rect);
        return {rect.top, rect.left};
    }
    rect = placement.rcNormalPosition;
    // A tool window's placement is in screen coordinates already.
    if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        // For a minimised window this is the monitor of its restored place.
        if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
            rect = ScreenFromWorkspace(rect, monitor.rcMonitor, monitor.rcWork);
    }
    return {rect.top, rect.left};
}

}  // namespace vellicot
