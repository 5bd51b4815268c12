// The balloon that tells the player of a new best (自己ベスト更新！): a tooltip window of its own that
// hangs from below the time label over the map. It takes neither the keyboard nor a click, goes by
// itself after five seconds, and goes at once when the main window moves or any window of the
// program opens. News that comes while the main window is minimised waits until it is shown again.
#pragma once

#include <optional>
#include <string>

#include "core/RunRecords.h"
#include "platform/Handles.h"
#include "platform/Win32.h"

namespace vellicot {

class NewBestBalloon {
public:
    // The main window the balloon hangs from, and the id of the timer it sets on it; the window
    // must outlive the balloon and hand it its timer's WM_TIMER (OnTimer).
    NewBestBalloon(HWND main, UINT_PTR timerId) noexcept : main_(main), timerId_(timerId) {}
    NewBestBalloon(const NewBestBalloon&) = delete;
    NewBestBalloon& operator=(const NewBestBalloon&) = delete;
    ~NewBestBalloon();

    // Tells of the record, the new best, with the best before it: at once, or when the main window
    // is next shown. tip is where the balloon's tail points, in the main window's client area, and
    // maxWidth the widest its text may run, both at the window's DPI; font is the window's font.
    void Announce(const RunRecord& record, const NewBest& best, POINT tip, int maxWidth, HFONT font);
    // The balloon goes; news still waiting for the window to be shown waits on.
    void Hide() noexcept;
    // The window's font at a new DPI.
    void SetFont(HFONT font) noexcept;

    // The main window's messages the balloon follows.
    // WM_TIMER: true when it was the balloon's own timer, which ends its showing.
    bool OnTimer(WPARAM id) noexcept;
    // WM_MOVE and WM_SIZE: a balloon left behind would point at nothing; a window shown again
    // brings the news that waited.
    void OnMainWindowPlaced() noexcept;

    bool Shown() const noexcept { return shownAt_.has_value(); }

private:
    struct Showing {
        std::wstring text;
        POINT tip;
        int maxWidth;
    };
    void Show(const Showing& showing);
    void MakeTooltip(HFONT font);
    // The client area's corner on the screen.
    POINT ClientOrigin() const noexcept;

    HWND main_;  // not owned
    UINT_PTR timerId_;
    Unique<HWND, &DestroyWindow> tooltip_;
    std::optional<Showing> waiting_;  // news for a minimised window
    std::optional<POINT> shownAt_;    // where the client area was when the balloon showed
};

}  // namespace vellicot
