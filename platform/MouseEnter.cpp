// The pointer-entered watcher: a comctl32 subclass that tracks the pointer's leaving.
#include "platform/MouseEnter.h"

#include <memory>
#include <utility>

#include "platform/ErrorBox.h"
#include "platform/OwnedSubclass.h"

namespace vellicot {
namespace {

constexpr wchar_t kWatchProp[] = L"Vellicot.MouseEnter";

struct Watch {
    std::function<void()> onEnter;
    RECT quiet{};
    bool inside = false;    // the pointer is over the window, off the quiet area
    bool tracking = false;  // the pointer's leaving of the window is being tracked
};

// Whether this window's leaving went untracked without a WM_MOUSELEAVE (another party cancelled it
// with TME_CANCEL): the thread tracks no window at all. A thread tracks one window at a time, and
// when another window has taken the tracking, our WM_MOUSELEAVE is on its way; tracking again then
// would take it back and cost that window a false leave.
bool LeaveLost() {
    TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
    return TrackMouseEvent(&query) && query.hwndTrack == nullptr;
}

// The callback runs inside the window's procedure chain, outside the Window class's own catch.
void Report(const std::function<void()>& onEnter) noexcept {
    try {
        if (onEnter)
            onEnter();
    } catch (...) {
        ShowCurrentError();
    }
}

LRESULT WatchMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, Watch& watch) {
    switch (msg) {
        case WM_MOUSEMOVE: {
            if (!watch.tracking || LeaveLost()) {
                watch.tracking = true;
                TrackPointerLeave(hwnd);
            }
            const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (PtInRect(&watch.quiet, at)) {
                watch.inside = false;
                break;
            }
            if (watch.inside)
                break;
            watch.inside = true;
            // A copy: the callback may stop the watch or destroy the window. The window sees the move
            // before the callback runs.
            std::function<void()> onEnter = watch.onEnter;
            LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
            Report(onEnter);
            return result;
        }
        case WM_MOUSELEAVE:
            watch.inside = false;
            watch.tracking = false;
            break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

using WatchSubclass = OwnedSubclass<Watch, kWatchProp, &WatchMessage>;

}  // namespace

void WatchMouseEnter(HWND window, std::function<void()> onEnter, const RECT& quiet) {
    if (window == nullptr)
        return;
    if (Watch* watch = WatchSubclass::Find(window)) {
        watch->onEnter = std::move(onEnter);
        watch->quiet = quiet;
        return;
    }
    auto watch = std::make_unique<Watch>();
    watch->onEnter = std::move(onEnter);
    watch->quiet = quiet;
    WatchSubclass::Attach(window, std::move(watch));
}

void StopWatchingMouseEnter(HWND window) noexcept {
    WatchSubclass::Remove(window);
}

bool PointerLeaveTracked(HWND window) {
    TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
    return TrackMouseEvent(&query) && query.hwndTrack == window && (query.dwFlags & TME_LEAVE) != 0;
}

bool TrackPointerLeave(HWND window) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
    TrackMouseEvent(&track);
    if (PointerLeaveTracked(window))
        return true;
    PostMessageW(window, WM_MOUSELEAVE, 0, 0);
    return false;
}

}  // namespace vellicot
