// The main window's two pictures: the orchard map (Image1) and the line overlay (Image2).
#pragma once

#include "board/Analysis.h"
#include "platform/Handles.h"

namespace vellicot {

inline constexpr int kPictureSize = 300;

// The map, scaled once per load from its 800 x 800 picture and laid over white, so each paint is
// a plain copy.
class MapPicture {
public:
    MapPicture();
    // Loads the PNG resource of that name; keeps the old picture when it cannot be decoded.
    bool Load(const wchar_t* resourceName);
    void Paint(HDC dc, int left, int top) const;

private:
    MemoryCanvas canvas_;
};

// The overlay on which the pair lines are drawn; pure white is transparent when it is painted.
class LineOverlayPicture final : public LineOverlay {
public:
    // owner is invalidated over the overlay's area at every change; left and top place the
    // overlay in the owner's client area.
    LineOverlayPicture(HWND owner, int left, int top);

    void Clear() override;
    void DrawSegment(Point from, Point to, Colour colour, int width) override;
    void Paint(HDC dc) const;

    // The overlay's colour at a point of its own, as 0x00BBGGRR (for tests).
    Colour PixelAt(int x, int y) const;

private:
    void InvalidateOwner() const;

    HWND owner_;  // not owned
    int left_;
    int top_;
    MemoryCanvas canvas_;
};

}  // namespace vellicot
