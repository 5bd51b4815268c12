// Scaling and painting the map; drawing the line overlay; composing the two.
#include "windows/Pictures.h"

#include <algorithm>

#include "core/AreaScale.h"
#include "platform/Png.h"

namespace vellicot {
namespace {

constexpr COLORREF kTransparentWhite = RGB(255, 255, 255);

void FillWhite(const MemoryCanvas& canvas) {
    RECT all{0, 0, canvas.Width(), canvas.Height()};
    FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

}  // namespace

MapPicture::MapPicture(int size) {
    Resize(size);
}

void MapPicture::Resize(int size) {
    canvas_.emplace(size, size);
    FillWhite(*canvas_);
    ++version_;
    if (!resource_.empty())
        Load(resource_.c_str());
}

bool MapPicture::Load(const wchar_t* resourceName) {
    std::optional<DecodedPicture> picture = DecodePngResource(resourceName);
    if (!picture || canvas_->Pixels() == nullptr)
        return false;
    // Each shown pixel the average of the picture's area it covers: in a few milliseconds, where GDI+'s
    // bicubic filter takes four times as long under Wine (and sharpens a little beyond each pixel).
    AreaScaler scaler(picture->width, picture->height, canvas_->Width(), canvas_->Height());
    const std::size_t stride = static_cast<std::size_t>(picture->width) * 4;
    for (int y = 0; y < picture->height; ++y)
        scaler.AddRow(picture->bgra.data() + static_cast<std::size_t>(y) * stride);
    GdiFlush();
    std::copy(scaler.Pixels().begin(), scaler.Pixels().end(), canvas_->Pixels());
    resource_ = resourceName;
    ++version_;
    return true;  // the decoded picture is freed here, once copied
}

void MapPicture::Paint(HDC dc, int left, int top) const {
    BitBlt(dc, left, top, canvas_->Width(), canvas_->Height(), canvas_->Dc(), 0, 0, SRCCOPY);
}

LineOverlayPicture::LineOverlayPicture(HWND owner, Box place, int dpi)
    : owner_(owner), place_(place), dpi_(0) {
    SetDpi(dpi);
}

void LineOverlayPicture::SetDpi(int dpi) {
    if (dpi == dpi_)
        return;
    dpi_ = dpi;
    scaled_ = ScaleToDpi(place_, dpi);
    canvas_.emplace(scaled_.width, scaled_.height);
    FillWhite(*canvas_);
    for (const Segment& segment : segments_)
        Draw(segment);
    Changed();
}

void LineOverlayPicture::Clear() {
    segments_.clear();
    FillWhite(*canvas_);
    Changed();
}

void LineOverlayPicture::DrawSegment(Point from, Point to, Colour colour, int width) {
    segments_.push_back({from, to, colour, width});
    Draw(segments_.back());
    Changed();
}

void LineOverlayPicture::Draw(const Segment& segment) {
    // A plain solid pen: round ends at these widths.
    UniquePen pen(CreatePen(PS_SOLID, ScaleToDpi(segment.width, dpi_), segment.colour));
    SelectedObject selected(canvas_->Dc(), pen.get());
    MoveToEx(canvas_->Dc(), ScaleToDpi(segment.from.x, dpi_), ScaleToDpi(segment.from.y, dpi_), nullptr);
    LineTo(canvas_->Dc(), ScaleToDpi(segment.to.x, dpi_), ScaleToDpi(segment.to.y, dpi_));
}

void LineOverlayPicture::Paint(HDC dc) const {
    GdiTransparentBlt(dc, scaled_.left, scaled_.top, scaled_.width, scaled_.height, canvas_->Dc(), 0, 0,
                      scaled_.width, scaled_.height, kTransparentWhite);
}

Colour LineOverlayPicture::PixelAt(int x, int y) const {
    std::uint32_t argb = canvas_->Pixel(x, y);
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}

void LineOverlayPicture::Changed() {
    ++version_;
    if (owner_ == nullptr)
        return;
    RECT area{scaled_.left, scaled_.top, scaled_.Right(), scaled_.Bottom()};
    InvalidateRect(owner_, &area, FALSE);
}

MapView::MapView(HWND owner, Box place, int dpi)
    : Image1(ScaleToDpi(place.width, dpi)), Image2(owner, place, dpi), place_(place), dpi_(dpi) {}

void MapView::SetDpi(int dpi) {
    if (dpi == dpi_)
        return;
    dpi_ = dpi;
    Image1.Resize(ScaleToDpi(place_.width, dpi));
    Image2.SetDpi(dpi);
}

void MapView::Paint(HDC dc) const {
    const Box at = ScaleToDpi(place_, dpi_);
    if (!composed_ || composed_->Width() != at.width || composed_->Height() != at.height) {
        composed_.emplace(at.width, at.height);
        composedMap_ = composedLines_ = ~0u;
    }
    if (composedMap_ != Image1.Version() || composedLines_ != Image2.Version()) {
        // The overlay lays itself at its place in the window; the composed picture is that place.
        Image1.Paint(composed_->Dc(), 0, 0);
        POINT old{};
        SetWindowOrgEx(composed_->Dc(), at.left, at.top, &old);
        Image2.Paint(composed_->Dc());
        SetWindowOrgEx(composed_->Dc(), old.x, old.y, nullptr);
        composedMap_ = Image1.Version();
        composedLines_ = Image2.Version();
    }
    RECT clip{};
    if (GetClipBox(dc, &clip) == ERROR)
        clip = {at.left, at.top, at.Right(), at.Bottom()};
    const int left = std::max<int>(clip.left, at.left), top = std::max<int>(clip.top, at.top);
    const int right = std::min<int>(clip.right, at.Right()), bottom = std::min<int>(clip.bottom, at.Bottom());
    if (left >= right || top >= bottom)
        return;
    BitBlt(dc, left, top, right - left, bottom - top, composed_->Dc(), left - at.left, top - at.top, SRCCOPY);
}

}  // namespace vellicot
