// The glass button's caption font: family, pixel height, style and colour, with the point size
// worked out at 96 DPI, the DPI its pixel height is given at.
#pragma once

#include <cstdint>
#include <string>

#include "core/Scale.h"

namespace vellicot {

struct GlassFont {
    static constexpr int kPointsPerInch = 72;

    std::wstring family = L"Tahoma";
    int height = -11;  // pixels; negative: the character height without internal leading
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint32_t colour = 0xFF000008;  // 0x00BBGGRR, or a system colour; at first the window-text colour
    std::uint8_t charSet = 1;           // DEFAULT_CHARSET

    // Whole points, from the pixel height.
    constexpr int Size() const { return -MulDivRounded(height, kPointsPerInch, kBaseDpi); }
    constexpr void SetSize(int points) { height = -MulDivRounded(points, kBaseDpi, kPointsPerInch); }

    bool operator==(const GlassFont&) const = default;
};

}  // namespace vellicot
