// GDI+ objects, made only by the factories here and owned by what they return. Every object made
// here is counted until its owner frees it, so a test can prove that painting leaves none behind.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

#include "platform/Handles.h"
#include "platform/Win32.h"

namespace vellicot {

namespace detail {

inline std::atomic<std::ptrdiff_t> liveGdiplusObjects{0};

// Takes what a GDI+ create call made: counted and owned when it made something, and freed again at
// once when it also reported a failure. Empty when nothing was made.
template <class Owned, class Raw>
Owned Adopt(Gdiplus::GpStatus status, Raw* raw) noexcept {
    if (raw == nullptr)
        return Owned();
    liveGdiplusObjects.fetch_add(1, std::memory_order_relaxed);
    Owned owned(raw);
    if (status != Gdiplus::Ok)
        owned.reset();
    return owned;
}

}  // namespace detail

// GDI+ objects made by the factories below and not yet freed, in the whole process.
inline std::ptrdiff_t LiveGdiplusObjects() noexcept {
    return detail::liveGdiplusObjects.load(std::memory_order_relaxed);
}

// Frees a GDI+ object and takes it off the count.
template <auto Delete>
struct GdiplusDelete {
    template <class T>
    void operator()(T* object) const noexcept {
        Delete(object);
        detail::liveGdiplusObjects.fetch_sub(1, std::memory_order_relaxed);
    }
};
template <class T, auto Delete>
using GdiplusOwned = std::unique_ptr<T, GdiplusDelete<Delete>>;

using OwnedGraphics = GdiplusOwned<Gdiplus::GpGraphics, &GF::GdipDeleteGraphics>;
using OwnedPath = GdiplusOwned<Gdiplus::GpPath, &GF::GdipDeletePath>;
using OwnedPen = GdiplusOwned<Gdiplus::GpPen, &GF::GdipDeletePen>;
using OwnedBrush = GdiplusOwned<Gdiplus::GpBrush, &GF::GdipDeleteBrush>;
using OwnedRegion = GdiplusOwned<Gdiplus::GpRegion, &GF::GdipDeleteRegion>;
using OwnedFontFamily = GdiplusOwned<Gdiplus::GpFontFamily, &GF::GdipDeleteFontFamily>;
using OwnedFont = GdiplusOwned<Gdiplus::GpFont, &GF::GdipDeleteFont>;
using OwnedStringFormat = GdiplusOwned<Gdiplus::GpStringFormat, &GF::GdipDeleteStringFormat>;
using OwnedBitmap = GdiplusOwned<Gdiplus::GpBitmap, &GF::GdipDisposeImage>;

inline void DeletePrivateFontCollection(Gdiplus::GpFontCollection* collection) noexcept {
    GF::GdipDeletePrivateFontCollection(&collection);
}
using OwnedFontCollection = GdiplusOwned<Gdiplus::GpFontCollection, &DeletePrivateFontCollection>;

// A graphics object drawing into the device context.
inline OwnedGraphics MakeGraphics(HDC dc) noexcept {
    Gdiplus::GpGraphics* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCreateFromHDC(dc, &raw);
    return detail::Adopt<OwnedGraphics>(status, raw);
}

// A graphics object drawing into the bitmap.
inline OwnedGraphics MakeImageGraphics(Gdiplus::GpImage* image) noexcept {
    Gdiplus::GpGraphics* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipGetImageGraphicsContext(image, &raw);
    return detail::Adopt<OwnedGraphics>(status, raw);
}

// An empty path.
inline OwnedPath MakePath(Gdiplus::FillMode fillMode) noexcept {
    Gdiplus::GpPath* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCreatePath(fillMode, &raw);
    return detail::Adopt<OwnedPath>(status, raw);
}

// A solid pen, its width in world units.
inline OwnedPen MakePen(Gdiplus::ARGB colour, Gdiplus::REAL width) noexcept {
    Gdiplus::GpPen* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCreatePen1(colour, width, Gdiplus::UnitWorld, &raw);
    return detail::Adopt<OwnedPen>(status, raw);
}

inline OwnedBrush MakeSolidBrush(Gdiplus::ARGB colour) noexcept {
    Gdiplus::GpSolidFill* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCreateSolidFill(colour, &raw);
    return detail::Adopt<OwnedBrush>(status, raw);
}

// A linear gradient over the box, from one colour at its start to the other at its end.
inline OwnedBrush MakeLineBrush(const Gdiplus::GpRectF& box, Gdiplus::ARGB from, Gdiplus::ARGB to,
                                Gdiplus::LinearGradientMode mode, Gdiplus::WrapMode wrap) noexcept {
    Gdiplus::GpLineGradient* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCreateLineBrushFromRect(&box, from, to, mode, wrap, &raw);
    return detail::Adopt<OwnedBrush>(status, raw);
}

// A gradient filling the path from the centre colour at its centre point to one surround colour at
// its edge.
inline OwnedBrush MakePathGradientBrush(const Gdiplus::GpPath* path, Gdiplus::ARGB centre,
                                        Gdiplus::ARGB surround) noexcept {
    Gdiplus::GpPathGradient* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCreatePathGradientFromPath(path, &raw);
    OwnedBrush brush = detail::Adopt<OwnedBrush>(status, raw);
    if (brush) {
        GF::GdipSetPathGradientCenterColor(raw, centre);
        INT count = 1;
        GF::GdipSetPathGradientSurroundColorsWithCount(raw, &surround, &count);
    }
    return brush;
}

// The region inside the path.
inline OwnedRegion MakeRegion(Gdiplus::GpPath* path) noexcept {
    Gdiplus::GpRegion* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCreateRegionPath(path, &raw);
    return detail::Adopt<OwnedRegion>(status, raw);
}

// The font family of that name, installed or of the collection; empty when there is none.
inline OwnedFontFamily MakeFontFamily(const wchar_t* name,
                                      Gdiplus::GpFontCollection* collection = nullptr) noexcept {
    Gdiplus::GpFontFamily* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCreateFontFamilyFromName(name, collection, &raw);
    return detail::Adopt<OwnedFontFamily>(status, raw);
}

// A collection of its own of the fonts in the file; empty when GDI+ cannot read them.
inline OwnedFontCollection MakeFileFontCollection(const wchar_t* path) noexcept {
    Gdiplus::GpFontCollection* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipNewPrivateFontCollection(&raw);
    OwnedFontCollection collection = detail::Adopt<OwnedFontCollection>(status, raw);
    if (collection && GF::GdipPrivateAddFontFile(raw, path) != Gdiplus::Ok)
        collection.reset();
    return collection;
}

// A family of the collection as an object of its own, valid as long as the collection.
inline OwnedFontFamily CloneFontFamily(const Gdiplus::GpFontFamily* family) noexcept {
    Gdiplus::GpFontFamily* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCloneFontFamily(const_cast<Gdiplus::GpFontFamily*>(family), &raw);
    return detail::Adopt<OwnedFontFamily>(status, raw);
}

// A font of the family; style is a combination of Gdiplus::FontStyle bits.
inline OwnedFont MakeFont(const Gdiplus::GpFontFamily* family, Gdiplus::REAL emSize, INT style,
                          Gdiplus::Unit unit) noexcept {
    Gdiplus::GpFont* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCreateFont(family, emSize, style, unit, &raw);
    return detail::Adopt<OwnedFont>(status, raw);
}

inline OwnedStringFormat MakeStringFormat(INT flags, LANGID language) noexcept {
    Gdiplus::GpStringFormat* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCreateStringFormat(flags, language, &raw);
    return detail::Adopt<OwnedStringFormat>(status, raw);
}

// A bitmap over pixels the caller keeps alive as long as the bitmap.
inline OwnedBitmap MakeBitmap(INT width, INT height, INT stride, Gdiplus::PixelFormat format,
                              BYTE* pixels) noexcept {
    Gdiplus::GpBitmap* raw = nullptr;
    Gdiplus::GpStatus status = GF::GdipCreateBitmapFromScan0(width, height, stride, format, pixels, &raw);
    return detail::Adopt<OwnedBitmap>(status, raw);
}

}  // namespace vellicot
