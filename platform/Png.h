// PNG pictures decoded with libpng into 32-bit BGRA pixels (the byte order of GDI+ ARGB and GDI DIBs).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vellicot {

struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgra;  // width * height * 4 bytes, rows top-down, straight alpha
};

// Decodes a whole PNG file held in memory; nothing for data that is not a complete PNG.
std::optional<DecodedPicture> DecodePng(const void* data, std::size_t size);

// Decodes the PNG carried as the RCDATA resource of that name in the executable.
std::optional<DecodedPicture> DecodePngResource(const wchar_t* name);

}  // namespace vellicot
