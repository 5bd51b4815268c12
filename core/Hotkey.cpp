// Hot keys as text: one table of key names serves both directions.
#include "core/Hotkey.h"

#include <array>
#include <vector>

#include "core/Text.h"

namespace vellicot {
namespace {

struct KeyName {
    std::uint32_t key;
    std::wstring_view name;
};

// Keys named here besides letters, digits and function keys. The punctuation keys carry the
// platform's names as well, for a layout whose cap shows no character of its own.
constexpr std::array<KeyName, 38> kNamedKeys = {{
    {0x08, L"Backspace"},  {0x09, L"Tab"},       {0x0D, L"Enter"},      {0x13, L"Pause"},
    {0x1B, L"Esc"},        {0x1C, L"Convert"},   {0x1D, L"NonConvert"}, {0x20, L"Space"},
    {0x21, L"PageUp"},     {0x22, L"PageDown"},  {0x23, L"End"},        {0x24, L"Home"},
    {0x25, L"Left"},       {0x26, L"Up"},        {0x27, L"Right"},      {0x28, L"Down"},
    {0x2D, L"Insert"},     {0x2E, L"Delete"},    {0x6A, L"Num*"},       {0x6B, L"Num+"},
    {0x6D, L"Num-"},       {0x6E, L"Num."},      {0x6F, L"Num/"},       {0x90, L"NumLock"},
    {0x91, L"ScrollLock"}, {0xBA, L"Oem1"},      {0xBB, L"OemPlus"},    {0xBC, L"OemComma"},
    {0xBD, L"OemMinus"},   {0xBE, L"OemPeriod"}, {0xBF, L"Oem2"},       {0xC0, L"Oem3"},
    {0xDB, L"Oem4"},       {0xDC, L"Oem5"},      {0xDD, L"Oem6"},       {0xDE, L"Oem7"},
    {0xDF, L"Oem8"},       {0xE2, L"Oem102"},
}};

struct ModifierName {
    std::uint32_t flag;
    std::wstring_view name;
};
// In the order they are written; "Control" is read as well.
constexpr std::array<ModifierName, 4> kModifiers = {{
    {kHotkeyCtrl, L"Ctrl"},
    {kHotkeyAlt, L"Alt"},
    {kHotkeyShift, L"Shift"},
    {kHotkeyWin, L"Win"},
}};

constexpr std::uint32_t kF1 = 0x70;
constexpr std::uint32_t kF12 = 0x7B;
constexpr std::uint32_t kNumpad0 = 0x60;

bool IsLetterOrDigit(std::uint32_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
}

bool IsFunctionKey(std::uint32_t key) {
    return key >= kF1 && key < kF1 + 24;
}

// The keys whose caps show what they type in the layout, such as "/" or "@".
bool IsPunctuationKey(std::uint32_t key) {
    return (key >= 0xBA && key <= 0xC0) || (key >= 0xDB && key <= 0xDF) || key == 0xE2;
}

// The keypad's digits and signs: Num0-Num9, Num*, Num+, Num-, Num., Num/ (0x6C, the separator, has
// no name here).
bool IsKeypadCharacter(std::uint32_t key) {
    return key >= kNumpad0 && key <= 0x6F && key != 0x6C;
}

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && text.front() == L' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ')
        text.remove_suffix(1);
    return text;
}

// A whole number from 1 to 2 digits, or nothing.
std::optional<std::uint32_t> SmallNumber(std::wstring_view digits) {
    if (digits.empty() || digits.size() > 2)
        return std::nullopt;
    std::uint32_t value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - L'0');
    }
    return value;
}

// The punctuation key whose cap shows c in the layout, the first in the table's order when two do.
std::optional<std::uint32_t> KeyOfCap(wchar_t c, const KeyboardLayout& layout) {
    // Letters and digits name the keys of those letters and digits; nothing at or below a space
    // survives the settings file's trimming.
    if (c <= L' ' || IsLetterOrDigit(AsciiUpper(c)))
        return std::nullopt;
    for (const KeyName& named : kNamedKeys) {
        if (IsPunctuationKey(named.key) && layout.CapOf(named.key) == c)
            return named.key;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> KeyFromName(std::wstring_view name, const KeyboardLayout& layout) {
    if (name.size() == 1) {
        wchar_t c = AsciiUpper(name[0]);
        if (IsLetterOrDigit(c))
            return static_cast<std::uint32_t>(c);
        return KeyOfCap(name[0], layout);
    }
    if (name.size() >= 2 && AsciiUpper(name[0]) == L'F') {
        if (auto number = SmallNumber(name.substr(1));
            number && *number >= 1 && *number <= 24 && name[1] != L'0')
            return kF1 + *number - 1;
    }
    // The keypad's names may have spaces between "Num" and its digit or sign, as between the parts.
    std::wstring keypad;
    if (name.size() > 3 && SameIgnoringAsciiCase(name.substr(0, 3), L"Num")) {
        keypad = L"Num" + std::wstring(Trimmed(name.substr(3)));
        name = keypad;
    }
    if (name.size() == 4 && SameIgnoringAsciiCase(name.substr(0, 3), L"Num") && name[3] >= L'0' &&
        name[3] <= L'9')
        return kNumpad0 + static_cast<std::uint32_t>(name[3] - L'0');
    for (const KeyName& named : kNamedKeys) {
        if (SameIgnoringAsciiCase(name, named.name))
            return named.key;
    }
    return std::nullopt;
}

std::wstring NameOfKey(std::uint32_t key, const KeyboardLayout& layout) {
    if (IsLetterOrDigit(key))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (IsFunctionKey(key))
        return L"F" + std::to_wstring(key - kF1 + 1);
    if (key >= kNumpad0 && key <= kNumpad0 + 9)
        return L"Num" + std::to_wstring(key - kNumpad0);
    if (IsPunctuationKey(key)) {
        const wchar_t cap = layout.CapOf(key);
        if (KeyOfCap(cap, layout) == key)
            return std::wstring(1, cap);
    }
    for (const KeyName& named : kNamedKeys) {
        if (named.key == key)
            return std::wstring(named.name);
    }
    return {};
}

std::optional<std::uint32_t> ModifierOf(std::wstring_view name) {
    for (const ModifierName& modifier : kModifiers) {
        if (SameIgnoringAsciiCase(name, modifier.name))
            return modifier.flag;
    }
    if (SameIgnoringAsciiCase(name, L"Control"))
        return kHotkeyCtrl;
    return std::nullopt;
}

}  // namespace

std::optional<Hotkey> ParseHotkey(std::wstring_view text, const KeyboardLayout& layout) {
    // The parts between the "+" signs, trimmed. A key that is itself a "+" ("Num+", or a cap that
    // shows "+") leaves an empty last part.
    std::vector<std::wstring_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t plus = text.find(L'+', start);
        parts.push_back(Trimmed(text.substr(start, plus == std::wstring_view::npos ? plus : plus - start)));
        if (plus == std::wstring_view::npos)
            break;
        start = plus + 1;
    }
    std::wstring key(parts.back());
    std::size_t modifierParts = parts.size() - 1;
    if (parts.size() >= 2 && key.empty()) {
        // "...+Num+" or "...++": the sign is the key.
        const std::wstring_view before = parts[parts.size() - 2];
        if (before.empty())
            key = L"+";
        else if (SameIgnoringAsciiCase(before, L"Num"))
            key = L"Num+";
        else
            return std::nullopt;
        --modifierParts;
    }
    Hotkey hotkey;
    for (std::size_t i = 0; i < modifierParts; ++i) {
        const std::optional<std::uint32_t> flag = ModifierOf(parts[i]);
        if (!flag || (hotkey.modifiers & *flag) != 0)
            return std::nullopt;
        hotkey.modifiers |= *flag;
    }
    const std::optional<std::uint32_t> code = KeyFromName(key, layout);
    if (!code)
        return std::nullopt;
    hotkey.key = *code;
    return hotkey;
}

bool MayBeGlobalHotkey(const Hotkey& hotkey) {
    constexpr std::uint32_t kPause = 0x13;
    constexpr std::uint32_t kScrollLock = 0x91;
    if ((hotkey.modifiers & kHotkeyWin) != 0)
        return false;
    int held = 0;
    for (std::uint32_t flag : {kHotkeyCtrl, kHotkeyAlt, kHotkeyShift})
        held += (hotkey.modifiers & flag) != 0 ? 1 : 0;
    const std::uint32_t key = hotkey.key;
    const bool standsAlone = (IsFunctionKey(key) && key != kF12) || key == kPause || key == kScrollLock;
    const bool typesACharacter = IsLetterOrDigit(key) || IsPunctuationKey(key) || IsKeypadCharacter(key);
    if (standsAlone)
        return held == 0 || held >= 2;
    return typesACharacter && held >= 2;
}

std::wstring FormatHotkey(const Hotkey& hotkey, const KeyboardLayout& layout) {
    std::wstring key = NameOfKey(hotkey.key, layout);
    if (key.empty())
        return {};
    std::wstring text;
    for (const ModifierName& modifier : kModifiers) {
        if ((hotkey.modifiers & modifier.flag) != 0) {
            text += modifier.name;
            text += L'+';
        }
    }
    return text + key;
}

}  // namespace vellicot
