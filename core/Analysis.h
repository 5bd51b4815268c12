// The analysis of the Board: writing a pick, the resets, the duplicate marks and the pair lines.
// It styles buttons and draws lines only through the narrow interfaces below, so it runs without
// windows; the Win32 layer implements them and the tests fake them.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/Board.h"
#include "core/Scale.h"

namespace vellicot {

// The face properties of a glass button that the analysis sets. A property it does not name keeps
// its previous value.
class ButtonFace {
public:
    virtual void SetCaption(std::wstring_view caption) = 0;
    virtual void SetFontBold(bool bold) = 0;
    virtual void SetFontSize(int points) = 0;
    virtual void SetFontColor(Colour colour) = 0;
    virtual void SetInnerBorderColor(Colour colour) = 0;
    virtual void SetOuterBorderColor(Colour colour) = 0;
    virtual void SetBackColor(Colour colour) = 0;

protected:
    ~ButtonFace() = default;
};

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A tree button also tells where it stands in the main window's client area.
class TreeButtonFace : public ButtonFace {
public:
    virtual Box BoundsInParent() const = 0;

protected:
    ~TreeButtonFace() = default;
};

// The transparent layer over the map on which the pair lines are drawn.
class LineOverlay {
public:
    // Replaces the overlay by an all-white one; white is its transparent colour.
    virtual void Clear() = 0;
    // A solid line with round ends, in the overlay's coordinates.
    virtual void DrawSegment(Point from, Point to, Colour colour, int width) = 0;

protected:
    ~LineOverlay() = default;
};

inline constexpr Colour kPickerBackground = 0xFFFFE0;
inline constexpr Colour kPairLineOutline = 0xF8F8F8;

// What the analysis styles: the sixteen tree buttons (slots 1..16), the picker's sixteen entry
// buttons with its cancel (17) and close (18) buttons, and the line overlay. None is owned.
struct AnalysisTargets {
    std::array<TreeButtonFace*, kTrees + 1> trees{};
    std::array<ButtonFace*, kEntries + 3> entries{};
    LineOverlay* overlay = nullptr;
};

// The end point of a tree's pair lines, from its button's bounds.
Point PairLineEndPoint(const Box& tree) noexcept;

class BoardAnalysis {
public:
    BoardAnalysis(Board& board, const AnalysisTargets& targets) noexcept : board_(board), targets_(targets) {}

    // Gives entry n (1..16) to tree iSel1, or clears its pick for n = 17, then runs the analysis.
    void WritePick(int n);
    // Resets the entry buttons, empties every pick and blackens the tree buttons' borders.
    void btnClear();
    // Restyles the sixteen entry buttons from the picks.
    void Check2Red();
    // Restyles the sixteen tree buttons (never their captions) and redraws the pair lines.
    void Check1RedLine();
    // A line in the pair colour with a near-white rim, from tree a to tree b.
    void DrawPairLine(int a, int b, Colour colour);

private:
    // How many trees hold entry n, and (when labels is given) their labels run together.
    int TreesHolding(int entry, std::wstring* labels) const;
    void SetTwoLineCaption(ButtonFace& button, std::wstring_view first, std::wstring_view second);

    Board& board_;
    AnalysisTargets targets_;
    std::wstring caption_;  // reused for every caption, so a run allocates nothing once warm
    std::wstring labels_;
};

}  // namespace vellicot
