// The analysis rules: picks, cancels, duplicates, the entry-text settings and the pair lines.
#include <gtest/gtest.h>

#include "tests/native/AnalysisFakes.h"

namespace vellicot {
namespace {

using testing::AnalysisRig;
using testing::FakeButton;
using testing::Segment;

constexpr Colour kGold = 0x00D7FF;

// The two segments of one pair line: the near-white rim first, then the colour over it.
std::vector<Segment> PairLine(const AnalysisRig& rig, int a, int b, Colour colour) {
    Point from = PairLineEndPoint(rig.trees[a].bounds);
    Point to = PairLineEndPoint(rig.trees[b].bounds);
    return {{from, to, 0xF8F8F8, 6}, {from, to, colour, 4}};
}

void ExpectFreeTree(const FakeButton& tree) {
    EXPECT_TRUE(tree.bold);
    EXPECT_EQ(tree.size, 10);
    EXPECT_EQ(tree.font, 0x000000u);
    EXPECT_EQ(tree.inner, 0x000000u);
    EXPECT_EQ(tree.outer, 0x000000u);
    EXPECT_EQ(tree.back, 0xFFFFFFu);
}

TEST(AnalysisTest, ResetGivesEveryEntryItsNameOverADashAndEmptiesEveryPick) {
    AnalysisRig rig;
    rig.board.sList1Sel[17] = L"慈悲";
    rig.analysis.btnClear();
    for (int i = 1; i <= kEntries; ++i) {
        SCOPED_TRACE(i);
        const FakeButton& entry = rig.entries[i];
        EXPECT_EQ(entry.caption, std::wstring(kEntryNames[i]) + L"\r\n－");
        EXPECT_TRUE(entry.bold);
        EXPECT_EQ(entry.size, 10);
        EXPECT_EQ(entry.font, 0x000000u);
        EXPECT_EQ(entry.inner, rig.board.sList2Col[i]);
        EXPECT_EQ(entry.outer, rig.board.sList2OCo[i]);
        EXPECT_EQ(entry.back, rig.board.sListBCol[i]);
        EXPECT_TRUE(rig.board.sList1Sel[i].empty());
        // Only the borders of the tree buttons change; their text and back keep what they had.
        EXPECT_EQ(rig.trees[i].inner, 0x000000u);
        EXPECT_EQ(rig.trees[i].outer, 0x000000u);
        EXPECT_EQ(rig.trees[i].back, 0x123456u);
        EXPECT_EQ(rig.trees[i].caption, rig.board.sList1Txt[i]);
    }
    EXPECT_TRUE(rig.board.sList1Sel[17].empty());
    EXPECT_EQ(rig.entries[17].caption, L"選択\r\n取消し");
    EXPECT_EQ(rig.entries[18].caption, L"閉じる");
    EXPECT_TRUE(rig.overlay.segments.empty());
    EXPECT_EQ(rig.overlay.clears, 0);
}

TEST(AnalysisTest, VirtueOnTree3AndItsViceOnTree10DrawOneGoldLineAndNothingRed) {
    AnalysisRig rig;
    rig.Pick(3, 1);
    rig.Pick(10, 9);
    EXPECT_EQ(rig.trees[3].caption, L"慈悲\r\n上１");
    EXPECT_EQ(rig.trees[10].caption, L"デスパイス\r\n下１");
    for (int t : {3, 10}) {
        SCOPED_TRACE(t);
        EXPECT_FALSE(rig.trees[t].bold);
        EXPECT_EQ(rig.trees[t].size, 9);
        EXPECT_EQ(rig.trees[t].font, 0x202020u);
        EXPECT_EQ(rig.trees[t].inner, kGold);
        EXPECT_EQ(rig.trees[t].outer, kGold);
        EXPECT_EQ(rig.trees[t].back, kGold);
    }
    EXPECT_EQ(rig.overlay.segments, PairLine(rig, 3, 10, kGold));
    for (int i = 1; i <= kEntries; ++i)
        EXPECT_NE(rig.entries[i].font, 0x0000FFu) << i;
    EXPECT_EQ(rig.entries[1].caption, L"慈悲\r\n上１");
    EXPECT_EQ(rig.entries[9].caption, L"デスパイス\r\n下１");
}

TEST(AnalysisTest, PairLineEndsAtTheButtonCentreShiftedIntoTheOverlay) {
    EXPECT_EQ(PairLineEndPoint({177, 70, 40, 40}), (Point{195, 48}));
    EXPECT_EQ(PairLineEndPoint({80, 267, 40, 40}), (Point{98, 245}));
    // Odd sizes round the half up.
    EXPECT_EQ(PairLineEndPoint({10, 50, 41, 39}), (Point{29, 28}));
}

TEST(AnalysisTest, SameVirtueOnTwoTreesTurnsBothRedAndDrawsNoLine) {
    AnalysisRig rig;
    rig.Pick(1, 1);
    rig.Pick(2, 1);
    rig.Pick(4, 9);  // its vice: a virtue held twice draws no line at all
    for (int t : {1, 2}) {
        SCOPED_TRACE(t);
        EXPECT_TRUE(rig.trees[t].bold);
        EXPECT_EQ(rig.trees[t].size, 10);
        EXPECT_EQ(rig.trees[t].font, 0x0000FFu);
        EXPECT_EQ(rig.trees[t].inner, kGold);
        EXPECT_EQ(rig.trees[t].back, kGold);
    }
    const FakeButton& entry = rig.entries[1];
    EXPECT_EQ(entry.caption, L"慈悲\r\n上４上３");
    EXPECT_TRUE(entry.bold);
    EXPECT_EQ(entry.size, 9);
    EXPECT_EQ(entry.font, 0x0000FFu);
    EXPECT_EQ(entry.inner, 0x9314FFu);
    EXPECT_EQ(entry.outer, 0x9314FFu);
    EXPECT_EQ(entry.back, 0xEE82EEu);
    EXPECT_TRUE(rig.overlay.segments.empty());
}

TEST(AnalysisTest, ADuplicateThatStaysADuplicateIsNotRestyledOnTheWay) {
    AnalysisRig rig;
    rig.Pick(1, 1);
    rig.Pick(2, 1);
    const int changes1 = rig.trees[1].fontColourChanges;
    const int changes2 = rig.trees[2].fontColourChanges;
    rig.Pick(5, 4);  // another pick reruns the whole analysis
    EXPECT_EQ(rig.trees[1].font, 0x0000FFu);
    EXPECT_EQ(rig.trees[1].fontColourChanges, changes1);
    EXPECT_EQ(rig.trees[2].fontColourChanges, changes2);
}

TEST(AnalysisTest, ThreeTreesOnOneEntryListAllThreeLabelsInTreeOrder) {
    AnalysisRig rig;
    rig.Pick(16, 12);
    rig.Pick(5, 12);
    rig.Pick(9, 12);
    EXPECT_EQ(rig.entries[12].caption, L"Pride\r\n右４下２左４");
    for (int t : {5, 9, 16})
        EXPECT_EQ(rig.trees[t].font, 0x0000FFu) << t;
}

TEST(AnalysisTest, VirtueOnOneTreeDrawsALineToEachOfTwoTreesHoldingItsVice) {
    AnalysisRig rig;
    rig.Pick(4, 2);
    rig.Pick(7, 10);
    rig.Pick(13, 10);
    for (int t : {7, 13})
        EXPECT_EQ(rig.trees[t].font, 0x0000FFu) << t;
    EXPECT_NE(rig.trees[4].font, 0x0000FFu);
    std::vector<Segment> expected = PairLine(rig, 4, 7, 0xFF0000);
    std::vector<Segment> second = PairLine(rig, 4, 13, 0xFF0000);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(rig.overlay.segments, expected);
}

TEST(AnalysisTest, ViceWithoutItsVirtueIsFramedInItsColoursButHasNoLine) {
    AnalysisRig rig(1);
    rig.Pick(6, 15);
    EXPECT_EQ(rig.trees[6].inner, 0xF5F5F5u);
    EXPECT_EQ(rig.trees[6].outer, 0xF5F5F5u);
    EXPECT_EQ(rig.trees[6].back, 0xFDFDFCu);
    EXPECT_TRUE(rig.overlay.segments.empty());
    EXPECT_EQ(rig.overlay.clears, 1);
}

TEST(AnalysisTest, CancellingAPickRestoresTheFreeFaceAndRemovesItsLine) {
    AnalysisRig rig;
    rig.Pick(3, 1);
    rig.Pick(10, 9);
    ASSERT_FALSE(rig.overlay.segments.empty());
    rig.Pick(10, kCancelButton);
    EXPECT_TRUE(rig.board.sList1Sel[10].empty());
    EXPECT_EQ(rig.trees[10].caption, L"下１\r\n－");
    ExpectFreeTree(rig.trees[10]);
    EXPECT_TRUE(rig.overlay.segments.empty());
    EXPECT_EQ(rig.entries[9].caption, L"デスパイス\r\n－");
}

TEST(AnalysisTest, CancellingOnATreeWithoutAPickStillRewritesItsCaption) {
    AnalysisRig rig;
    rig.Pick(8, kCancelButton);
    EXPECT_TRUE(rig.board.sList1Sel[8].empty());
    EXPECT_EQ(rig.trees[8].caption, L"右２\r\n－");
    ExpectFreeTree(rig.trees[8]);
}

TEST(AnalysisTest, RepickingAnotherEntryMovesTheTreeOffItsOldEntry) {
    AnalysisRig rig;
    rig.Pick(1, 3);
    rig.Pick(1, 11);
    EXPECT_EQ(rig.board.sList1Sel[1], L"シェイム");
    EXPECT_EQ(rig.entries[3].caption, L"名誉\r\n－");
    EXPECT_EQ(rig.entries[11].caption, L"シェイム\r\n上４");
}

TEST(AnalysisTest, EntryTextSettingsReachOnlyEntriesTakenByExactlyOneTree) {
    for (int colour : {0, 1}) {
        for (int bold : {0, 1}) {
            SCOPED_TRACE(::testing::Message() << "colour " << colour << " bold " << bold);
            AnalysisRig rig;
            rig.board.iSettingsTokuBtnTxtColor = colour;
            rig.board.iSettingsTokuBtnTxtBold = bold;
            rig.Pick(1, 5);  // taken once
            rig.Pick(2, 6);  // taken twice
            rig.Pick(3, 6);
            const FakeButton& once = rig.entries[5];
            EXPECT_EQ(once.font, colour ? 0x404040u : 0xB0B0B0u);
            EXPECT_EQ(once.bold, bold != 0);
            EXPECT_EQ(once.size, 9);
            EXPECT_EQ(once.inner, 0x008000u);
            EXPECT_EQ(once.outer, kPickerBackground);  // a taken entry loses its coloured outer ring
            const FakeButton& twice = rig.entries[6];
            EXPECT_EQ(twice.font, 0x0000FFu);
            EXPECT_TRUE(twice.bold);
            const FakeButton& free = rig.entries[7];
            EXPECT_EQ(free.font, 0x000000u);
            EXPECT_TRUE(free.bold);
            EXPECT_EQ(free.size, 9);
            EXPECT_EQ(free.outer, rig.board.sList2OCo[7]);
        }
    }
}

TEST(AnalysisTest, AnySettingOtherThanZeroActsLikeOne) {
    AnalysisRig rig;
    rig.board.iSettingsTokuBtnTxtColor = 7;
    rig.board.iSettingsTreeBtnTxtColor = -3;
    rig.board.iSettingsTreeBtnTxtBold = 2;
    rig.Pick(1, 5);
    EXPECT_EQ(rig.entries[5].font, 0x404040u);
    EXPECT_EQ(rig.trees[1].font, 0x808080u);
    EXPECT_TRUE(rig.trees[1].bold);
}

TEST(AnalysisTest, ViceEntriesTakeTheirVirtuesBorders) {
    AnalysisRig rig;
    // The tables hold equal colours for a virtue and its vice; make the vice slots differ so that
    // reading the vice's own slot would show.
    for (int k = 1; k <= kVirtues; ++k) {
        rig.board.sList2Col[k + 8] = 0x010101u * static_cast<Colour>(k);
        rig.board.sList2OCo[k + 8] = 0x020202u * static_cast<Colour>(k);
    }
    rig.Pick(2, 9);  // one taken vice: its outer ring is the window's background, its inner border stays
    rig.analysis.Check2Red();
    for (int k = 1; k <= kVirtues; ++k) {
        EXPECT_EQ(rig.entries[k + 8].inner, rig.board.sList2Col[k]) << k;
        if (k != 1) {
            EXPECT_EQ(rig.entries[k + 8].outer, rig.board.sList2OCo[k]) << k;
        }
    }
    EXPECT_EQ(rig.entries[9].outer, kPickerBackground);
}

TEST(AnalysisTest, AnalysisNeverChangesATreeCaption) {
    AnalysisRig rig;
    rig.Pick(3, 1);
    rig.trees[3].caption = L"上１";  // as a reset of the main window leaves it
    const int writes = rig.trees[3].captionWrites;
    rig.analysis.Check2Red();
    rig.analysis.Check1RedLine();
    EXPECT_EQ(rig.trees[3].caption, L"上１");
    EXPECT_EQ(rig.trees[3].captionWrites, writes);
}

TEST(AnalysisTest, PaletteSwitchRecoloursBacksButKeepsPicksAndLines) {
    AnalysisRig rig;
    rig.Pick(3, 4);
    rig.Pick(10, 12);
    EXPECT_EQ(rig.trees[3].back, 0x808080u);  // grey although its line and borders are black
    EXPECT_EQ(rig.trees[3].inner, 0x000000u);
    auto lines = rig.overlay.segments;
    rig.board.iSettingsBtnBGColor = 1;
    rig.board.excBtnClearForm2_Sub();
    rig.analysis.Check2Red();
    rig.analysis.Check1RedLine();
    EXPECT_EQ(rig.trees[3].back, 0xCACAC9u);
    EXPECT_EQ(rig.entries[4].back, 0xCACAC9u);
    EXPECT_EQ(rig.entries[1].back, 0xC7EDF7u);
    EXPECT_EQ(rig.board.sList1Sel[3], L"謙譲");
    EXPECT_EQ(rig.overlay.segments, lines);
}

TEST(AnalysisTest, TreeTextFollowsTheTreeSettingsButDuplicatesStayRed) {
    AnalysisRig rig;
    rig.board.iSettingsTreeBtnTxtColor = 1;
    rig.board.iSettingsTreeBtnTxtBold = 1;
    rig.Pick(1, 8);
    rig.Pick(2, 7);
    rig.Pick(3, 7);
    EXPECT_EQ(rig.trees[1].font, 0x808080u);
    EXPECT_TRUE(rig.trees[1].bold);
    EXPECT_EQ(rig.trees[1].size, 9);
    EXPECT_EQ(rig.trees[2].font, 0x0000FFu);
    EXPECT_EQ(rig.trees[2].size, 10);
}

TEST(AnalysisTest, EveryLineIsDrawnOverItsRimAndNoColourIsPureWhite) {
    AnalysisRig rig;
    for (int k = 1; k <= kVirtues; ++k) {
        rig.Pick(k, k);
        rig.Pick(k + 8, k + 8);
    }
    ASSERT_EQ(rig.overlay.segments.size(), 16u);
    for (size_t s = 0; s < rig.overlay.segments.size(); s += 2) {
        EXPECT_EQ(rig.overlay.segments[s].width, 6);
        EXPECT_EQ(rig.overlay.segments[s].colour, 0xF8F8F8u);
        EXPECT_EQ(rig.overlay.segments[s + 1].width, 4);
        EXPECT_EQ(rig.overlay.segments[s + 1].colour, rig.board.sList1Col[s / 2 + 1]);
        EXPECT_NE(rig.overlay.segments[s + 1].colour, 0xFFFFFFu);
    }
}

}  // namespace
}  // namespace vellicot
