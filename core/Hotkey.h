// Global hot keys as the settings file keeps them: readable text such as "Ctrl+Alt+F9" that a player
// can also write by hand, turned into the modifier flags and virtual-key code the platform registers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellicot {

// The modifier flags, with the values the platform's hot-key registration takes.
inline constexpr std::uint32_t kHotkeyAlt = 0x1;
inline constexpr std::uint32_t kHotkeyCtrl = 0x2;
inline constexpr std::uint32_t kHotkeyShift = 0x4;
inline constexpr std::uint32_t kHotkeyWin = 0x8;

struct Hotkey {
    std::uint32_t modifiers = 0;  // kHotkeyAlt | kHotkeyCtrl | kHotkeyShift | kHotkeyWin
    std::uint32_t key = 0;        // a virtual-key code

    bool operator==(const Hotkey&) const = default;
};

// "Ctrl+Alt+F9": modifiers (Ctrl or Control, Alt, Shift, Win) in any order and any letter case, each
// at most once, then one key: A-Z, 0-9, F1-F24, Num0-Num9 and the keypad's signs, the navigation
// keys and a few others by their key-cap names. Spaces around the parts are allowed. Nothing for
// empty text or text that names no such key.
std::optional<Hotkey> ParseHotkey(std::wstring_view text);

// Whether a key may be taken from every program as a global key. A key that types text or moves the
// focus in a game (letters, digits, Space, Enter, Tab, Backspace, Esc, the arrows and every other
// key with a use of its own) needs Ctrl, Alt or Win; Shift does not count, since Shift+A types too.
// F1-F24, Pause and ScrollLock may stand alone.
bool MayBeGlobalHotkey(const Hotkey& hotkey);

// The text form ParseHotkey reads back: the modifiers in the order Ctrl, Alt, Shift, Win, then the
// key. Empty for a key that has no name here.
std::wstring FormatHotkey(const Hotkey& hotkey);

}  // namespace vellicot

namespace vellicot {

// What the global hot keys do, in the order the settings list them: start, stop and resume the
// stopwatch as its two buttons do; copy the result; start over.
enum class HotkeyAction { kStartStop, kCopy, kReset };
inline constexpr std::size_t kHotkeyActions = 3;

// One key or none for each action, indexed by HotkeyAction.
using HotkeySet = std::array<std::optional<Hotkey>, kHotkeyActions>;

}  // namespace vellicot
