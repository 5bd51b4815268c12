// Canvas compositing, the seeded generator and the noise of the map generator.
#include "tools/mapgen/Raster.h"

#include <algorithm>
#include <cmath>

namespace vellicot::mapgen {

double Length(Point a) {
    return std::sqrt(Dot(a, a));
}

double SegmentDistance(Point p, Point a, Point b) {
    const Point ab = b - a;
    const double t = std::clamp(Dot(p - a, ab) / Dot(ab, ab), 0.0, 1.0);
    return Length(p - (a + ab * t));
}

Colour Mix(Colour a, Colour b, double t) {
    return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)};
}

Colour Scale(Colour c, double k) {
    return {c.r * k, c.g * k, c.b * k};
}

double Clamp01(double v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

double Mix(double a, double b, double t) {
    return a + (b - a) * t;
}

double Smoothstep(double edge0, double edge1, double x) {
    const double t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

double SmoothMin(double a, double b, double k) {
    const double h = Clamp01(0.5 + 0.5 * (b - a) / k);
    return Mix(b, a, h) - k * h * (1 - h);
}

double Sin(double radians) {
    // Reduce to [-pi, pi], fold to [-pi/2, pi/2], then the Taylor series to x^15.
    double x = radians - 2 * kPi * std::floor(radians / (2 * kPi) + 0.5);
    if (x > kPi / 2)
        x = kPi - x;
    else if (x < -kPi / 2)
        x = -kPi - x;
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 7; ++n) {
        term *= -x2 / ((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

double Cos(double radians) {
    return Sin(radians + kPi / 2);
}

Pcg32::Pcg32(std::uint64_t seed, std::uint64_t stream) : increment_((stream << 1) | 1) {
    Next();
    state_ += seed;
    Next();
}

std::uint32_t Pcg32::Next() {
    const std::uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + increment_;
    const auto xorShifted = static_cast<std::uint32_t>(((old >> 18) ^ old) >> 27);
    const auto rotation = static_cast<std::uint32_t>(old >> 59);
    return (xorShifted >> rotation) | (xorShifted << ((32 - rotation) & 31));
}

double Pcg32::Uniform() {
    return Next() / 4294967296.0;
}

double Pcg32::Range(double low, double high) {
    return low + (high - low) * Uniform();
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height * 4, 0.0) {}

void Canvas::Over(int x, int y, Colour c, double alpha) {
    alpha = Clamp01(alpha);
    double* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    const double keep = 1 - alpha;
    p[0] = c.r * alpha + p[0] * keep;
    p[1] = c.g * alpha + p[1] * keep;
    p[2] = c.b * alpha + p[2] * keep;
    p[3] = alpha + p[3] * keep;
}

void Canvas::Under(int x, int y, Colour c, double alpha) {
    alpha = Clamp01(alpha);
    double* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    const double through = (1 - p[3]) * alpha;
    p[0] += c.r * through;
    p[1] += c.g * through;
    p[2] += c.b * through;
    p[3] += through;
}

Picture Canvas::ToPicture() const {
    Picture picture{width_, height_, std::vector<std::uint8_t>(pixels_.size())};
    auto toByte = [](double v) { return static_cast<std::uint8_t>(Clamp01(v) * 255 + 0.5); };
    for (std::size_t i = 0; i < pixels_.size(); i += 4) {
        const std::uint8_t alpha = toByte(pixels_[i + 3]);
        if (alpha == 0)
            continue;  // fully transparent pixels stay 0, 0, 0, 0
        const double a = pixels_[i + 3];
        picture.rgba[i] = toByte(pixels_[i] / a);
        picture.rgba[i + 1] = toByte(pixels_[i + 1] / a);
        picture.rgba[i + 2] = toByte(pixels_[i + 2] / a);
        picture.rgba[i + 3] = alpha;
    }
    return picture;
}

int Canvas::ClampColumn(double x) const {
    return std::clamp(static_cast<int>(std::floor(x)), 0, width_);
}

int Canvas::ClampRow(double y) const {
    return std::clamp(static_cast<int>(std::floor(y)), 0, height_);
}

}  // namespace vellicot::mapgen
