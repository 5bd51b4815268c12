// The map generator's drawing ground: 8-bit pictures, a floating-point canvas, and the seeded random
// numbers it places things with. Only IEEE basic arithmetic and square roots are used (no libm
// transcendentals), so the same program draws the same pixels with any compiler and C library.
#pragma once

#include <cstdint>
#include <vector>

namespace vellicot::mapgen {

// Straight-alpha RGBA, 8 bits a channel, rows top-down.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    const std::uint8_t* At(int x, int y) const {
        return &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    }
};

struct Point {
    double x = 0;
    double y = 0;
};

inline Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
inline Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
inline Point operator*(Point a, double k) {
    return {a.x * k, a.y * k};
}
inline double Dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}
double Length(Point a);
// Distance from p to the segment a-b.
double SegmentDistance(Point p, Point a, Point b);

struct Colour {
    double r = 0;
    double g = 0;
    double b = 0;
};

// 0xRRGGBB as written in a colour picker.
constexpr Colour Rgb(std::uint32_t rrggbb) {
    return {((rrggbb >> 16) & 0xFF) / 255.0, ((rrggbb >> 8) & 0xFF) / 255.0, (rrggbb & 0xFF) / 255.0};
}
Colour Mix(Colour a, Colour b, double t);
Colour Scale(Colour c, double k);

double Clamp01(double v);
double Mix(double a, double b, double t);
double Smoothstep(double edge0, double edge1, double x);
// How much of a pixel a shape covers whose signed distance (negative inside) is d at the pixel's centre.
inline double Coverage(double d) {
    return Clamp01(0.5 - d);
}
// Polynomial union of two signed distances with a rounded seam of about k pixels.
double SmoothMin(double a, double b, double k);

// Sine and cosine by polynomial, so the angles of the drawing do not depend on the C library.
double Sin(double radians);
double Cos(double radians);
inline constexpr double kPi = 3.14159265358979323846;

// PCG32 (O'Neill): a small generator with a fixed seed, so every run draws the same picture.
class Pcg32 {
public:
    explicit Pcg32(std::uint64_t seed, std::uint64_t stream = 54);
    std::uint32_t Next();
    double Uniform();                       // [0, 1)
    double Range(double low, double high);  // [low, high)

private:
    std::uint64_t state_ = 0;
    std::uint64_t increment_ = 0;
};

// A canvas of premultiplied colour in doubles; everything is composited with source-over.
class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Lays colour c with opacity alpha over the pixel, or under it (what is there stays in front).
    void Over(int x, int y, Colour c, double alpha);
    void Under(int x, int y, Colour c, double alpha);

    // Calls shade(centre, colour) for every pixel of the box clipped to the canvas; shade sets the
    // colour and returns its opacity, which is then laid over the pixel.
    template <class Shade>
    void Paint(double left, double top, double right, double bottom, Shade shade) {
        const int x0 = ClampColumn(left), x1 = ClampColumn(right + 1);
        const int y0 = ClampRow(top), y1 = ClampRow(bottom + 1);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                Colour c;
                const double alpha = shade(Point{x + 0.5, y + 0.5}, c);
                if (alpha > 0)
                    Over(x, y, c, alpha);
            }
    }

    Picture ToPicture() const;

private:
    int ClampColumn(double x) const;
    int ClampRow(double y) const;

    int width_;
    int height_;
    std::vector<double> pixels_;  // r, g, b, a premultiplied
};

}  // namespace vellicot::mapgen
