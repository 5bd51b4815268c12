// Draws the orchard seen from above: grass, two gravel paths crossing at a well, a stone wall with a
// gate at each path end, and a fruit tree on every tree spot. Light falls from the upper left.
#include "tools/mapgen/Orchard.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>
#include <vector>

namespace vellicot::mapgen {
namespace {

// The wall's outer octagon: the square (4, 6) - (796, 794) with its corners cut 190 pixels deep.
constexpr double kLeft = 4, kTop = 6, kRight = 796, kBottom = 794, kCut = 190;
constexpr std::array<Point, 8> kOutline = {{
    {kLeft + kCut, kTop},
    {kRight - kCut, kTop},
    {kRight, kTop + kCut},
    {kRight, kBottom - kCut},
    {kRight - kCut, kBottom},
    {kLeft + kCut, kBottom},
    {kLeft, kBottom - kCut},
    {kLeft, kTop + kCut},
}};

// The paths: one falls from the upper left to the lower right, the other rises from the lower left to
// the upper right; both run between the groups of four trees.
constexpr Point kCrossing = {401, 376};
constexpr double kPathHalfWidth = 17;
constexpr double kPlaceRadius = 60;
constexpr double kGateHalfWidth = kPathHalfWidth + 5;
constexpr double kPillarLength = 18;

constexpr Point kToLight = {-0.6, -0.8};     // towards the light, in the picture plane
constexpr Point kShadowOffset = {5.5, 6.5};  // where a raised thing's shadow falls
constexpr Colour kShadow = Rgb(0x10240C);

struct Edge {
    Point start;
    Point tangent;  // unit, clockwise around the orchard
    Point normal;   // unit, pointing out of the orchard
    double length = 0;
};

enum class Block { Stone, Pillar, Gate };

struct WallBlock {
    double from = 0;
    double to = 0;
    Block kind = Block::Stone;
    Colour tint;
};

struct Lobe {
    Point centre;
    double radius = 0;
    double lift = 0;  // how much higher the lobe sits than the crown's rim
};

struct Fruit {
    Point centre;
    double radius = 0;
};

struct Crown {
    Point centre;
    double radius = 0;
    std::vector<Lobe> lobes;
    std::vector<Fruit> fruits;
    Colour fruit;
    Colour dark, middle, light;
};

// Steps of a 0..1 shade at the thresholds, each step softened over `soft`: the painted, few-toned look
// of the map (which also keeps the pictures small as PNG).
double Tones(double shade, std::initializer_list<double> thresholds, double soft) {
    double sum = 0;
    for (double t : thresholds)
        sum += Smoothstep(t - soft, t + soft, shade);
    return sum / static_cast<double>(thresholds.size());
}

std::array<Edge, 8> MakeEdges() {
    std::array<Edge, 8> edges;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const Point a = kOutline[i], b = kOutline[(i + 1) % kOutline.size()];
        edges[i].start = a;
        edges[i].length = Length(b - a);
        edges[i].tangent = (b - a) * (1 / edges[i].length);
        edges[i].normal = {edges[i].tangent.y, -edges[i].tangent.x};
    }
    return edges;
}

const std::array<Edge, 8>& Edges() {
    static const std::array<Edge, 8> edges = MakeEdges();
    return edges;
}

double EdgeDistance(const Edge& edge, Point p) {
    return Dot(p - edge.start, edge.normal);
}

// The path's two ends: where its centre line leaves the wall, found by halving the interval.
Point PathEnd(Point direction) {
    double inside = 0, outside = 800;
    for (int i = 0; i < 60; ++i) {
        const double middle = (inside + outside) / 2;
        (WallOutlineDistance(kCrossing + direction * middle) < 0 ? inside : outside) = middle;
    }
    return kCrossing + direction * inside;
}

struct Paths {
    Point fallingFrom, fallingTo, risingFrom, risingTo;
};

const Paths& PathEnds() {
    static const Paths paths = [] {
        const double k = 1 / std::sqrt(2.0);
        return Paths{PathEnd({-k, -k}), PathEnd({k, k}), PathEnd({-k, k}), PathEnd({k, -k})};
    }();
    return paths;
}

// The gate of an edge, as a position along it, when a path leaves the orchard through that edge.
std::optional<double> GateOn(const Edge& edge) {
    const Paths& paths = PathEnds();
    for (Point end : {paths.fallingFrom, paths.fallingTo, paths.risingFrom, paths.risingTo}) {
        const double along = Dot(end - edge.start, edge.tangent);
        if (std::abs(EdgeDistance(edge, end)) < 1 && along > 0 && along < edge.length)
            return along;
    }
    return std::nullopt;
}

Colour StoneTint(Pcg32& random) {
    const Colour grey = Rgb(0xB4AD9F), warm = Rgb(0xC4B393), cool = Rgb(0x9FA09A);
    const double pick = random.Uniform();
    const Colour base = pick < 0.5 ? grey : (pick < 0.8 ? warm : cool);
    return Scale(base, random.Range(0.9, 1.06));
}

// Stones of 20 to 32 pixels from `from` to `to`; the last one takes the rest.
void LayStones(std::vector<WallBlock>& blocks, double from, double to, Pcg32& random) {
    double at = from;
    while (to - at > 40) {
        const double length = random.Range(20, 32);
        blocks.push_back({at, at + length, Block::Stone, StoneTint(random)});
        at += length;
    }
    if (to - at > 30) {
        const double middle = (at + to) / 2;
        blocks.push_back({at, middle, Block::Stone, StoneTint(random)});
        at = middle;
    }
    if (to > at)
        blocks.push_back({at, to, Block::Stone, StoneTint(random)});
}

std::vector<WallBlock> MakeBlocks(const Edge& edge, std::uint64_t seed) {
    Pcg32 random(seed);
    std::vector<WallBlock> blocks;
    if (const auto gate = GateOn(edge)) {
        const double open = *gate - kGateHalfWidth, close = *gate + kGateHalfWidth;
        const Colour pillar = Rgb(0xC8C1B2);
        LayStones(blocks, 0, open - kPillarLength, random);
        blocks.push_back({open - kPillarLength, open, Block::Pillar, pillar});
        blocks.push_back({open, close, Block::Gate, {}});
        blocks.push_back({close, close + kPillarLength, Block::Pillar, pillar});
        LayStones(blocks, close + kPillarLength, edge.length, random);
    } else {
        LayStones(blocks, 0, edge.length, random);
    }
    return blocks;
}

const std::array<std::vector<WallBlock>, 8>& Blocks() {
    static const std::array<std::vector<WallBlock>, 8> blocks = [] {
        std::array<std::vector<WallBlock>, 8> made;
        for (std::size_t i = 0; i < made.size(); ++i)
            made[i] = MakeBlocks(Edges()[i], 300 + i);
        return made;
    }();
    return blocks;
}

// The edge whose side of the octagon p is on (the largest of the eight distances), and the runner-up.
struct NearestEdges {
    std::size_t first = 0;
    double firstDistance = -std::numeric_limits<double>::infinity();
    double secondDistance = -std::numeric_limits<double>::infinity();
};

NearestEdges FindNearestEdges(Point p) {
    NearestEdges nearest;
    for (std::size_t i = 0; i < Edges().size(); ++i) {
        const double d = EdgeDistance(Edges()[i], p);
        if (d > nearest.firstDistance) {
            nearest.secondDistance = nearest.firstDistance;
            nearest.firstDistance = d;
            nearest.first = i;
        } else if (d > nearest.secondDistance) {
            nearest.secondDistance = d;
        }
    }
    return nearest;
}

// Where p lies on the wall: the edge, the place along it, the depth from the outer face, the
// distance to the corner's mitre line (where this edge's stones meet the next edge's), and the block.
struct WallSpot {
    const Edge* edge = nullptr;
    double along = 0;
    double depth = 0;
    double mitre = 0;
    const WallBlock* block = nullptr;
};

WallSpot LocateOnWall(Point p) {
    const NearestEdges nearest = FindNearestEdges(p);
    WallSpot spot;
    spot.edge = &Edges()[nearest.first];
    spot.along = Dot(p - spot.edge->start, spot.edge->tangent);
    spot.depth = -nearest.firstDistance;
    spot.mitre = (nearest.firstDistance - nearest.secondDistance) / 0.7654;  // 2 sin 22.5 degrees
    const std::vector<WallBlock>& blocks = Blocks()[nearest.first];
    spot.block = &blocks.back();
    for (const WallBlock& block : blocks)
        if (spot.along < block.to) {
            spot.block = &block;
            break;
        }
    return spot;
}

// The pillars by the gates stand out of the wall on both faces.
constexpr double kPillarOverhang = 3.5;

// How much wall there is at p, 0 to 1, with edges softened over `soft` pixels.
double WallAmount(Point p, double soft) {
    if (WallOutlineDistance(p) > kPillarOverhang + soft)
        return 0;
    const WallSpot spot = LocateOnWall(p);
    const double overhang = spot.block->kind == Block::Pillar ? kPillarOverhang : 0;
    double amount = Smoothstep(-soft, soft, spot.depth + overhang) *
                    Smoothstep(-soft, soft, kWallThickness + overhang - spot.depth);
    if (amount > 0)
        if (const auto gate = GateOn(*spot.edge))
            amount *= Smoothstep(-soft, soft, std::abs(spot.along - *gate) - kGateHalfWidth);
    return amount;
}

// The top of the wall at p: stones with mortar between them and bevelled edges, pillars by the gates.
Colour WallColour(Point p) {
    const WallSpot spot = LocateOnWall(p);
    const Edge& edge = *spot.edge;
    const WallBlock& block = *spot.block;
    const bool pillar = block.kind == Block::Pillar;
    const double overhang = pillar ? kPillarOverhang : 0;

    // The nearest side of the block and which way that side faces.
    struct Side {
        double distance;
        Point facing;
    };
    const Side sides[] = {
        {spot.along - block.from, edge.tangent * -1},
        {block.to - spot.along, edge.tangent},
        {spot.depth + overhang, edge.normal},
        {kWallThickness + overhang - spot.depth, edge.normal * -1},
        {spot.mitre, spot.along < edge.length / 2 ? edge.tangent * -1 : edge.tangent},
    };
    const Side* nearestSide = &sides[0];
    for (const Side& side : sides)
        if (side.distance < nearestSide->distance)
            nearestSide = &side;

    const double bevelWidth = pillar ? 6.0 : 3.5;
    const double bevel = Smoothstep(bevelWidth, bevelWidth - 1, nearestSide->distance);
    Colour c = Scale(block.tint, 1 + (pillar ? 0.26 : 0.2) * bevel * Dot(nearestSide->facing, kToLight));
    // Mortar between the stones; a pillar and the outer face get a dark edge all round.
    double joint = std::min({sides[0].distance, sides[1].distance, sides[4].distance});
    if (pillar)
        joint = nearestSide->distance;
    const Colour mortar = Rgb(0x6B6458);
    c = Mix(c, mortar, Clamp01((pillar ? 1.3 : 1.7) - joint));
    return Mix(c, mortar, 0.7 * Clamp01(1.4 - sides[2].distance));
}

// Mown grass: light and dark stripes across the orchard.
Colour Grass(Point p) {
    constexpr double stripe = 44;
    const double band = std::floor(p.y / stripe);
    const double toEdge = std::min(p.y - band * stripe, (band + 1) * stripe - p.y);
    const double side = static_cast<std::int64_t>(band) % 2 == 0 ? 1 : -1;
    const double light = 0.5 + side * std::min(0.5, toEdge / 2);
    return Mix(Rgb(0x76A747), Rgb(0x86B651), light);
}

// Grass and gravel over the whole orchard, to the outer face of the wall.
void PaintGround(Canvas& canvas) {
    canvas.Paint(0, 0, kMapSize, kMapSize, [](Point p, Colour& c) {
        const double outline = WallOutlineDistance(p);
        if (outline > 1)
            return 0.0;
        // Gravel, a little darker along its edge.
        const double path = PathDistance(p);
        const Colour gravel = Scale(Rgb(0xD8C396), 1 - 0.1 * Smoothstep(-4.5, -3, path));
        c = Mix(Grass(p), gravel, Coverage(path));
        return Coverage(outline);
    });
}

void PaintCapsule(Canvas& canvas, Point a, Point b, double radius, Colour c, double alpha) {
    canvas.Paint(std::min(a.x, b.x) - radius - 1, std::min(a.y, b.y) - radius - 1,
                 std::max(a.x, b.x) + radius + 1, std::max(a.y, b.y) + radius + 1, [&](Point p, Colour& out) {
                     out = c;
                     return alpha * Coverage(SegmentDistance(p, a, b) - radius);
                 });
}

// A small ball lit from the upper left: a fruit or a pebble.
void PaintBall(Canvas& canvas, Point centre, double radius, Colour c, double shine) {
    canvas.Paint(centre.x - radius - 1, centre.y - radius - 1, centre.x + radius + 1, centre.y + radius + 1,
                 [&](Point p, Colour& out) {
                     const Point q = (p - centre) * (1 / radius);
                     const double lit = Clamp01(0.55 - 0.45 * Dot(q, {0.6, 0.8}));
                     out =
                         Mix(Scale(c, 0.55 + 0.6 * lit), Rgb(0xFFFFFF), shine * Smoothstep(0.75, 0.95, lit));
                     return Coverage(Length(p - centre) - radius);
                 });
}

bool OnOpenGrass(Point p, double margin) {
    if (WallOutlineDistance(p) > -(kWallThickness + margin) || PathDistance(p) < margin)
        return false;
    for (int t = 1; t <= kTrees; ++t)
        if (Length(p - TreeSpot(t)) < CrownRadius(t) + margin)
            return false;
    return true;
}

// Tufts of grass, a few clumps of flowers, and pebbles on the paths.
void PaintDetails(Canvas& canvas) {
    Pcg32 random(41);
    for (int placed = 0; placed < 60;) {
        const Point base = {random.Range(20, 780), random.Range(20, 780)};
        if (!OnOpenGrass(base, 6))
            continue;
        ++placed;
        const Colour blade = random.Uniform() < 0.7 ? Rgb(0x4E7E30) : Rgb(0xB3D77A);
        // Three blades fanning out upwards.
        const double lean = random.Range(-0.4, 0.4);
        for (int i = -1; i <= 1; ++i) {
            const double angle = -kPi / 2 + lean + i * 0.55,
                         length = random.Range(7, 10) * (i == 0 ? 1.2 : 1.0);
            PaintCapsule(canvas, base, base + Point{Cos(angle), Sin(angle)} * length, 1.1, blade, 0.6);
        }
    }
    const Colour blossoms[] = {Rgb(0xF7F4E8), Rgb(0xF4D84E), Rgb(0xCDB8EC), Rgb(0xF3B7C6)};
    for (int placed = 0; placed < 18;) {
        const Point middle = {random.Range(30, 770), random.Range(30, 770)};
        if (!OnOpenGrass(middle, 14))
            continue;
        ++placed;
        const Colour blossom = blossoms[random.Next() % 4];
        const int count = 3 + static_cast<int>(random.Uniform() * 5);
        for (int i = 0; i < count; ++i) {
            const double angle = random.Range(0, 2 * kPi), distance = random.Range(0, 10);
            PaintBall(canvas, middle + Point{Cos(angle), Sin(angle)} * distance, 2.6, blossom, 0.3);
        }
    }
    for (int placed = 0; placed < 60;) {
        const Point at = {random.Range(20, 780), random.Range(20, 780)};
        if (PathDistance(at) > -4 || Length(at - kCrossing) < 22 || WallOutlineDistance(at) > -kWallThickness)
            continue;
        ++placed;
        const Colour stone = Mix(Rgb(0x9E9280), Rgb(0xD2C7B0), random.Uniform());
        PaintBall(canvas, at, random.Range(2.4, 3.8), stone, 0.15);
    }
}

// The well where the paths cross: a ring of stones around dark water.
void PaintWell(Canvas& canvas) {
    constexpr double outer = 21, inner = 13;
    const Point c = kCrossing;
    canvas.Paint(c.x - 30, c.y - 30, c.x + 30, c.y + 30, [&](Point p, Colour& out) {
        out = kShadow;
        return 0.35 * Smoothstep(3, -3, Length(p - c - kShadowOffset * 0.7) - outer);
    });
    std::array<Point, 9> joints;
    for (std::size_t i = 0; i < joints.size(); ++i) {
        const double angle = 0.3 + 2 * kPi * i / joints.size();
        joints[i] = {Cos(angle), Sin(angle)};
    }
    canvas.Paint(c.x - outer - 1, c.y - outer - 1, c.x + outer + 1, c.y + outer + 1,
                 [&](Point p, Colour& out) {
                     const Point q = p - c;
                     const double r = Length(q);
                     if (r < inner) {
                         // Dark water, lit on the side away from the light and shaded under the near rim.
                         const double far = Clamp01(0.5 - 0.5 * Dot(q * (1 / inner), kToLight));
                         out = Mix(Rgb(0x142A3A), Rgb(0x3A6F8C), far * Smoothstep(inner, inner - 5, r));
                         return 1.0;
                     }
                     double joint = 99;
                     for (Point j : joints)
                         if (Dot(q, j) > 0)
                             joint = std::min(joint, std::abs(q.x * j.y - q.y * j.x));
                     // Which stone: the one between the last joint passed clockwise and the next.
                     std::size_t stone = 0;
                     for (std::size_t i = 0; i < joints.size(); ++i) {
                         const Point a = joints[i], b = joints[(i + 1) % joints.size()];
                         if (a.x * q.y - a.y * q.x >= 0 && b.x * q.y - b.y * q.x < 0)
                             stone = i;
                     }
                     const double band = std::min(r - inner, outer - r);
                     const Point facing = r - inner < outer - r ? q * (-1 / r) : q * (1 / r);
                     double light = 0.92 + 0.05 * static_cast<double>(stone % 3);
                     if (band < 3.5)
                         light += 0.3 * (1 - band / 3.5) * Dot(facing, kToLight);
                     out = Mix(Scale(Rgb(0xB9B2A4), light), Rgb(0x6F685C), Clamp01(1.5 - joint));
                     return Coverage(r - outer);
                 });
}

Crown MakeCrown(int tree) {
    Pcg32 random(1000 + tree);
    Crown crown;
    crown.centre = TreeSpot(tree);
    crown.radius = CrownRadius(tree);
    const double r = crown.radius;
    crown.lobes.push_back(
        {crown.centre + Point{random.Range(-0.05, 0.05), random.Range(-0.05, 0.05)} * r, 0.58 * r, 0.3 * r});
    const int ring = 6 + static_cast<int>(random.Next() % 2);
    const double turn = random.Range(0, 2 * kPi);
    for (int i = 0; i < ring; ++i) {
        const double angle = turn + 2 * kPi * i / ring + random.Range(-0.25, 0.25);
        const double distance = random.Range(0.44, 0.52) * r;
        const double radius = std::min(random.Range(0.42, 0.52) * r, r - distance);
        crown.lobes.push_back(
            {crown.centre + Point{Cos(angle), Sin(angle)} * distance, radius, random.Range(0, 0.08) * r});
    }
    // A little yellower or bluer green for each tree.
    const double hue = random.Range(-1, 1);
    const Colour middle = Rgb(0x3E7B2C);
    crown.middle = Mix(middle, hue > 0 ? Rgb(0x6A8E2A) : Rgb(0x2C7048), std::abs(hue) * 0.55);
    crown.dark = Mix(Rgb(0x173D1A), crown.middle, 0.2);
    crown.light = Mix(Rgb(0xA8D468), crown.middle, 0.25);

    const Colour fruits[] = {Rgb(0xD8402E), Rgb(0xEC8A2A), Rgb(0xE9C63E), Rgb(0xC4304E)};
    crown.fruit = fruits[random.Next() % 4];
    const int count = 4 + static_cast<int>(random.Next() % 3);
    for (int i = 0; i < count; ++i) {
        const double angle = random.Range(0, 2 * kPi), distance = random.Range(0.2, 0.72) * r;
        crown.fruits.push_back(
            {crown.centre + Point{Cos(angle), Sin(angle)} * distance, random.Range(3.0, 3.8)});
    }
    return crown;
}

void PaintCrownShadow(Canvas& canvas, const Crown& crown) {
    const Point c = crown.centre + kShadowOffset * 1.7;
    const double r = crown.radius * 0.98;
    canvas.Paint(c.x - r - 8, c.y - r - 8, c.x + r + 8, c.y + r + 8, [&](Point p, Colour& out) {
        out = kShadow;
        return 0.38 * Smoothstep(1.5, -1.5, Length(p - c) - r);
    });
}

// A crown of leafy balls: each pixel shows the highest ball over it, lit from the upper left in three
// tones, lower (more hidden) parts darker, with a dark rim.
void PaintCrown(Canvas& canvas, const Crown& crown) {
    constexpr double lx = -0.4085, ly = -0.5447, lz = 0.7317;  // towards the light, unit length
    const double r = crown.radius;
    canvas.Paint(crown.centre.x - r - 1, crown.centre.y - r - 1, crown.centre.x + r + 1,
                 crown.centre.y + r + 1, [&](Point p, Colour& out) {
                     double rim = std::numeric_limits<double>::infinity();
                     const Lobe* top = nullptr;
                     const Lobe* nearest = nullptr;
                     double topHeight = -1, topZ = 0;
                     for (const Lobe& lobe : crown.lobes) {
                         const Point q = p - lobe.centre;
                         const double q2 = Dot(q, q);
                         const double d = std::sqrt(q2) - lobe.radius;
                         if (d < rim) {
                             rim = d;
                             nearest = &lobe;
                         }
                         if (q2 < lobe.radius * lobe.radius) {
                             const double z = std::sqrt(lobe.radius * lobe.radius - q2);
                             if (lobe.lift + z > topHeight) {
                                 topHeight = lobe.lift + z;
                                 topZ = z;
                                 top = &lobe;
                             }
                         }
                     }
                     if (rim > 0.5)
                         return 0.0;
                     const Lobe& lobe = top != nullptr ? *top : *nearest;
                     Point q = (p - lobe.centre) * (1 / lobe.radius);
                     if (top == nullptr) {
                         q = q * (1 / Length(q));
                         topHeight = lobe.lift;
                     }
                     const double nz = top != nullptr ? topZ / lobe.radius : 0;
                     const double lambert = Clamp01(q.x * lx + q.y * ly + nz * lz);
                     const double hollow = 0.72 + 0.28 * Clamp01(topHeight / (0.75 * r));
                     const double l = Tones(lambert * hollow, {0.3, 0.62}, 0.02);
                     Colour c = l < 0.5 ? Mix(crown.dark, crown.middle, l * 2)
                                        : Mix(crown.middle, crown.light, l * 2 - 1);
                     out = Mix(c, crown.dark, 0.6 * Smoothstep(-2.4, -1.4, rim));
                     return Coverage(rim);
                 });
    for (const Fruit& fruit : crown.fruits) {
        canvas.Paint(fruit.centre.x - 6, fruit.centre.y - 6, fruit.centre.x + 8, fruit.centre.y + 8,
                     [&](Point p, Colour& out) {
                         out = kShadow;
                         return 0.35 * Coverage(Length(p - fruit.centre - Point{1.3, 1.7}) - fruit.radius);
                     });
        PaintBall(canvas, fruit.centre, fruit.radius, crown.fruit, 0.6);
    }
}

// The wall's shadow on the grass, the whole orchard's shadow on the page, and the wall itself.
void PaintWall(Canvas& canvas) {
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const Point p = {x + 0.5, y + 0.5};
            const double outline = WallOutlineDistance(p);
            if (outline > 16 || outline < -(kWallThickness + 12))
                continue;
            const double cast = WallAmount(p - kShadowOffset, 2.5);
            if (cast > 0)
                canvas.Over(x, y, kShadow, 0.32 * cast);
            canvas.Under(x, y, kShadow,
                         0.26 * Smoothstep(6, -4, WallOutlineDistance(p - kShadowOffset * 1.1)));
            const double wall = WallAmount(p, 0.5);
            if (wall > 0)
                canvas.Over(x, y, WallColour(p), wall);
        }
}

void PaintSpotSquares(Canvas& canvas) {
    const double half = kSpotSquareSize / 2, corner = 4 * kPictureScale;
    for (int t = 1; t <= kTrees; ++t) {
        const Point c = TreeSpot(t);
        canvas.Paint(
            c.x - half - 1, c.y - half - 1, c.x + half + 1, c.y + half + 1, [&](Point p, Colour& out) {
                const double qx = std::abs(p.x - c.x) - (half - corner),
                             qy = std::abs(p.y - c.y) - (half - corner);
                const double d =
                    Length({std::max(qx, 0.0), std::max(qy, 0.0)}) + std::min(std::max(qx, qy), 0.0) - corner;
                out = Rgb(0xFFFFFF);
                return 0.5 * Coverage(d);
            });
    }
}

}  // namespace

Point TreeSpot(int tree) {
    const auto [left, top] = layout::kTreeButtons[static_cast<std::size_t>(tree)];
    const double half = kTreeButtonSize / 2.0;
    return {(left + half - kShownLeft) * kPictureScale, (top + half - kShownTop) * kPictureScale};
}

double CrownRadius(int tree) {
    Pcg32 random(7000 + tree);
    return random.Range(34, 38);
}

double WallOutlineDistance(Point p) {
    double d = -std::numeric_limits<double>::infinity();
    for (const Edge& edge : Edges())
        d = std::max(d, EdgeDistance(edge, p));
    return d;
}

double PathDistance(Point p) {
    const Paths& paths = PathEnds();
    const double falling = SegmentDistance(p, paths.fallingFrom, paths.fallingTo) - kPathHalfWidth;
    const double rising = SegmentDistance(p, paths.risingFrom, paths.risingTo) - kPathHalfWidth;
    const double place = Length(p - kCrossing) - kPlaceRadius;
    return SmoothMin(SmoothMin(falling, rising, 8), place, 10);
}

Point PathCrossing() {
    return kCrossing;
}

Picture DrawOrchard(bool withSpotSquares) {
    Canvas canvas(kMapSize, kMapSize);
    PaintGround(canvas);
    PaintDetails(canvas);
    PaintWell(canvas);
    std::vector<Crown> crowns;
    for (int t = 1; t <= kTrees; ++t)
        crowns.push_back(MakeCrown(t));
    for (const Crown& crown : crowns)
        PaintCrownShadow(canvas, crown);
    for (const Crown& crown : crowns)
        PaintCrown(canvas, crown);
    PaintWall(canvas);
    if (withSpotSquares)
        PaintSpotSquares(canvas);
    return canvas.ToPicture();
}

}  // namespace vellicot::mapgen
