// The glass button's caption font: family, pixel height, style and colour, with the point size
// worked out at the screen's 96 pixels per inch.
#pragma once

#include <cstdint>
#include <string>

namespace vellicot {

// a * b / c rounded to the nearest integer, halves away from zero (the platform's MulDiv).
constexpr int MulDivRounded(int a, int b, int c) {
    long long product = static_cast<long long>(a) * b;
    long long magnitude = (product < 0 ? -product : product);
    long long divisor = c < 0 ? -c : c;
    long long quotient = (magnitude + divisor / 2) / divisor;
    return static_cast<int>((product < 0) != (c < 0) ? -quotient : quotient);
}

struct GlassFont {
    static constexpr int kPixelsPerInch = 96;

    std::wstring family = L"Tahoma";
    int height = -11;  // pixels; negative: the character height without internal leading
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint32_t colour = 0xFF000008;  // 0x00BBGGRR, or a system colour; at first the window-text colour
    std::uint8_t charSet = 1;           // DEFAULT_CHARSET

    // Whole points, from the pixel height.
    constexpr int Size() const { return -MulDivRounded(height, 72, kPixelsPerInch); }
    constexpr void SetSize(int points) { height = -MulDivRounded(points, kPixelsPerInch, 72); }

    bool operator==(const GlassFont&) const = default;
};

}  // namespace vellicot
