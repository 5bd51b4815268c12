// Work areas, monitors and window placements.
#include "shell/Placement.h"

#include <memory>
#include <utility>

#include "platform/OwnedSubclass.h"

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

constexpr wchar_t kNormalPlaceProp[] = L"Vellicot.NormalPlace";

// A window manager that animates the minimising (openbox does) moves the window towards its icon in
// quick steps just before it reports it minimised, and under Wine each step is a move of the window;
// how many of the steps come through varies from run to run, one or none among them. Moves that
// follow each other within kSettledMs and end in a minimising are those steps, and so is a single
// move that the minimising follows within kMinimiseStepMs: no person moves a window and then
// minimises it that quickly. A drag is many quick moves too, but they come inside the system's
// move-or-size loop (WM_ENTERSIZEMOVE .. WM_EXITSIZEMOVE): each of them is a place the player chose.
constexpr DWORD kSettledMs = 400;
constexpr DWORD kMinimiseStepMs = 100;

struct NormalPlace {
    WindowPosition position;  // the latest place while shown normally
    WindowPosition settled;   // the latest place that was held kSettledMs or longer before a move
    DWORD since = 0;          // when position was taken
    int quickMoves = 0;       // moves since settled was taken
    bool minimised = false;
    bool dragging = false;  // inside the move-or-size loop, or right after it
};

// Posted at the end of the move-or-size loop. Wine moves a window dragged without its contents
// after WM_EXITSIZEMOVE, in the same call, so the loop's moves end when this arrives.
UINT DragEndedMessage() {
    static const UINT message = RegisterWindowMessageW(L"Vellicot.NormalPlace.DragEnded");
    return message;
}

bool ShownNormally(HWND window) {
    return !IsIconic(window) && !IsZoomed(window);
}

SIZE OuterSize(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

WindowPosition CurrentPosition(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.top, rect.left};
}

LRESULT NormalPlaceMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, NormalPlace& kept) {
    switch (msg) {
        case WM_WINDOWPOSCHANGED: {
            // A window being minimised is already minimised here, at its parking place.
            const bool minimised = IsIconic(hwnd) != FALSE;
            const DWORD sinceMove = GetTickCount() - kept.since;
            if (minimised && !kept.minimised &&
                ((kept.quickMoves > 1 && sinceMove < kSettledMs) ||
                 (kept.quickMoves == 1 && sinceMove < kMinimiseStepMs)))
                kept.position = kept.settled;  // the last moves were the minimising's own
            kept.minimised = minimised;
            if (!ShownNormally(hwnd))
                break;
            // A place on no monitor is never one to come back to.
            const WindowPosition now = CurrentPosition(hwnd);
            const SIZE outer = OuterSize(hwnd);
            if (now == kept.position || !MeetsAnyWorkArea(now, outer.cx, outer.cy))
                break;
            const DWORD tick = GetTickCount();
            if (kept.dragging) {
                kept.settled = now;
                kept.quickMoves = 0;
            } else {
                if (tick - kept.since >= kSettledMs) {
                    kept.settled = kept.position;
                    kept.quickMoves = 0;
                }
                ++kept.quickMoves;
            }
            kept.position = now;
            kept.since = tick;
            break;
        }
        case WM_ENTERSIZEMOVE:
            kept.dragging = true;
            break;
        case WM_EXITSIZEMOVE:
            PostMessageW(hwnd, DragEndedMessage(), 0, 0);
            break;
    }
    if (msg == DragEndedMessage() && msg != 0) {
        kept.dragging = false;
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

using NormalPlaceSubclass = OwnedSubclass<NormalPlace, kNormalPlaceProp, &NormalPlaceMessage>;

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
    KeepNormalPlace(window);
}

void KeepNormalPlace(HWND window) {
    if (window == nullptr || NormalPlaceSubclass::Find(window) != nullptr)
        return;
    auto kept = std::make_unique<NormalPlace>();
    kept->position = CurrentPosition(window);
    kept->settled = kept->position;
    kept->since = GetTickCount() - kSettledMs;
    kept->minimised = IsIconic(window) != FALSE;
    NormalPlaceSubclass::Attach(window, std::move(kept));
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
    if (!ShownNormally(window)) {
        if (const NormalPlace* kept = NormalPlaceSubclass::Find(window))
            return kept->position;
    }
    return CurrentPosition(window);
}

}  // namespace vellicot
