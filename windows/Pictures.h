// The main window's two pictures, the orchard map (Image1) and the pair-line overlay (Image2), and
// the view that shows the one over the other at the window's DPI.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Analysis.h"
#include "core/Scale.h"
#include "platform/Handles.h"

namespace vellicot {

// The map, scaled once per load from its 800 x 800 picture to the size it is shown at and laid
// over white, so each paint is a plain copy.
class MapPicture {
public:
    explicit MapPicture(int size);
    // Loads the PNG resource of that name; keeps the old picture when it cannot be decoded.
    bool Load(const wchar_t* resourceName);
    // Shows the map at another size, drawn again from the full-size picture.
    void Resize(int size);
    void Paint(HDC dc, int left, int top) const;
    // Counts the changes of the picture.
    unsigned Version() const noexcept { return version_; }

private:
    std::optional<MemoryCanvas> canvas_;
    std::wstring resource_;
    unsigned version_ = 0;
};

// The overlay on which the pair lines are drawn; pure white is transparent when it is painted. It
// takes lines in 96-DPI pixels of its own and draws them scaled to the DPI it is shown at, and it
// keeps them, so a change of DPI draws the same lines again.
class LineOverlayPicture final : public LineOverlay {
public:
    // owner is invalidated over the overlay's place at every change; place is the overlay's box in
    // the owner's client area at 96 DPI.
    LineOverlayPicture(HWND owner, Box place, int dpi = kBaseDpi);

    void Clear() override;
    void DrawSegment(Point from, Point to, Colour colour, int width) override;
    void SetDpi(int dpi);

    // Lays the lines over what the DC shows at the overlay's scaled place, leaving white out.
    void Paint(HDC dc) const;
    unsigned Version() const noexcept { return version_; }
    // The overlay's colour at a pixel of its own at the current DPI, as 0x00BBGGRR (for tests).
    Colour PixelAt(int x, int y) const;

private:
    struct Segment {
        Point from, to;
        Colour colour;
        int width;
    };
    void Draw(const Segment& segment);
    void Changed();

    HWND owner_;  // not owned
    Box place_;
    int dpi_;
    Box scaled_;
    std::optional<MemoryCanvas> canvas_;
    std::vector<Segment> segments_;
    unsigned version_ = 0;
};

// The map with the pair lines over it as the main window shows them: composed into one picture
// once per change, so a paint copies only the part it needs and never lays the overlay again.
class MapView {
public:
    MapView(HWND owner, Box place, int dpi);

    void SetDpi(int dpi);
    // Paints the view's part of the DC's clip box at the scaled place.
    void Paint(HDC dc) const;

    MapPicture Image1;
    LineOverlayPicture Image2;

private:
    Box place_;
    int dpi_;
    mutable std::optional<MemoryCanvas> composed_;
    mutable unsigned composedMap_ = ~0u;
    mutable unsigned composedLines_ = ~0u;
};

}  // namespace vellicot
