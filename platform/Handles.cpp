// Out-of-line parts of the handle wrappers.
#include "platform/Handles.h"

#include <cassert>

namespace vellicot {

MemoryCanvas::MemoryCanvas(int width, int height)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    assert(width > 0 && height > 0 && "a canvas needs a positive size");
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels_ = static_cast<std::uint32_t*>(bits);
    oldBitmap_ = SelectObject(dc_.get(), bitmap_.get());
}

MemoryCanvas::~MemoryCanvas() {
    if (oldBitmap_ != nullptr)
        SelectObject(dc_.get(), oldBitmap_);
}

}  // namespace vellicot
