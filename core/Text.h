// Comparing names regardless of letter case, one code unit at a time; the caller says which letters
// have a case: A-Z only (the settings file's keys, the hot-key names) or all the platform knows.
#pragma once

#include <cstddef>
#include <string_view>

namespace vellicot {

// a-z as A-Z; every other code unit as it is (so UTF-8 and UTF-16 alike keep their other letters).
template <class Char>
constexpr Char AsciiUpper(Char c) noexcept {
    return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

// Whether two texts have the same length and each pair of code units is equal or the same letter in
// another case, as sameLetter(a, b) tells.
template <class Char, class SameLetter>
constexpr bool SameIgnoringCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b,
                                SameLetter sameLetter) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && !sameLetter(a[i], b[i]))
            return false;
    }
    return true;
}

// The same, for the letters A-Z alone.
template <class Char>
constexpr bool SameIgnoringAsciiCase(std::basic_string_view<Char> a,
                                     std::basic_string_view<Char> b) noexcept {
    constexpr auto kSameAsciiLetter = [](Char x, Char y) { return AsciiUpper(x) == AsciiUpper(y); };
    return SameIgnoringCase(a, b, kSameAsciiLetter);
}
constexpr bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
    return SameIgnoringAsciiCase<char>(a, b);
}
constexpr bool SameIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) noexcept {
    return SameIgnoringAsciiCase<wchar_t>(a, b);
}

}  // namespace vellicot
