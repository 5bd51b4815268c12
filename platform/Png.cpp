// libpng's simplified reader over a resource or any block of memory.
#include "platform/Png.h"

#include <png.h>

#include "platform/Win32.h"

namespace vellicot {

std::optional<DecodedPicture> DecodePng(const void* data, std::size_t size) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (data == nullptr || !png_image_begin_read_from_memory(&image, data, size)) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_BGRA;
    DecodedPicture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.bgra.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.bgra.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return picture;
}

std::optional<DecodedPicture> DecodePngResource(const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (info == nullptr)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    return DecodePng(data, SizeofResource(module, info));
}

}  // namespace vellicot
