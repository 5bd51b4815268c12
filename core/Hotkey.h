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

// What only the platform knows of a key's name: the character its cap shows in the player's
// keyboard layout (the one it types without Shift), or 0 for none. Tests give a layout of their own.
class KeyboardLayout {
public:
    virtual wchar_t CapOf(std::uint32_t key) const = 0;

protected:
    ~KeyboardLayout() = default;
};

// "Ctrl+Alt+F9": modifiers (Ctrl or Control, Alt, Shift, Win) in any order and any letter case, each
// at most once, then one key: A-Z, 0-9, F1-F24, Num0-Num9 and the keypad's signs (Num*, Num+, Num-,
// Num., Num/), the navigation keys and a few others by their key-cap names, and a punctuation key by
// the character its cap shows in the layout ("Ctrl+Alt+/", "Ctrl+Shift++") or by the platform's name
// for it (Oem1-Oem8, Oem102, OemPlus, OemComma, OemMinus, OemPeriod). Spaces around the parts are
// allowed ("Ctrl + Num +"). Nothing for empty text or text that names no such key.
std::optional<Hotkey> ParseHotkey(std::wstring_view text, const KeyboardLayout& layout);

// Whether a key may be taken from every program as a global key, so that no shortcut of the system
// or of ordinary programs is lost: F1-F24 but F12 (the debuggers'), Pause and ScrollLock alone; a
// letter, digit or symbol (the punctuation and keypad keys included), or one of those keys, with two
// or three of Ctrl, Alt and Shift. Never Win (the system's), the keys that move, confirm or edit
// (Esc, Tab, Enter, Space, Backspace, the arrows, Home, End, PageUp, PageDown, Insert, Delete),
// NumLock and the input-method keys, nor any key with a single modifier (Ctrl+C, Alt+F4, Shift+F10).
bool MayBeGlobalHotkey(const Hotkey& hotkey);

// The text form ParseHotkey reads back with the same layout: the modifiers in the order Ctrl, Alt,
// Shift, Win, then the key, a punctuation key by its cap's character when that names it alone.
// Empty for a key that has no name here.
std::wstring FormatHotkey(const Hotkey& hotkey, const KeyboardLayout& layout);

}  // namespace vellicot

namespace vellicot {

// What the global hot keys do, in the order the settings list them: start, stop and resume the
// stopwatch as its two buttons do; copy the result; start over.
enum class HotkeyAction { kStartStop, kCopy, kReset };
inline constexpr std::size_t kHotkeyActions = 3;

// One key or none for each action, indexed by HotkeyAction.
using HotkeySet = std::array<std::optional<Hotkey>, kHotkeyActions>;

}  // namespace vellicot
