// PNG and file helpers of the map generator, over libpng's simplified interface.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "tools/mapgen/Raster.h"

namespace vellicot::mapgen {

using Bytes = std::vector<std::uint8_t>;

// An 8-bit RGBA PNG of the picture; throws std::runtime_error when libpng fails.
Bytes EncodePng(const Picture& picture);
// The picture of a whole PNG file as 8-bit RGBA; nothing for data that is not a complete PNG.
std::optional<Picture> DecodePng(const std::uint8_t* data, std::size_t size);

std::optional<Bytes> ReadFileBytes(const std::filesystem::path& path);
// Throws std::runtime_error when the file cannot be written completely.
void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace vellicot::mapgen
