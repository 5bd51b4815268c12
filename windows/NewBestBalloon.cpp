// The new-best balloon: its tooltip window, its text, where it hangs and how long.
#include "windows/NewBestBalloon.h"

#include <commctrl.h>

namespace vellicot {
namespace {

constexpr UINT kShownMs = 5000;
constexpr UINT_PTR kToolId = 1;

TTTOOLINFOW ToolOf(HWND main, wchar_t* text = nullptr) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = main;
    tool.uId = kToolId;
    tool.lpszText = text;
    return tool;
}

}  // namespace

NewBestBalloon::~NewBestBalloon() {
    if (IsWindow(main_))
        KillTimer(main_, timerId_);
}

void NewBestBalloon::MakeTooltip(HFONT font) {
    // A tracking balloon is a window of its own, shown without activation: the main window keeps its
    // layout, captions, title and place in the stacking, and the game keeps the keyboard. Layered
    // and transparent, it is left out of the platform's search for the window under the pointer, so
    // a click on it lands on the tree or the map beneath, on Windows and under Wine alike. It has no
    // owner: under openbox a window that a topmost balloon belongs to is no longer raised (the
    // pointer's hover-to-front, a hot key's error box), so it goes with the main window instead.
    HWND tooltip = CreateWindowExW(
        WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE, TOOLTIPS_CLASSW, nullptr,
        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_BALLOON, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tooltip == nullptr)
        return;  // the news goes untold: nothing else depends on it
    tooltip_.reset(tooltip);
    SetLayeredWindowAttributes(tooltip, 0, 255, LWA_ALPHA);
    TTTOOLINFOW tool = ToolOf(main_, const_cast<wchar_t*>(L""));
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip, TTM_SETTITLEW, TTI_INFO, reinterpret_cast<LPARAM>(L"自己ベスト更新！"));
    // The window's own font, as the name box has, rather than the system's tooltip font: under Wine
    // 10 the system's drew this text as boxes, in a prefix whose font replacements give the window's
    // font its Japanese characters.
    SetFont(font);
}

void NewBestBalloon::Announce(const RunRecord& record, const NewBest& best, POINT tip, int maxWidth,
                              HFONT font) {
    Showing showing{FormatRunTime(record.elapsedMs), tip, maxWidth};
    if (best.previousMs)
        showing.text += L"\r\nこれまでの自己ベスト　" + FormatRunTime(*best.previousMs);
    if (tooltip_ == nullptr)
        MakeTooltip(font);
    if (IsIconic(main_)) {
        // Shown at the minimised window's parking place it would be seen by nobody: it waits.
        Hide();
        waiting_ = std::move(showing);
        return;
    }
    Show(showing);
}

void NewBestBalloon::Show(const Showing& showing) {
    waiting_.reset();
    if (tooltip_ == nullptr)
        return;
    std::wstring text = showing.text;
    TTTOOLINFOW tool = ToolOf(main_, text.data());
    HWND tooltip = tooltip_.get();
    SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, showing.maxWidth);
    POINT tip = showing.tip;
    ClientToScreen(main_, &tip);
    shownAt_ = ClientOrigin();
    SendMessageW(tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(tip.x, tip.y));
    SendMessageW(tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    SetTimer(main_, timerId_, kShownMs, nullptr);
}

void NewBestBalloon::Hide() noexcept {
    KillTimer(main_, timerId_);
    if (!shownAt_)
        return;
    shownAt_.reset();
    TTTOOLINFOW tool = ToolOf(main_);
    SendMessageW(tooltip_.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void NewBestBalloon::SetFont(HFONT font) noexcept {
    if (tooltip_ != nullptr)
        SendMessageW(tooltip_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

bool NewBestBalloon::OnTimer(WPARAM id) noexcept {
    if (id != timerId_)
        return false;
    Hide();
    return true;
}

void NewBestBalloon::OnMainWindowPlaced() noexcept {
    if (IsIconic(main_)) {
        Hide();
        return;
    }
    if (waiting_) {
        const Showing showing = *waiting_;
        Show(showing);
        return;
    }
    // A window manager reports moves to the same place as well (openbox at a click), which leave
    // the balloon where it is.
    if (shownAt_) {
        const POINT origin = ClientOrigin();
        if (origin.x != shownAt_->x || origin.y != shownAt_->y)
            Hide();
    }
}

POINT NewBestBalloon::ClientOrigin() const noexcept {
    POINT origin{0, 0};
    ClientToScreen(main_, &origin);
    return origin;
}

}  // namespace vellicot
