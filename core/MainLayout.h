// Where the main window puts its map and its sixteen tree buttons, in client pixels at 96 DPI.
// Platform-free, so the map generator and the native tests read the same places the window uses.
#pragma once

#include <array>
#include <cstddef>

#include "core/Scale.h"

namespace vellicot::layout {

// The map and the line overlay: 300 x 300 at (2, 46) in the client area.
inline constexpr int kMapLeft = 2;
inline constexpr int kMapTop = 46;
inline constexpr int kMapSize = 300;

inline constexpr int kTreeButtonSize = 40;

struct TreeSpot {
    int left;
    int top;
};
// The top-left corner of tree t's button (slot t, 1..16; slot 0 unused). The map pictures draw a
// tree under each of these places: after changing one, redraw them with the native tree's
// `update_map_pictures` target and commit resources/PngImage_*.png with the change.
inline constexpr std::array<TreeSpot, 17> kTreeButtons = {{
    {0, 0},
    {65, 59},
    {122, 62},
    {177, 70},
    {135, 120},
    {252, 118},
    {231, 169},
    {184, 165},
    {225, 222},
    {122, 222},
    {80, 267},
    {138, 289},
    {177, 249},
    {19, 105},
    {57, 155},
    {7, 158},
    {29, 211},
}};

// Tree t's button in the client area (t in 1..16).
constexpr Box TreeButtonBox(int tree) {
    const TreeSpot& spot = kTreeButtons[static_cast<std::size_t>(tree)];
    return {spot.left, spot.top, kTreeButtonSize, kTreeButtonSize};
}

}  // namespace vellicot::layout
