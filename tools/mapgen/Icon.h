// The program icon: a fruit tree inside the orchard's octagonal wall, drawn for each icon size, and
// the .ico file that carries the sizes.
#pragma once

#include <array>
#include <vector>

#include "tools/mapgen/PngCodec.h"
#include "tools/mapgen/Raster.h"

namespace vellicot::mapgen {

inline constexpr std::array<int, 4> kIconSizes = {16, 32, 48, 256};

// The icon drawn for a size x size image; small sizes are drawn with fewer, bolder details.
Picture DrawIcon(int size);

// An .ico file of the pictures, in their order: 256-pixel images as PNG, smaller ones as 32-bit
// bitmaps with their transparency mask, as Windows expects. Throws std::runtime_error on libpng errors.
Bytes EncodeIco(const std::vector<Picture>& pictures);

}  // namespace vellicot::mapgen
