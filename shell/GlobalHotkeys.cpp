// Registering the global hot keys.
#include "shell/GlobalHotkeys.h"

namespace vellicot {

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
