// Fakes for the analysis: buttons and an overlay that record what they were given. For the
// analysis's tests and its benchmark; the program itself never includes it.
#pragma once

#include <string>
#include <vector>

#include "core/Analysis.h"
#include "core/MainLayout.h"

namespace vellicot::testing {

struct FakeButton : TreeButtonFace {
    std::wstring caption = L"(untouched)";
    bool bold = false;
    int size = 0;
    Colour font = 0x123456;
    Colour inner = 0x123456;
    Colour outer = 0x123456;
    Colour back = 0x123456;
    Box bounds;
    int captionWrites = 0;
    int fontColourChanges = 0;  // sets that really changed the colour, each a repaint of a glass button

    void SetCaption(std::wstring_view c) override {
        caption.assign(c);
        ++captionWrites;
    }
    void SetFontBold(bool b) override { bold = b; }
    void SetFontSize(int points) override { size = points; }
    void SetFontColor(Colour c) override {
        if (c != font)
            ++fontColourChanges;
        font = c;
    }
    void SetInnerBorderColor(Colour c) override { inner = c; }
    void SetOuterBorderColor(Colour c) override { outer = c; }
    void SetBackColor(Colour c) override { back = c; }
    Box BoundsInParent() const override { return bounds; }
};

struct Segment {
    Point from;
    Point to;
    Colour colour;
    int width;
    friend bool operator==(const Segment&, const Segment&) = default;
};

struct FakeOverlay : LineOverlay {
    std::vector<Segment> segments;
    int clears = 0;
    void Clear() override {
        segments.clear();
        ++clears;
    }
    void DrawSegment(Point from, Point to, Colour colour, int width) override {
        segments.push_back({from, to, colour, width});
    }
};

// A Board filled as after start-up, with fake buttons wired to an analysis.
struct AnalysisRig {
    Board board;
    FakeButton trees[kTrees + 1];
    FakeButton entries[kEntries + 3];
    FakeOverlay overlay;
    BoardAnalysis analysis{board, Targets()};

    explicit AnalysisRig(int palette = 0) {
        board.iSettingsBtnBGColor = palette;
        board.FillTreeLabels();
        board.excBtnClearForm2();
        for (int t = 1; t <= kTrees; ++t) {
            trees[t].bounds = layout::TreeButtonBox(t);
            trees[t].caption = board.sList1Txt[t];
        }
        analysis.btnClear();
    }

    AnalysisTargets Targets() {
        AnalysisTargets targets;
        for (int t = 1; t <= kTrees; ++t)
            targets.trees[t] = &trees[t];
        for (int i = 1; i <= kEntries + 2; ++i)
            targets.entries[i] = &entries[i];
        targets.overlay = &overlay;
        return targets;
    }

    void Pick(int tree, int entry) {
        board.iSel1 = tree;
        analysis.WritePick(entry);
    }
};

}  // namespace vellicot::testing
