// Hot keys as the settings file keeps them: the text a player reads or writes by hand, in a keyboard
// layout of the test's own, and which keys may be taken from every program.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/Hotkey.h"

namespace vellicot {
namespace {

std::string Narrow(std::wstring_view text) {
    return std::string(text.begin(), text.end());
}

// A layout as the platform may give it: a cap that shows "+", two keys that type "\", and keys
// without a character.
struct FakeLayout final : KeyboardLayout {
    wchar_t CapOf(std::uint32_t key) const override {
        static const std::map<std::uint32_t, wchar_t> caps = {
            {0xBB, L'+'}, {0xBF, L'/'}, {0xC0, L'@'}, {0xDC, L'\\'}, {0xE2, L'\\'}};
        return caps.contains(key) ? caps.at(key) : 0;
    }
} const kLayout;

struct ParseCase {
    std::wstring_view text;
    std::optional<Hotkey> hotkey;
};

TEST(HotkeyTest, ReadsWhatAPlayerWrites) {
    constexpr std::uint32_t kCtrlAlt = kHotkeyCtrl | kHotkeyAlt;
    const ParseCase cases[] = {
        {L"Ctrl+Alt+F9", Hotkey{kCtrlAlt, 0x78}},
        // modifiers in any order and letter case, "Control" for "Ctrl", spaces around the parts
        {L"alt+CTRL+f9", Hotkey{kCtrlAlt, 0x78}},
        {L" Control + Alt + F9 ", Hotkey{kCtrlAlt, 0x78}},
        {L"Shift+Win+Ctrl+Alt+Z", Hotkey{kCtrlAlt | kHotkeyShift | kHotkeyWin, 'Z'}},
        // a key alone, function keys at both ends, letters, digits, keypad and named keys
        {L"F1", Hotkey{0, 0x70}},
        {L"F24", Hotkey{0, 0x87}},
        {L"Ctrl+q", Hotkey{kHotkeyCtrl, 'Q'}},
        {L"Alt+0", Hotkey{kHotkeyAlt, '0'}},
        {L"Num7", Hotkey{0, 0x67}},
        {L"Ctrl+Num+", Hotkey{kHotkeyCtrl, 0x6B}},
        {L"Ctrl + Num +", Hotkey{kHotkeyCtrl, 0x6B}},
        // punctuation keys by their caps, and by the names the file held before
        {L"Ctrl + Alt + /", Hotkey{kCtrlAlt, 0xBF}},
        {L"Ctrl+Shift++", Hotkey{kHotkeyCtrl | kHotkeyShift, 0xBB}},
        {L"Ctrl+Alt+\\", Hotkey{kCtrlAlt, 0xDC}},
        {L"Ctrl+Alt+Oem2", Hotkey{kCtrlAlt, 0xBF}},
        {L"Shift+PageDown", Hotkey{kHotkeyShift, 0x22}},
        {L"Ctrl+Space", Hotkey{kHotkeyCtrl, 0x20}},
        {L"NonConvert", Hotkey{0, 0x1D}},
        // not a hot key: empty, a modifier alone or twice, unknown names, out of range, stray signs
        {L"", std::nullopt},
        {L"   ", std::nullopt},
        {L"Ctrl", std::nullopt},
        {L"Ctrl+", std::nullopt},
        {L"Ctrl+Ctrl+F9", std::nullopt},
        {L"Ctrl+Control+F9", std::nullopt},
        {L"Hyper+F9", std::nullopt},
        {L"Ctrl+F25", std::nullopt},
        {L"F0", std::nullopt},
        {L"F09", std::nullopt},
        {L"Ctrl+Alt", std::nullopt},
        {L"+F9", std::nullopt},
        {L"Ctrl+Alt+!", std::nullopt},
        {L"F9+Ctrl", std::nullopt},
        {L"Ctrl+AB", std::nullopt},
        {L"Ｃｔｒｌ+F9", std::nullopt},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        std::optional<Hotkey> parsed = ParseHotkey(c.text, kLayout);
        ASSERT_EQ(parsed.has_value(), c.hotkey.has_value());
        if (parsed) {
            EXPECT_EQ(parsed->modifiers, c.hotkey->modifiers);
            EXPECT_EQ(parsed->key, c.hotkey->key);
        }
    }
}

TEST(HotkeyTest, WritesModifiersInOneOrderAndReadsItsOwnTextBack) {
    EXPECT_EQ(FormatHotkey({kHotkeyWin | kHotkeyShift | kHotkeyAlt | kHotkeyCtrl, 'A'}, kLayout),
              L"Ctrl+Alt+Shift+Win+A");
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl | kHotkeyAlt, 0x78}, kLayout), L"Ctrl+Alt+F9");
    EXPECT_EQ(FormatHotkey({0, 0x6B}, kLayout), L"Num+");
    // A punctuation key by its cap when that names it alone, else by the platform's name.
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl | kHotkeyAlt, 0xBF}, kLayout), L"Ctrl+Alt+/");
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl | kHotkeyAlt, 0xE2}, kLayout), L"Ctrl+Alt+Oem102");
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl | kHotkeyAlt, 0xDF}, kLayout), L"Ctrl+Alt+Oem8");
    // A key without a name here has no text, so nothing unreadable is ever written.
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl, 0xFF}, kLayout), L"");

    // Every key with a name, under every set of modifiers, comes back as it went out.
    int named = 0;
    for (std::uint32_t key = 1; key < 256; ++key) {
        for (std::uint32_t modifiers = 0; modifiers < 16; ++modifiers) {
            const Hotkey hotkey{modifiers, key};
            const std::wstring text = FormatHotkey(hotkey, kLayout);
            if (text.empty())
                continue;
            named += modifiers == 0 ? 1 : 0;
            SCOPED_TRACE(Narrow(text));
            EXPECT_EQ(ParseHotkey(text, kLayout), std::optional<Hotkey>(hotkey));
        }
    }
    // letters, digits, F1-F24, Num0-Num9 and the named keys
    EXPECT_EQ(named, 26 + 10 + 24 + 10 + 38);
}

TEST(HotkeyTest, NoShortcutOfTheSystemOrOfOrdinaryProgramsMayBeGlobal) {
    struct RuleCase {
        std::wstring_view text;
        bool allowed;
    };
    const RuleCase cases[] = {
        // function keys but F12, Pause and ScrollLock alone or with two modifiers, never with one
        {L"F1", true},
        {L"F24", true},
        {L"Shift+F9", false},
        {L"Pause", true},
        {L"ScrollLock", true},
        {L"Ctrl+Shift+F9", true},
        {L"Alt+F4", false},
        {L"F12", false},
        // keys that type: two modifiers; keys that move, confirm or edit: never
        {L"A", false},
        {L"Shift+A", false},
        {L"7", false},
        {L"Space", false},
        {L"Shift+Space", false},
        {L"Enter", false},
        {L"Tab", false},
        {L"Backspace", false},
        {L"Esc", false},
        {L"Left", false},
        {L"Shift+Down", false},
        {L"Delete", false},
        {L"Home", false},
        {L"Num5", false},
        {L"Num/", false},
        {L"OemComma", false},
        {L"NumLock", false},
        {L"NonConvert", false},
        {L"Ctrl+A", false},
        {L"Alt+Space", false},
        {L"Win+Enter", false},
        {L"Ctrl+Shift+Left", false},
        {L"Ctrl+Alt+Num/", true},
        {L"Ctrl+Shift+S", true},
        {L"Alt+Tab", false},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        const std::optional<Hotkey> hotkey = ParseHotkey(c.text, kLayout);
        ASSERT_TRUE(hotkey);
        EXPECT_EQ(MayBeGlobalHotkey(*hotkey), c.allowed);
    }
}

}  // namespace
}  // namespace vellicot
