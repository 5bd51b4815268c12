// The global hot keys a window holds: registered with the system so that they reach the window
// whichever program has the keyboard, and released when the window lets them go; and the keyboard
// layout that names their keys as the player's key caps show them.
#pragma once

#include <optional>

#include "core/Hotkey.h"
#include "platform/Win32.h"

namespace vellicot {

// The keyboard layout of the calling thread, the one the player types with.
class SystemKeyboardLayout final : public KeyboardLayout {
public:
    // The key's character without Shift; a dead key (an accent typed before its letter) gives the
    // accent its cap shows.
    wchar_t CapOf(std::uint32_t key) const override;
};

class GlobalHotkeys {
public:
    // The WM_HOTKEY id of an action.
    static constexpr int IdOf(HotkeyAction action) noexcept { return static_cast<int>(action) + 1; }
    // The action of a WM_HOTKEY id, or nothing for an id that is not one of ours.
    static std::optional<HotkeyAction> ActionOf(WPARAM id) noexcept;

    explicit GlobalHotkeys(HWND window) noexcept : window_(window) {}
    GlobalHotkeys(const GlobalHotkeys&) = delete;
    GlobalHotkeys& operator=(const GlobalHotkeys&) = delete;
    ~GlobalHotkeys() { ReleaseAll(); }

    // Holds exactly these keys from now on. When the system refuses one (another program holds the
    // combination), the keys held before are held again and the refused action is returned.
    std::optional<HotkeyAction> Replace(const HotkeySet& keys);
    // Holds what it can of these keys, as at start-up, where a refused key is simply not held.
    void HoldWhatCan(const HotkeySet& keys);
    void ReleaseAll() noexcept;

    const HotkeySet& Held() const noexcept { return held_; }

private:
    bool Register(HotkeyAction action, const Hotkey& key) noexcept;

    HWND window_;  // not owned
    HotkeySet held_;
};

}  // namespace vellicot
