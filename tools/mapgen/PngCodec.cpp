// libpng's simplified reader and writer, and whole-file reads and writes.
#include "tools/mapgen/PngCodec.h"

#include <png.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace vellicot::mapgen {

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t size) {
    try {
        auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
        out->insert(out->end(), data, data + size);
    } catch (...) {
        png_error(png, "out of memory");
    }
}

void NoFlush(png_structp) {}
void IgnoreWarning(png_structp, png_const_charp) {}
void JumpOnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// Writes with libpng's full interface, which lets us pick the filter and the compression: drawn
// pictures with large flat areas pack best unfiltered at the highest level. Only plain locals live
// here, since an error leaves by longjmp.
bool WritePng(const Picture& picture, Bytes* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendToBytes, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
    png_set_compression_strategy(png, 0);  // Z_DEFAULT_STRATEGY: long matches matter more than filtering
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, picture.At(0, y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

Bytes EncodePng(const Picture& picture) {
    Bytes png;
    if (!WritePng(picture, &png))
        throw std::runtime_error("libpng cannot write the picture");
    return png;
}

std::optional<Picture> DecodePng(const std::uint8_t* data, std::size_t size) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGBA;
    Picture picture{static_cast<int>(image.width), static_cast<int>(image.height), {}};
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return picture;
}

std::optional<Bytes> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

}  // namespace vellicot::mapgen
