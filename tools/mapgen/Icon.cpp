// Draws the program icon and writes .ico files.
#include "tools/mapgen/Icon.h"

#include <algorithm>
#include <cmath>

namespace vellicot::mapgen {
namespace {

// Signed distance to a regular octagon of apothem `apothem` around `centre`, flat sides up and down.
double OctagonDistance(Point p, Point centre, double apothem) {
    const double k = 1 / std::sqrt(2.0);
    const double x = std::abs(p.x - centre.x), y = std::abs(p.y - centre.y);
    return std::max({x, y, (x + y) * k}) - apothem;
}

void Append16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Append32(Bytes& out, std::uint32_t v) {
    Append16(out, v & 0xFFFF);
    Append16(out, v >> 16);
}

// The 32-bit bitmap of an icon image: the header (twice the height: colour rows, then mask rows), the
// colour rows bottom-up in BGRA, and the mask with a set bit for every fully transparent pixel.
Bytes IconBitmap(const Picture& picture) {
    Bytes out;
    const int w = picture.width, h = picture.height;
    const int maskStride = (w + 31) / 32 * 4;
    Append32(out, 40);
    Append32(out, static_cast<std::uint32_t>(w));
    Append32(out, static_cast<std::uint32_t>(2 * h));
    Append16(out, 1);
    Append16(out, 32);
    Append32(out, 0);  // BI_RGB
    Append32(out, static_cast<std::uint32_t>(w * h * 4 + maskStride * h));
    for (int i = 0; i < 4; ++i)
        Append32(out, 0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* px = picture.At(x, y);
            out.insert(out.end(), {px[2], px[1], px[0], px[3]});
        }
    for (int y = h - 1; y >= 0; --y) {
        const std::size_t row = out.size();
        out.resize(row + static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < w; ++x)
            if (picture.At(x, y)[3] == 0)
                out[row + static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    return out;
}

}  // namespace

Picture DrawIcon(int size) {
    Canvas canvas(size, size);
    const double s = size;
    const bool tiny = size <= 16;
    // Pixel distances from unit ones; strokes never thinner than a pixel.
    auto px = [s](double unit) { return unit * s; };
    const double wall = std::max(1.0, px(0.075));
    const Point centre = {px(0.5), px(0.5)};
    const double apothem = px(0.49);

    // The orchard: a stone wall around bright grass, with the two crossing paths at the larger sizes.
    canvas.Paint(0, 0, s, s, [&](Point p, Colour& c) {
        const double d = OctagonDistance(p, centre, apothem);
        const Point u = (p - centre) * (1 / apothem);
        c = Mix(Rgb(0xB5DC74), Rgb(0x7FB24A), Clamp01(Length(u + Point{0.25, 0.3}) * 0.7));
        if (!tiny) {
            const double k = 1 / std::sqrt(2.0);
            const double path =
                std::min(std::abs(u.x - u.y) * k, std::abs(u.x + u.y) * k) * apothem - px(0.045);
            c = Mix(c, Rgb(0xE2CD9C), Coverage(path));
        }
        const double stone = Clamp01(0.5 + d + wall);
        Colour wallColour = Scale(Rgb(0xA9A296), 1 + 0.18 * Dot(u, {-0.6, -0.8}));
        if (size >= 32) {
            // Joints between the stones: at the corners, and at 48 pixels and up mid-side too.
            const int joints = size >= 48 ? 16 : 8;
            double joint = 1e9;
            for (int k = 0; k < joints; ++k) {
                const double angle = 2 * kPi * (k + (joints == 8 ? 0.5 : 0.0)) / joints;
                const Point dir = {Cos(angle), Sin(angle)};
                if (Dot(p - centre, dir) > 0)
                    joint = std::min(joint, std::abs((p - centre).x * dir.y - (p - centre).y * dir.x));
            }
            wallColour = Mix(wallColour, Rgb(0x6B6458), Clamp01(std::max(0.6, px(0.006)) + 0.5 - joint));
        }
        c = Mix(c, wallColour, stone);
        c = Mix(c, Rgb(0x5E584E), Clamp01(1.2 - std::abs(d + (tiny ? 0.5 : 0.7))) * (tiny ? 0.6 : 0.8));
        return Coverage(d);
    });

    // The tree: a trunk, then a round crown lit from the upper left, and fruit.
    const Point crown = {px(0.5), px(0.43)};
    const double crownRadius = px(tiny ? 0.31 : 0.29);
    const Point trunkTop = {px(0.5), px(0.55)}, trunkFoot = {px(0.5), px(tiny ? 0.86 : 0.83)};
    const double trunkHalf = std::max(1.0, px(0.055));
    canvas.Paint(0, 0, s, s, [&](Point p, Colour& c) {
        c = Rgb(0x1E3A14);
        const Point q = p - Point{px(0.53), px(0.85)};
        return 0.35 * Coverage(Length({q.x, q.y * 2.6}) - px(0.17));
    });
    canvas.Paint(0, 0, s, s, [&](Point p, Colour& c) {
        const double spread = 1 + Smoothstep(trunkTop.y + px(0.15), trunkFoot.y, p.y) * 0.6;
        const double d = std::max(std::abs(p.x - trunkTop.x) - trunkHalf * spread,
                                  std::max(trunkTop.y - p.y, p.y - trunkFoot.y));
        c = p.x < trunkTop.x ? Rgb(0x8A5A32) : Rgb(0x5E3A1E);
        return Coverage(d);
    });
    canvas.Paint(0, 0, s, s, [&](Point p, Colour& c) {
        // Five overlapping balls give the crown a leafy outline; at 16 pixels it is one round ball.
        struct Ball {
            Point at;
            double radius;
        };
        const Ball balls[] = {{{0, -0.2}, 0.62},
                              {{-0.42, 0.05}, 0.52},
                              {{0.42, 0.05}, 0.52},
                              {{-0.22, 0.32}, 0.5},
                              {{0.22, 0.32}, 0.5}};
        const Point u = (p - crown) * (1 / crownRadius);
        double d = Length(u) - 1;
        double fold = 0;  // a darker fold where a ball in front meets one behind it
        if (!tiny) {
            // The balls are listed back to front; the frontmost one under p is the one seen.
            d = 1e9;
            int front = -1;
            for (int i = 0; i < 5; ++i) {
                const double e = Length(u - balls[i].at) - balls[i].radius;
                d = std::min(d, e);
                if (e < 0)
                    front = i;
            }
            if (front > 0) {
                bool behind = false;
                for (int i = 0; i < front; ++i)
                    behind = behind || Length(u - balls[i].at) < balls[i].radius;
                const double edge = balls[front].radius - Length(u - balls[front].at);
                if (behind)
                    fold = Smoothstep(0.09, 0.0, edge) * Smoothstep(-0.2, 0.15, (u - balls[front].at).y * -1);
            }
        }
        d *= crownRadius;
        const double lit = Clamp01(0.62 - 0.5 * Dot(u, {0.6, 0.8}));
        c = Mix(Rgb(0x1F5E1F), Rgb(0x7CC348), lit);
        c = Mix(c, Rgb(0xC2EB86), Smoothstep(0.8, 0.98, lit) * 0.85);
        // A darker fold where a lower ball meets the one above it.
        c = Mix(c, Rgb(0x1F5E1F), 0.5 * fold);
        c = Mix(c, Rgb(0x123812), Clamp01(1 - std::abs(d + 0.6)) * (tiny ? 0.7 : 0.85));
        return Coverage(d);
    });
    struct Spot {
        Point at;
        double radius;
    };
    std::vector<Spot> fruits;
    if (tiny) {
        fruits = {{{px(0.36), px(0.5)}, 1.3}, {{px(0.62), px(0.38)}, 1.3}};
    } else {
        const double r = px(size >= 256 ? 0.045 : 0.055);
        fruits = {{{px(0.36), px(0.52)}, r},
                  {{px(0.6), px(0.33)}, r},
                  {{px(0.64), px(0.55)}, r},
                  {{px(0.44), px(0.36)}, r}};
        if (size >= 48)
            fruits.push_back({{px(0.52), px(0.47)}, r});
    }
    for (const Spot& f : fruits)
        canvas.Paint(f.at.x - f.radius - 1, f.at.y - f.radius - 1, f.at.x + f.radius + 1,
                     f.at.y + f.radius + 1, [&](Point p, Colour& c) {
                         const Point u = (p - f.at) * (1 / f.radius);
                         const double lit = Clamp01(0.6 - 0.5 * Dot(u, {0.6, 0.8}));
                         c = Mix(Rgb(0x9E1E14), Rgb(0xF0503A), lit);
                         if (!tiny)
                             c = Mix(c, Rgb(0xFFE0D0), Smoothstep(0.85, 1.0, lit));
                         return Coverage(Length(p - f.at) - f.radius);
                     });
    return canvas.ToPicture();
}

Bytes EncodeIco(const std::vector<Picture>& pictures) {
    std::vector<Bytes> images;
    for (const Picture& picture : pictures)
        images.push_back(picture.width >= 256 ? EncodePng(picture) : IconBitmap(picture));
    Bytes out;
    Append16(out, 0);
    Append16(out, 1);  // an icon, not a cursor
    Append16(out, static_cast<unsigned>(pictures.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(pictures[i].width >= 256 ? 0 : pictures[i].width));
        out.push_back(static_cast<std::uint8_t>(pictures[i].height >= 256 ? 0 : pictures[i].height));
        out.push_back(0);  // no palette
        out.push_back(0);
        Append16(out, 1);   // planes
        Append16(out, 32);  // bits per pixel
        Append32(out, static_cast<std::uint32_t>(images[i].size()));
        Append32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

}  // namespace vellicot::mapgen
