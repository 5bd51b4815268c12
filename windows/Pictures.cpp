// Scaling and painting the map; drawing and painting the line overlay.
#include "windows/Pictures.h"

#include "platform/Png.h"

namespace vellicot {
namespace {

constexpr COLORREF kTransparentWhite = RGB(255, 255, 255);

void FillWhite(const MemoryCanvas& canvas) {
    RECT all{0, 0, canvas.Width(), canvas.Height()};
    FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

}  // namespace

MapPicture::MapPicture() : canvas_(kPictureSize, kPictureSize) {
    FillWhite(canvas_);
}

bool MapPicture::Load(const wchar_t* resourceName) {
    std::optional<DecodedPicture> picture = DecodePngResource(resourceName);
    if (!picture)
        return false;
    Gdiplus::GpBitmap* rawSource = nullptr;
    if (GF::GdipCreateBitmapFromScan0(picture->width, picture->height, picture->width * 4,
                                      PixelFormat32bppARGB, picture->bgra.data(),
                                      &rawSource) != Gdiplus::Ok) {
        return false;
    }
    UniqueGpBitmap source(rawSource);
    Gdiplus::GpGraphics* rawGraphics = nullptr;
    if (GF::GdipCreateFromHDC(canvas_.Dc(), &rawGraphics) != Gdiplus::Ok)
        return false;
    UniqueGraphics graphics(rawGraphics);
    GF::GdipGraphicsClear(graphics.get(), 0xFFFFFFFF);
    GF::GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeHighQualityBicubic);
    GF::GdipSetPixelOffsetMode(graphics.get(), Gdiplus::PixelOffsetModeHighQuality);
    GF::GdipDrawImageRectI(graphics.get(), source.get(), 0, 0, kPictureSize, kPictureSize);
    GF::GdipFlush(graphics.get(), Gdiplus::FlushIntentionSync);
    return true;  // the decoded picture is freed here, once copied
}

void MapPicture::Paint(HDC dc, int left, int top) const {
    BitBlt(dc, left, top, kPictureSize, kPictureSize, canvas_.Dc(), 0, 0, SRCCOPY);
}

LineOverlayPicture::LineOverlayPicture(HWND owner, int left, int top)
    : owner_(owner), left_(left), top_(top), canvas_(kPictureSize, kPictureSize) {
    FillWhite(canvas_);
}

void LineOverlayPicture::Clear() {
    FillWhite(canvas_);
    InvalidateOwner();
}

void LineOverlayPicture::DrawSegment(Point from, Point to, Colour colour, int width) {
    // A plain solid pen: round ends at these widths.
    UniquePen pen(CreatePen(PS_SOLID, width, colour));
    SelectedObject selected(canvas_.Dc(), pen.get());
    MoveToEx(canvas_.Dc(), from.x, from.y, nullptr);
    LineTo(canvas_.Dc(), to.x, to.y);
    InvalidateOwner();
}

void LineOverlayPicture::Paint(HDC dc) const {
    TransparentBlt(dc, left_, top_, kPictureSize, kPictureSize, canvas_.Dc(), 0, 0, kPictureSize,
                   kPictureSize, kTransparentWhite);
}

Colour LineOverlayPicture::PixelAt(int x, int y) const {
    std::uint32_t argb = canvas_.Pixel(x, y);
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}

void LineOverlayPicture::InvalidateOwner() const {
    if (owner_ == nullptr)
        return;
    RECT area{left_, top_, left_ + kPictureSize, top_ + kPictureSize};
    InvalidateRect(owner_, &area, FALSE);
}

}  // namespace vellicot
