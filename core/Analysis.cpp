// The analysis: every pick or settings change restyles all buttons and redraws the pair lines
// from the picks alone; nothing is kept between runs.
#include "core/Analysis.h"

#include <cassert>

namespace vellicot {
namespace {

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kDuplicateText = 0x0000FF;
constexpr Colour kDuplicateBorder = 0x9314FF;
constexpr Colour kDuplicateBack = 0xEE82EE;
constexpr std::wstring_view kNoTrees = L"－";

enum TreeState { kNoPick = 0, kPicked = 1, kDuplicate = 9 };

// Integer division rounding up, for the non-negative sizes of buttons.
constexpr int CeilHalf(int v) noexcept {
    return v / 2 + v % 2;
}

}  // namespace

Point PairLineEndPoint(const Box& tree) noexcept {
    // The overlay sits 2 pixels right of and 46 below the client origin, so for 40 x 40 buttons
    // this lands on the centre horizontally and 4 pixels below it vertically.
    return {tree.left + CeilHalf(tree.width) - 2, tree.top - CeilHalf(tree.height) - 2};
}

void BoardAnalysis::SetTwoLineCaption(ButtonFace& button, std::wstring_view first, std::wstring_view second) {
    caption_.assign(first);
    caption_.append(L"\r\n");
    caption_.append(second);
    button.SetCaption(caption_);
}

int BoardAnalysis::TreesHolding(int entry, std::wstring* labels) const {
    int count = 0;
    if (labels != nullptr)
        labels->clear();
    for (int t = 1; t <= kTrees; ++t) {
        if (board_.sList1Sel[t] != board_.sList2Txt[entry])
            continue;
        ++count;
        if (labels != nullptr)
            labels->append(board_.sList1Txt[t]);
    }
    return count;
}

void BoardAnalysis::WritePick(int n) {
    assert(n >= 1 && n <= kCancelButton && "a pick comes from entry buttons 1..16 or the cancel button 17");
    const int t = board_.iSel1;
    assert(t >= 1 && t <= kTrees && "iSel1 must name the tree whose picker is open");
    TreeButtonFace& tree = *targets_.trees[t];
    if (n <= kEntries) {
        board_.sList1Sel[t] = board_.sList2Txt[n];
        SetTwoLineCaption(tree, board_.sList2Txt[n], board_.sList1Txt[t]);
    } else {
        board_.sList1Sel[t].clear();
        SetTwoLineCaption(tree, board_.sList1Txt[t], kNoTrees);
    }
    Check2Red();
    Check1RedLine();
}

void BoardAnalysis::btnClear() {
    for (int i = 1; i <= kEntries; ++i) {
        ButtonFace& entry = *targets_.entries[i];
        SetTwoLineCaption(entry, board_.sList2Txt[i], kNoTrees);
        entry.SetBackColor(board_.sListBCol[i]);
    }
    for (int i = 1; i < kSlots; ++i)
        board_.sList1Sel[i].clear();
    for (int i = 1; i <= kEntries; ++i) {
        ButtonFace& entry = *targets_.entries[i];
        entry.SetFontBold(true);
        entry.SetFontSize(10);
        entry.SetFontColor(kBlack);
        entry.SetInnerBorderColor(board_.sList2Col[i]);
        entry.SetOuterBorderColor(board_.sList2OCo[i]);
        TreeButtonFace& tree = *targets_.trees[i];
        tree.SetInnerBorderColor(kBlack);
        tree.SetOuterBorderColor(kBlack);
    }
    SetTwoLineCaption(*targets_.entries[kCancelButton], L"選択", L"取消し");
    targets_.entries[kCancelButton + 1]->SetCaption(L"閉じる");
}

void BoardAnalysis::Check2Red() {
    for (int i = 1; i <= kEntries; ++i) {
        ButtonFace& entry = *targets_.entries[i];
        const int count = TreesHolding(i, &labels_);
        SetTwoLineCaption(entry, board_.sList2Txt[i], count == 0 ? kNoTrees : std::wstring_view(labels_));
        const int virtue = VirtueOf(i);
        entry.SetInnerBorderColor(board_.sList2Col[virtue]);
        entry.SetOuterBorderColor(board_.sList2OCo[virtue]);
        if (count == 0) {
            entry.SetFontBold(true);
            entry.SetFontSize(9);
            entry.SetFontColor(kBlack);
        } else {
            // A taken entry is greyed as the settings say and loses its coloured outer ring.
            entry.SetFontBold(board_.iSettingsTokuBtnTxtBold != 0);
            entry.SetFontSize(9);
            entry.SetFontColor(board_.iSettingsTokuBtnTxtColor != 0 ? 0x404040 : 0xB0B0B0);
            entry.SetOuterBorderColor(kPickerBackground);
        }
        entry.SetBackColor(board_.sListBCol[i]);
        if (count >= 2) {
            entry.SetFontBold(true);
            entry.SetFontSize(9);
            entry.SetFontColor(kDuplicateText);
            entry.SetInnerBorderColor(kDuplicateBorder);
            entry.SetOuterBorderColor(kDuplicateBorder);
            entry.SetBackColor(kDuplicateBack);
        }
    }
}

void BoardAnalysis::Check1RedLine() {
    // The states come first, so each tree is given its final look in one go: a duplicate that stays
    // a duplicate sees no passing change of its text, and so no needless repaint.
    std::array<TreeState, kTrees + 1> state{};
    std::array<int, kTrees + 1> entryOf{};
    for (int i = 1; i <= kTrees; ++i) {
        entryOf[i] = board_.EntryNumberOf(board_.sList1Sel[i]);
        if (entryOf[i] == 0) {
            state[i] = kNoPick;
        } else {
            state[i] = TreesHolding(entryOf[i], nullptr) >= 2 ? kDuplicate : kPicked;
        }
    }

    for (int i = 1; i <= kTrees; ++i) {
        TreeButtonFace& tree = *targets_.trees[i];
        const int k = entryOf[i];
        if (state[i] == kNoPick) {
            tree.SetFontBold(true);
            tree.SetFontSize(10);
            tree.SetFontColor(kBlack);
            tree.SetInnerBorderColor(kBlack);
            tree.SetOuterBorderColor(kBlack);
            tree.SetBackColor(kWhite);
            continue;
        }
        if (state[i] == kDuplicate) {
            // Red whatever the settings; the borders and back stay those of the entry.
            tree.SetFontBold(true);
            tree.SetFontSize(10);
            tree.SetFontColor(kDuplicateText);
        } else {
            tree.SetFontBold(board_.iSettingsTreeBtnTxtBold != 0);
            tree.SetFontSize(9);
            tree.SetFontColor(board_.iSettingsTreeBtnTxtColor != 0 ? 0x808080 : 0x202020);
        }
        tree.SetInnerBorderColor(board_.sList1Col[k]);
        tree.SetOuterBorderColor(board_.sList1Col[k]);
        tree.SetBackColor(board_.sListBCol[k]);
    }

    targets_.overlay->Clear();

    for (int j = 1; j <= kTrees; ++j) {
        if (state[j] != kPicked)
            continue;
        const int k = entryOf[j];
        if (k > kVirtues)
            continue;
        for (int l = 1; l <= kTrees; ++l) {
            if (board_.sList1Sel[l] == board_.sList2Txt[k + kVirtues])
                DrawPairLine(j, l, board_.sList1Col[k]);
        }
    }
}

void BoardAnalysis::DrawPairLine(int a, int b, Colour colour) {
    const Point from = PairLineEndPoint(targets_.trees[a]->BoundsInParent());
    const Point to = PairLineEndPoint(targets_.trees[b]->BoundsInParent());
    targets_.overlay->DrawSegment(from, to, kPairLineOutline, 6);
    targets_.overlay->DrawSegment(from, to, colour, 4);
}

}  // namespace vellicot
