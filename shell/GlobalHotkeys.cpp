// Registering the global hot keys, and the layout that names them.
#include "shell/GlobalHotkeys.h"

namespace vellicot {

wchar_t SystemKeyboardLayout::CapOf(std::uint32_t key) const {
    // The character is in the low word; the top bit marks a dead key.
    return static_cast<wchar_t>(MapVirtualKeyW(key, MAPVK_VK_TO_CHAR) & 0xFFFF);
}

std::optional<HotkeyAction> GlobalHotkeys::ActionOf(WPARAM id) noexcept {
    if (id < 1 || id > kHotkeyActions)
        return std::nullopt;
    return static_cast<HotkeyAction>(id - 1);
}

bool GlobalHotkeys::Register(HotkeyAction action, const Hotkey& key) noexcept {
    // Held down, a key starts and stops the stopwatch once, not at the keyboard's repeat rate.
    return RegisterHotKey(window_, IdOf(action), key.modifiers | MOD_NOREPEAT, key.key) != FALSE;
}

std::optional<HotkeyAction> GlobalHotkeys::Replace(const HotkeySet& keys) {
    const HotkeySet before = held_;
    ReleaseAll();
    for (std::size_t i = 0; i < kHotkeyActions; ++i) {
        const auto action = static_cast<HotkeyAction>(i);
        if (!keys[i])
            continue;
        if (!Register(action, *keys[i])) {
            ReleaseAll();
            HoldWhatCan(before);
            return action;
        }
        held_[i] = keys[i];
    }
    return std::nullopt;
}

void GlobalHotkeys::HoldWhatCan(const HotkeySet& keys) {
    for (std::size_t i = 0; i < kHotkeyActions; ++i) {
        if (keys[i] && !held_[i] && Register(static_cast<HotkeyAction>(i), *keys[i]))
            held_[i] = keys[i];
    }
}

void GlobalHotkeys::ReleaseAll() noexcept {
    for (std::size_t i = 0; i < kHotkeyActions; ++i) {
        if (held_[i])
            UnregisterHotKey(window_, IdOf(static_cast<HotkeyAction>(i)));
        held_[i].reset();
    }
}

}  // namespace vellicot
