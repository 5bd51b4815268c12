// The glass button's drawing geometry and colour arithmetic, free of any platform call: the
// outline figures, the glow ellipse, the shine band, the caption boxes and the caption text rules.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vellicot {

struct GlassPoint {
    float x = 0;
    float y = 0;
    bool operator==(const GlassPoint&) const = default;
};

struct GlassRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool operator==(const GlassRect&) const = default;
};

// One piece of a figure: an elliptic arc inside a box, angles in degrees clockwise from the x axis.
struct GlassArc {
    GlassRect box;
    float startAngle = 0;
    float sweepAngle = 0;
    bool operator==(const GlassArc&) const = default;
};

struct GlassLine {
    GlassPoint from;
    GlassPoint to;
    bool operator==(const GlassLine&) const = default;
};

using GlassSegment = std::variant<GlassArc, GlassLine>;

// A closed figure, the pieces in drawing order; the renderer adds them to one path and closes it.
struct GlassFigure {
    std::vector<GlassSegment> segments;
};

// The face is drawn at 96 DPI in logical units: a button of W x H pixels at a scale s (its DPI over
// 96) is drawn as one of W / s x H / s scaled by s, so sizes here need not be whole numbers. At 96
// DPI every size is a whole number of pixels.

// The rounded rectangle spanning x..x+w and y..y+h with all four corners of radius r.
GlassFigure RoundedRectFigure(float x, float y, float w, float h, float r);

// The same rectangle with only its two upper corners rounded: the outline of the shine.
GlassFigure TopRoundedRectFigure(float x, float y, float w, float h, float r);

// The box of the glow ellipse for a button of client size width x height. Its centre lies at the
// horizontal middle of the face and on the face's bottom edge, so the glow rises from below.
GlassRect GlowEllipseBox(float width, float height);

// The shine over the upper half of the face: the outline's box and the gradient's box (one pixel
// narrower, as the gradient only needs to span the face). None for a face too small to carry one.
// Its height hs is half the face's height H - 3, rounded down, plus one.
struct GlassShine {
    GlassRect outline;   // left 1, top 1, width W - 3, height hs
    GlassRect gradient;  // left 1, top 1, width W - 4, height hs
};
std::optional<GlassShine> ShineArea(float width, float height);

// The caption's left inset in pixels at the DPI: 2 at 96 DPI, scaled and rounded.
int CaptionInset(int pixelsPerInch);

// The caption box of the anti-aliased route: left inset, top 0, width W - inset, height H.
GlassRect CaptionLayoutBox(int width, int height, int pixelsPerInch = 96);

// The top of the plain-text route's box, which centres a block of textHeight pixels vertically
// (integer division that truncates toward zero, also for a block taller than the button).
int CaptionTextTop(int height, int textHeight);

// Every backslash followed by 'n' or 'N' becomes a line feed followed by a carriage return.
std::wstring ExpandCaptionLineBreaks(std::wstring_view caption);

// The caption as handed to GDI+: a carriage return next to a line feed is dropped, so every CR LF
// (and the LF CR of the escape above) is one line break. Windows' GDI+ already draws nothing for
// such a CR, but Wine's draws it as a missing-glyph box.
std::wstring GdiplusCaptionText(std::wstring_view caption);

// The character a caption marks with '&' for keyboard access ("&&" is a plain ampersand), if any.
std::optional<wchar_t> CaptionAccelerator(std::wstring_view caption);

// A colour whose top bit is set names a system colour; its low byte is the system colour index.
constexpr bool IsSystemColour(std::uint32_t colour) {
    return static_cast<std::int32_t>(colour) < 0;
}
constexpr std::uint32_t SystemColour(int index) {
    return 0xFF000000u | static_cast<std::uint32_t>(index);
}
// The system window-text colour, which some captions are given.
inline constexpr std::uint32_t kSystemWindowText = SystemColour(8);

// A 0x00BBGGRR colour as a GDI+ 0xAARRGGBB value of the given alpha. Only the low three bytes are
// read, so a system colour passed here unresolved is drawn from its index bytes.
constexpr std::uint32_t GlassArgb(std::uint8_t alpha, std::uint32_t colour) {
    return (std::uint32_t{alpha} << 24) | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) |
           ((colour >> 16) & 0xFFu);
}

}  // namespace vellicot
