// Out-of-line parts of the handle wrappers.
#include "platform/Handles.h"

#include <cassert>

namespace vellicot {

MemoryCanvas::MemoryCanvas(int width, int height, Words words)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    assert(width > 0 && height > 0 && "a canvas needs a positive size");
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = words == Words::kWithAlpha ? BI_RGB : BI_BITFIELDS;
    info.masks[0] = 0xFF0000;
    info.masks[1] = 0x00FF00;
    info.masks[2] = 0x0000FF;
    void* bits = nullptr;
    bitmap_.reset(
        CreateDIBSection(dc_.get(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels_ = static_cast<std::uint32_t*>(bits);
    oldBitmap_ = SelectObject(dc_.get(), bitmap_.get());
}

MemoryCanvas::~MemoryCanvas() {
    if (oldBitmap_ != nullptr)
        SelectObject(dc_.get(), oldBitmap_);
}

}  // namespace vellicot
