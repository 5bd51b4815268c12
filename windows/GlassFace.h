// A glass button seen by the analysis: the face properties it sets and, for a tree, its bounds.
#pragma once

#include "core/Analysis.h"
#include "widgets/GlassButton.h"

namespace vellicot {

class GlassFace final : public TreeButtonFace {
public:
    // bounds: where a tree button stands in the main window's client area at 96 DPI, whatever the
    // window's DPI; the pair lines are drawn in those pixels and scaled by the overlay.
    explicit GlassFace(TCustomGlassButton& button, Box bounds = {}) noexcept
        : button_(button), bounds_(bounds) {}

    void SetCaption(std::wstring_view caption) override { button_.SetCaption(caption); }
    void SetFontBold(bool bold) override { button_.SetFontBold(bold); }
    void SetFontSize(int points) override { button_.SetFontSize(points); }
    void SetFontColor(Colour colour) override { button_.SetFontColor(colour); }
    void SetInnerBorderColor(Colour colour) override { button_.SetInnerBorderColor(colour); }
    void SetOuterBorderColor(Colour colour) override { button_.SetOuterBorderColor(colour); }
    void SetBackColor(Colour colour) override { button_.SetBackColor(colour); }
    Box BoundsInParent() const override { return bounds_; }

private:
    TCustomGlassButton& button_;
    Box bounds_;
};

}  // namespace vellicot
