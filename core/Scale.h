// The geometry of the windows and the glass button is written once, in client pixels at 96 DPI;
// these map it to the DPI of the display a window is on (125 % is 120 DPI, 150 % is 144, 200 % is
// 192). Platform-free: the windows, the glass button and the map generator all include it.
#pragma once

namespace vellicot {

inline constexpr int kBaseDpi = 96;

// a * b / c rounded to the nearest integer, halves away from zero (the platform's MulDiv).
constexpr int MulDivRounded(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long magnitude = product < 0 ? -product : product;
    const long long divisor = c < 0 ? -c : c;
    const long long quotient = (magnitude + divisor / 2) / divisor;
    return static_cast<int>((product < 0) != (c < 0) ? -quotient : quotient);
}

// value * dpi / 96, rounded to the nearest integer, halves away from zero.
constexpr int ScaleToDpi(int value, int dpi) {
    return MulDivRounded(value, dpi, kBaseDpi);
}

// A rectangle by its left, top, width and height.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int Right() const { return left + width; }
    constexpr int Bottom() const { return top + height; }
    bool operator==(const Box&) const = default;
};

// Scales the edges rather than the size, so boxes that touch at 96 DPI touch at every DPI and every
// edge is within half a pixel of its exact place.
constexpr Box ScaleToDpi(const Box& box, int dpi) {
    const int left = ScaleToDpi(box.left, dpi);
    const int top = ScaleToDpi(box.top, dpi);
    return {left, top, ScaleToDpi(box.Right(), dpi) - left, ScaleToDpi(box.Bottom(), dpi) - top};
}

}  // namespace vellicot
