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
// platform's names, since what is printed on them differs between keyboard layouts.
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
constexpr std::uint32_t kNumpad0 = 0x60;

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

std::optional<std::uint32_t> KeyFromName(std::wstring_view name) {
    if (name.size() == 1) {
        wchar_t c = AsciiUpper(name[0]);
        if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'))
            return static_cast<std::uint32_t>(c);
    }
    if (name.size() >= 2 && AsciiUpper(name[0]) == L'F') {
        if (auto number = SmallNumber(name.substr(1));
            number && *number >= 1 && *number <= 24 && name[1] != L'0')
            return kF1 + *number - 1;
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

std::wstring NameOfKey(std::uint32_t key) {
    if ((key >= L'A' && key <= L'Z') || (key >= L'0' && key <= L'9'))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= kF1 && key < kF1 + 24)
        return L"F" + std::to_wstring(key - kF1 + 1);
    if (key >= kNumpad0 && key <= kNumpad0 + 9)
        return L"Num" + std::to_wstring(key - kNumpad0);
    for (const KeyName& named : kNamedKeys) {
        if (named.key == key)
            return std::wstring(named.name);
    }
    return {};
}

}  // namespace

std::optional<Hotkey> ParseHotkey(std::wstring_view text) {
    text = Trimmed(text);
    std::vector<std::wstring_view> parts;
    // The last part may itself end in "+" ("Num+"), so a part is cut at a "+" only when something
    // other than the end follows it.
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'+' && i > start && i + 1 < text.size()) {
            parts.push_back(Trimmed(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    parts.push_back(Trimmed(text.substr(start)));

    Hotkey hotkey;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        std::uint32_t flag = 0;
        for (const ModifierName& modifier : kModifiers) {
            if (SameIgnoringAsciiCase(parts[i], modifier.name))
                flag = modifier.flag;
        }
        if (SameIgnoringAsciiCase(parts[i], L"Control"))
            flag = kHotkeyCtrl;
        if (flag == 0 || (hotkey.modifiers & flag) != 0)
            return std::nullopt;
        hotkey.modifiers |= flag;
    }
    std::optional<std::uint32_t> key = KeyFromName(parts.back());
    if (!key)
        return std::nullopt;
    hotkey.key = *key;
    return hotkey;
}

bool MayBeGlobalHotkey(const Hotkey& hotkey) {
    constexpr std::uint32_t kPause = 0x13;
    constexpr std::uint32_t kScrollLock = 0x91;
    if ((hotkey.modifiers & (kHotkeyCtrl | kHotkeyAlt | kHotkeyWin)) != 0)
        return true;
    return (hotkey.key >= kF1 && hotkey.key < kF1 + 24) || hotkey.key == kPause || hotkey.key == kScrollLock;
}

std::wstring FormatHotkey(const Hotkey& hotkey) {
    std::wstring key = NameOfKey(hotkey.key);
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
