// Hot keys as the settings file keeps them: the text a player reads or writes by hand, in the
// player's keyboard layout, and which keys may be taken from every program.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/Hotkey.h"

namespace vellicot {
namespace {

std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

// A layout as the platform reports it: each punctuation key's character without Shift.
struct FakeLayout final : KeyboardLayout {
    explicit FakeLayout(std::map<std::uint32_t, wchar_t> keyCaps) : caps(std::move(keyCaps)) {}
    std::map<std::uint32_t, wchar_t> caps;
    wchar_t CapOf(std::uint32_t key) const override {
        const auto cap = caps.find(key);
        return cap == caps.end() ? 0 : cap->second;
    }
};
// A Japanese keyboard: its ¥ and ろ keys both type "\", and Oem8 types nothing.
const FakeLayout kJapanese({{0xBA, L':'},
                            {0xBB, L';'},
                            {0xBC, L','},
                            {0xBD, L'-'},
                            {0xBE, L'.'},
                            {0xBF, L'/'},
                            {0xC0, L'@'},
                            {0xDB, L'['},
                            {0xDC, L'\\'},
                            {0xDD, L']'},
                            {0xDE, L'^'},
                            {0xE2, L'\\'}});
// A German keyboard: "+" on a key of its own, letters beyond A-Z, and an "o" that names no key.
const FakeLayout kGerman({{0xBA, L'ü'},
                          {0xBB, L'+'},
                          {0xBC, L','},
                          {0xBD, L'-'},
                          {0xBE, L'.'},
                          {0xBF, L'#'},
                          {0xC0, L'ö'},
                          {0xDB, L'ß'},
                          {0xDC, L'^'},
                          {0xDD, L'´'},
                          {0xDE, L'ä'},
                          {0xE2, L'<'},
                          {0xDF, L'o'}});

struct ParseCase {
    std::wstring_view text;
    std::optional<Hotkey> hotkey;
    const FakeLayout* layout = &kJapanese;
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
        {L"Ctrl+Alt+Num -", Hotkey{kCtrlAlt, 0x6D}},
        {L"Shift+PageDown", Hotkey{kHotkeyShift, 0x22}},
        {L"NonConvert", Hotkey{0, 0x1D}},
        // punctuation keys by their caps in the layout, and by the names the file held before
        {L"Ctrl+Alt+/", Hotkey{kCtrlAlt, 0xBF}},
        {L"Ctrl + Alt + @", Hotkey{kCtrlAlt, 0xC0}},
        {L"Ctrl+Alt+\\", Hotkey{kCtrlAlt, 0xDC}},
        {L"Ctrl+Alt+Oem2", Hotkey{kCtrlAlt, 0xBF}},
        {L"ctrl+alt+oemplus", Hotkey{kCtrlAlt, 0xBB}},
        {L"Ctrl+Alt+Oem102", Hotkey{kCtrlAlt, 0xE2}},
        {L"Ctrl+Shift++", Hotkey{kHotkeyCtrl | kHotkeyShift, 0xBB}, &kGerman},
        {L"Ctrl + Shift + +", Hotkey{kHotkeyCtrl | kHotkeyShift, 0xBB}, &kGerman},
        {L"Ctrl+Alt+ü", Hotkey{kCtrlAlt, 0xBA}, &kGerman},
        {L"Ctrl+Alt+/", std::nullopt, &kGerman},
        {L"Ctrl+Alt+o", Hotkey{kCtrlAlt, 'O'}, &kGerman},
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
        {L"Ctrl++", std::nullopt},
        {L"Ctrl+Alt+Num", std::nullopt},
        {L"F9+Ctrl", std::nullopt},
        {L"Ctrl+AB", std::nullopt},
        {L"Ctrl+Alt+!", std::nullopt},
        {L"Ｃｔｒｌ+F9", std::nullopt},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        EXPECT_EQ(ParseHotkey(c.text, *c.layout), c.hotkey);
    }
}

TEST(HotkeyTest, WritesModifiersInOneOrderAndKeyCapsAndReadsItsOwnTextBack) {
    EXPECT_EQ(FormatHotkey({kHotkeyWin | kHotkeyShift | kHotkeyAlt | kHotkeyCtrl, 'A'}, kJapanese),
              L"Ctrl+Alt+Shift+Win+A");
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl | kHotkeyAlt, 0x78}, kJapanese), L"Ctrl+Alt+F9");
    EXPECT_EQ(FormatHotkey({0, 0x6B}, kJapanese), L"Num+");
    // A punctuation key by its cap when that names it alone, else by its platform name.
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl | kHotkeyAlt, 0xBF}, kJapanese), L"Ctrl+Alt+/");
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl | kHotkeyAlt, 0xDC}, kJapanese), L"Ctrl+Alt+\\");
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl | kHotkeyAlt, 0xE2}, kJapanese), L"Ctrl+Alt+Oem102");
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl | kHotkeyAlt, 0xDF}, kJapanese), L"Ctrl+Alt+Oem8");
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl | kHotkeyShift, 0xBB}, kGerman), L"Ctrl+Shift++");
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl | kHotkeyAlt, 0xDF}, kGerman), L"Ctrl+Alt+Oem8");
    // A key without a name here has no text, so nothing unreadable is ever written.
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl, 0xFF}, kJapanese), L"");
    EXPECT_EQ(FormatHotkey({kHotkeyCtrl, 0}, kJapanese), L"");

    // Every key with a name, under every set of modifiers, comes back as it went out.
    for (const FakeLayout* layout : {&kJapanese, &kGerman}) {
        int named = 0;
        for (std::uint32_t key = 1; key < 256; ++key) {
            for (std::uint32_t modifiers = 0; modifiers < 16; ++modifiers) {
                const Hotkey hotkey{modifiers, key};
                const std::wstring text = FormatHotkey(hotkey, *layout);
                if (text.empty())
                    continue;
                named += modifiers == 0 ? 1 : 0;
                SCOPED_TRACE(Narrow(text));
                EXPECT_EQ(ParseHotkey(text, *layout), std::optional<Hotkey>(hotkey));
            }
        }
        // letters, digits, F1-F24, Num0-Num9 and the named keys
        EXPECT_EQ(named, 26 + 10 + 24 + 10 + 38);
    }
}

TEST(HotkeyTest, NoShortcutOfTheSystemOrOfOrdinaryProgramsMayBeGlobal) {
    struct RuleCase {
        std::wstring_view text;
        bool allowed;
    };
    const RuleCase cases[] = {
        // function keys but F12, Pause and ScrollLock: alone, or with two modifiers or more
        {L"F1", true},
        {L"F24", true},
        {L"Pause", true},
        {L"ScrollLock", true},
        {L"Ctrl+Shift+F9", true},
        {L"Ctrl+Alt+Shift+F10", true},
        {L"Shift+F10", false},
        {L"Alt+F4", false},
        {L"Ctrl+F4", false},
        {L"Ctrl+Pause", false},
        {L"F12", false},
        {L"Ctrl+Shift+F12", false},
        // letters, digits and symbols: two modifiers or more
        {L"Ctrl+Shift+S", true},
        {L"Alt+Shift+7", true},
        {L"Ctrl+Alt+/", true},
        {L"Ctrl+Alt+Num5", true},
        {L"Ctrl+Shift+Num+", true},
        {L"A", false},
        {L"Shift+A", false},
        {L"Ctrl+C", false},
        {L"Ctrl+V", false},
        {L"Ctrl+X", false},
        {L"Ctrl+Z", false},
        {L"Ctrl+A", false},
        {L"Ctrl+S", false},
        {L"Alt+0", false},
        {L"Ctrl+Num+", false},
        {L"Num/", false},
        {L"Ctrl+OemComma", false},
        // keys that move, confirm or edit, and the system's own: never
        {L"Alt+Tab", false},
        {L"Ctrl+Alt+Tab", false},
        {L"Ctrl+Esc", false},
        {L"Ctrl+Shift+Esc", false},
        {L"Ctrl+Alt+Delete", false},
        {L"Ctrl+Shift+Space", false},
        {L"Ctrl+Alt+Enter", false},
        {L"Ctrl+Shift+Left", false},
        {L"Ctrl+Alt+Backspace", false},
        {L"Ctrl+Alt+NumLock", false},
        {L"Ctrl+Alt+NonConvert", false},
        {L"Win+F9", false},
        {L"Ctrl+Alt+Win+Z", false},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        const std::optional<Hotkey> hotkey = ParseHotkey(c.text, kJapanese);
        ASSERT_TRUE(hotkey);
        EXPECT_EQ(MayBeGlobalHotkey(*hotkey), c.allowed);
    }
}

}  // namespace
}  // namespace vellicot
