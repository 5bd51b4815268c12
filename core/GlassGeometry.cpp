// The glass button's outline figures, glow and shine boxes and caption rules.
#include "core/GlassGeometry.h"

#include <cmath>

#include "core/Scale.h"

namespace vellicot {
namespace {

constexpr int kCaptionInset = 2;  // pixels at 96 DPI

// Starts a figure with its top-left corner, top edge and top-right corner, with room for the
// longest figure's eight pieces. (Growing a vector of these variants one piece at a time also makes
// GCC 14 warn, wrongly, of a write out of bounds.)
void AddUpperCorners(GlassFigure& figure, float x, float y, float w, float r) {
    float d = 2 * r;
    figure.segments.reserve(8);
    figure.segments.push_back(GlassArc{{x, y, d, d}, 180, 90});
    figure.segments.push_back(GlassLine{{x + r, y}, {x + w - r, y}});
    figure.segments.push_back(GlassArc{{x + w - d, y, d, d}, 270, 90});
}

}  // namespace

GlassFigure RoundedRectFigure(float x, float y, float w, float h, float r) {
    float d = 2 * r;
    GlassFigure figure;
    AddUpperCorners(figure, x, y, w, r);
    figure.segments.push_back(GlassLine{{x + w, y + r}, {x + w, y + h - r}});
    figure.segments.push_back(GlassArc{{x + w - d, y + h - d, d, d}, 0, 90});
    figure.segments.push_back(GlassLine{{x + w - r, y + h}, {x + r, y + h}});
    figure.segments.push_back(GlassArc{{x, y + h - d, d, d}, 90, 90});
    figure.segments.push_back(GlassLine{{x, y + h - r}, {x, y + r}});
    return figure;
}

GlassFigure TopRoundedRectFigure(float x, float y, float w, float h, float r) {
    GlassFigure figure;
    AddUpperCorners(figure, x, y, w, r);
    figure.segments.push_back(GlassLine{{x + w, y + r}, {x + w, y + h}});
    figure.segments.push_back(GlassLine{{x + w, y + h}, {x, y + h}});
    figure.segments.push_back(GlassLine{{x, y + h}, {x, y + r}});
    return figure;
}

GlassRect GlowEllipseBox(float width, float height) {
    float w0 = width - 4;
    float h0 = height - 4;
    return {1 - 0.35f * w0, 1 - 0.15f * h0, 1.7f * w0, 2.3f * h0};
}

std::optional<GlassShine> ShineArea(float width, float height) {
    // Rounded down, so that a face less than three pixels high gets a negative half height.
    float half = std::floor((height - 3) / 2);
    if (width - 3 <= 0 || half <= 0)
        return std::nullopt;
    float hs = half + 1;
    return GlassShine{{1, 1, width - 3, hs}, {1, 1, width - 4, hs}};
}

int CaptionInset(int pixelsPerInch) {
    return ScaleToDpi(kCaptionInset, pixelsPerInch);
}

GlassRect CaptionLayoutBox(int width, int height, int pixelsPerInch) {
    int inset = CaptionInset(pixelsPerInch);
    return {static_cast<float>(inset), 0, static_cast<float>(width - inset), static_cast<float>(height)};
}

int CaptionTextTop(int height, int textHeight) {
    return (height - textHeight) / 2;
}

std::wstring ExpandCaptionLineBreaks(std::wstring_view caption) {
    std::wstring text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'\\' && i + 1 < caption.size() &&
            (caption[i + 1] == L'n' || caption[i + 1] == L'N')) {
            text += L"\n\r";
            ++i;
        } else {
            text += caption[i];
        }
    }
    return text;
}

std::wstring GdiplusCaptionText(std::wstring_view caption) {
    std::wstring text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        bool nextToLineFeed =
            (i > 0 && caption[i - 1] == L'\n') || (i + 1 < caption.size() && caption[i + 1] == L'\n');
        if (caption[i] == L'\r' && nextToLineFeed)
            continue;
        text += caption[i];
    }
    return text;
}

std::optional<wchar_t> CaptionAccelerator(std::wstring_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] != L'&')
            return caption[i + 1];
        ++i;  // "&&" stands for one ampersand
    }
    return std::nullopt;
}

}  // namespace vellicot
