// Names compared regardless of letter case: A-Z alone, or the letters a caller's rule says.
#include <gtest/gtest.h>

#include <string_view>

#include "core/Text.h"

namespace vellicot {
namespace {

TEST(TextTest, AsciiLettersMatchInEitherCase) {
    EXPECT_TRUE(SameIgnoringAsciiCase(L"HotkeyCopy", L"hOTKEYcOPY"));
    EXPECT_TRUE(SameIgnoringAsciiCase("System", "SYSTEM"));
    EXPECT_TRUE(SameIgnoringAsciiCase("", ""));
    EXPECT_TRUE(SameIgnoringAsciiCase(L"Num+", L"num+"));
}

TEST(TextTest, OtherCharactersMustBeTheSame) {
    // Signs that lie 32 apart from letters are no letters: '@' and '`', '[' and '{'.
    EXPECT_FALSE(SameIgnoringAsciiCase(L"@", L"`"));
    EXPECT_FALSE(SameIgnoringAsciiCase("[", "{"));
    // Letters beyond A-Z keep their case: é and É, full-width ａ and Ａ, and UTF-8 bytes alike.
    EXPECT_FALSE(SameIgnoringAsciiCase(L"\u00E9", L"\u00C9"));
    EXPECT_FALSE(SameIgnoringAsciiCase(L"\uFF41", L"\uFF21"));
    EXPECT_FALSE(SameIgnoringAsciiCase("\xC3\xA9", "\xC3\x89"));
    EXPECT_TRUE(SameIgnoringAsciiCase(L"名無し", L"名無し"));
    EXPECT_FALSE(SameIgnoringAsciiCase(L"Ctrl", L"Ctr"));
    EXPECT_FALSE(SameIgnoringAsciiCase(L"Ctrl", L"Ctrl "));
}

TEST(TextTest, TheCallersRuleSaysWhichUnitsAreTheSameLetter) {
    // A rule that also folds the full-width Latin letters.
    constexpr auto kFullWidthToo = [](wchar_t a, wchar_t b) {
        auto upper = [](wchar_t c) {
            return c >= L'\uFF41' && c <= L'\uFF5A' ? static_cast<wchar_t>(c - 0x20) : AsciiUpper(c);
        };
        return upper(a) == upper(b);
    };
    EXPECT_TRUE(SameIgnoringCase<wchar_t>(L"\uFF2D\uFF33 Gothic", L"\uFF4D\uFF53 gothic", kFullWidthToo));
    EXPECT_FALSE(SameIgnoringCase<wchar_t>(L"\uFF2D", L"M", kFullWidthToo));
    // The rule is asked only where the units differ.
    int asked = 0;
    auto counting = [&](wchar_t, wchar_t) {
        ++asked;
        return true;
    };
    EXPECT_TRUE(SameIgnoringCase<wchar_t>(L"abc", L"aBc", counting));
    EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace vellicot
