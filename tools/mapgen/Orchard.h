// The orchard map: where the trees, the wall and the paths lie, and the two map pictures drawn from it.
#pragma once

#include <array>

#include "core/MainLayout.h"
#include "tools/mapgen/Raster.h"

namespace vellicot::mapgen {

inline constexpr int kMapSize = 800;  // the pictures are kMapSize x kMapSize

// The main window shows the map at (2, 46) in its client area, stretched to 300 x 300, and puts a
// 40 x 40 tree button at each of its tree spots.
inline constexpr int kShownLeft = layout::kMapLeft;
inline constexpr int kShownTop = layout::kMapTop;
inline constexpr int kShownSize = layout::kMapSize;
inline constexpr int kTreeButtonSize = layout::kTreeButtonSize;
inline constexpr int kTrees = 16;
inline constexpr double kPictureScale = static_cast<double>(kMapSize) / kShownSize;
// The side of a tree button's square in picture pixels (about 107).
inline constexpr double kSpotSquareSize = kTreeButtonSize * kPictureScale;

// The centre of tree t's button (1..16) in picture pixels: the tree stands there.
Point TreeSpot(int tree);
// The radius of tree t's crown; every crown differs a little.
double CrownRadius(int tree);

// Signed distance (negative inside) to the outer edge of the wall, a roughly regular octagon.
double WallOutlineDistance(Point p);
inline constexpr double kWallThickness = 15;

// Signed distance to the edge of the walkable ground: the two diagonal paths from gate to gate and
// the round place where they cross.
double PathDistance(Point p);
// Where the two paths cross; a well stands there.
Point PathCrossing();

// "PngImage_1" without, "PngImage_2" with a translucent white square under every tree spot.
Picture DrawOrchard(bool withSpotSquares);

}  // namespace vellicot::mapgen
