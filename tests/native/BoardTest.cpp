// The Board's tables: the properties the analysis and the windows rely on, and a few values a
// player reads whose meaning no property can check.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/Analysis.h"
#include "core/Board.h"
#include "core/MainLayout.h"

namespace vellicot {
namespace {

Board FilledBoard(int palette = 0) {
    Board board;
    board.iSettingsBtnBGColor = palette;
    board.FillTreeLabels();
    board.excBtnClearForm2();
    return board;
}

// A pick is stored as the entry's name and an empty one means no pick, so every name must be there
// and no two alike; the same holds for the labels that tell the trees apart on their buttons.
TEST(BoardTest, TreeLabelsAndEntryNamesAreNonEmptyAndUnique) {
    const Board board = FilledBoard();
    std::set<std::wstring> labels, names;
    for (int i = 1; i <= kTrees; ++i) {
        EXPECT_FALSE(board.sList1Txt[i].empty()) << "tree " << i;
        EXPECT_TRUE(labels.insert(board.sList1Txt[i]).second) << "tree " << i;
    }
    for (int n = 1; n <= kEntries; ++n) {
        EXPECT_FALSE(board.sList2Txt[n].empty()) << "entry " << n;
        EXPECT_TRUE(names.insert(board.sList2Txt[n]).second) << "entry " << n;
    }
    for (int unused : {0, kSlots - 1}) {
        EXPECT_TRUE(board.sList1Txt[unused].empty()) << unused;
        EXPECT_TRUE(board.sList2Txt[unused].empty()) << unused;
    }
}

TEST(BoardTest, EveryEntryNameLeadsBackToItsEntryNumber) {
    const Board board = FilledBoard();
    for (int n = 1; n <= kEntries; ++n)
        EXPECT_EQ(board.EntryNumberOf(board.sList2Txt[n]), n) << "entry " << n;
    for (int t = 1; t <= kTrees; ++t)
        EXPECT_EQ(board.EntryNumberOf(board.sList1Txt[t]), 0) << "a tree label is no entry: tree " << t;
}

// Each label is a side of the orchard (上, 右, 下, 左) and a number 1 to 4: four trees a side,
// each number once on each side.
TEST(BoardTest, EachSideOfTheOrchardHasItsFourTreesNumberedOnce) {
    const Board board = FilledBoard();
    std::set<std::wstring> expected;
    for (wchar_t side : {L'上', L'右', L'下', L'左'}) {
        for (wchar_t number : {L'１', L'２', L'３', L'４'})
            expected.insert({side, number});
    }
    const std::set<std::wstring> shown(board.sList1Txt.begin() + 1, board.sList1Txt.begin() + 1 + kTrees);
    EXPECT_EQ(shown, expected);
}

// The label's side is where its tree stands on the map: every 上 tree above every 下 tree, every
// 左 tree left of every 右 tree.
TEST(BoardTest, TreeLabelsNameTheSideOfTheMapTheirTreesStandOn) {
    const Board board = FilledBoard();
    auto treesOn = [&](wchar_t side) {
        std::vector<Box> boxes;
        for (int t = 1; t <= kTrees; ++t) {
            if (board.sList1Txt[t].front() == side)
                boxes.push_back(layout::TreeButtonBox(t));
        }
        return boxes;
    };
    for (const Box& top : treesOn(L'上')) {
        for (const Box& bottom : treesOn(L'下'))
            EXPECT_LT(top.top, bottom.top);
    }
    for (const Box& left : treesOn(L'左')) {
        for (const Box& right : treesOn(L'右'))
            EXPECT_LT(left.left, right.left);
    }
}

TEST(BoardTest, EachViceCarriesTheColoursOfItsVirtueInBothPalettes) {
    for (int palette : {0, 1}) {
        const Board board = FilledBoard(palette);
        for (int virtue = 1; virtue <= kVirtues; ++virtue) {
            const int vice = virtue + kVirtues;
            SCOPED_TRACE(testing::Message() << "palette " << palette << ", virtue " << virtue);
            EXPECT_EQ(VirtueOf(virtue), virtue);
            EXPECT_EQ(VirtueOf(vice), virtue);
            EXPECT_EQ(board.sList1Col[vice], board.sList1Col[virtue]);
            EXPECT_EQ(board.sList2Col[vice], board.sList2Col[virtue]);
            EXPECT_EQ(board.sList2OCo[vice], board.sList2OCo[virtue]);
            EXPECT_EQ(board.sListBCol[vice], board.sListBCol[virtue]);
        }
    }
}

// The colour of a pair line tells which virtue it joins, and it must show: not the overlay's
// transparent white, not the near-white rim it is drawn on.
TEST(BoardTest, PairLineColoursAreDistinctAndVisibleOnTheOverlay) {
    const Board board = FilledBoard();
    std::set<Colour> seen;
    for (int virtue = 1; virtue <= kVirtues; ++virtue) {
        const Colour line = board.sList1Col[virtue];
        EXPECT_TRUE(seen.insert(line).second) << "virtue " << virtue;
        EXPECT_NE(line, 0xFFFFFFu) << "virtue " << virtue;
        EXPECT_NE(line, kPairLineOutline) << "virtue " << virtue;
    }
}

// A taken entry shows it by its outer ring turning to the picker's background, so no entry's own
// ring may already be that colour.
TEST(BoardTest, NoEntryHasThePickerBackgroundForItsOuterRing) {
    const Board board = FilledBoard();
    for (int n = 1; n <= kEntries; ++n)
        EXPECT_NE(board.sList2OCo[n], kPickerBackground) << "entry " << n;
}

TEST(BoardTest, PaletteZeroIsSolidAndAnyOtherTranslucent) {
    for (int palette : {0, 1, 2, -1, 0x7FFFFFFF}) {
        const Board board = FilledBoard(palette);
        for (int n = 1; n <= kEntries; ++n) {
            const VirtueColours& colours = kVirtueColours[VirtueOf(n)];
            EXPECT_EQ(board.sListBCol[n], palette == 0 ? colours.solidBack : colours.translucent)
                << "palette " << palette << ", entry " << n;
        }
    }
    for (int virtue = 1; virtue <= kVirtues; ++virtue) {
        EXPECT_NE(kVirtueColours[virtue].solidBack, kVirtueColours[virtue].translucent)
            << "switching the palette shows on virtue " << virtue;
    }
}

TEST(BoardTest, SwitchingThePaletteRewritesOnlyTheBackColours) {
    Board board = FilledBoard(0);
    board.sList1Sel[3] = L"慈悲";
    Board before = board;
    board.iSettingsBtnBGColor = 1;
    board.excBtnClearForm2_Sub();
    EXPECT_NE(board.sListBCol, before.sListBCol);
    board.iSettingsBtnBGColor = 0;
    board.excBtnClearForm2_Sub();
    EXPECT_EQ(board.sListBCol, before.sListBCol);
    EXPECT_EQ(board.sList1Sel, before.sList1Sel);
    EXPECT_EQ(board.sList1Txt, before.sList1Txt);
    EXPECT_EQ(board.sList2Txt, before.sList2Txt);
    EXPECT_EQ(board.sList1Col, before.sList1Col);
    EXPECT_EQ(board.sList2Col, before.sList2Col);
    EXPECT_EQ(board.sList2OCo, before.sList2OCo);
}

TEST(BoardTest, EntryNumberMatchesWholeNamesExactly) {
    Board board = FilledBoard();
    EXPECT_EQ(board.EntryNumberOf(L"Pride"), 12);
    EXPECT_EQ(board.EntryNumberOf(L"pride"), 0);
    EXPECT_EQ(board.EntryNumberOf(L"Prid"), 0);
    EXPECT_EQ(board.EntryNumberOf(L"慈悲"), 1);
    EXPECT_EQ(board.EntryNumberOf(L""), 0);
}

// Which vice opposes which virtue is the game's, and what the pair lines show: the first pair, the
// pair whose vice is written in Latin letters, and the last pair.
TEST(BoardTest, VicesFaceTheVirtuesTheGamePairsThemWith) {
    const Board board = FilledBoard();
    EXPECT_EQ(board.sList2Txt[1], L"慈悲");
    EXPECT_EQ(board.sList2Txt[1 + kVirtues], L"デスパイス");
    EXPECT_EQ(board.sList2Txt[4], L"謙譲");
    EXPECT_EQ(board.sList2Txt[4 + kVirtues], L"Pride");
    EXPECT_EQ(board.sList2Txt[8], L"武勇");
    EXPECT_EQ(board.sList2Txt[8 + kVirtues], L"Destard");
}

// The labels are the players' own names for the trees; two labels swapped on one side would pass
// every property above.
TEST(BoardTest, FirstAndLastTreesKeepTheirLabels) {
    const Board board = FilledBoard();
    EXPECT_EQ(board.sList1Txt[1], L"上４");
    EXPECT_EQ(board.sList1Txt[kTrees], L"左４");
}

// 謙譲's colour is black: its solid back is grey instead, so the black caption stays readable.
// 霊性's near-white rings are drawn in greys, each its own, so the button keeps an edge on white.
TEST(BoardTest, BlackAndWhiteVirtuesKeepTheirReadableColours) {
    const Board board = FilledBoard(0);
    EXPECT_EQ(board.sList1Col[4], 0x000000u);
    EXPECT_EQ(board.sListBCol[4], 0x808080u);
    EXPECT_EQ(board.sList1Col[7], 0xF5F5F5u);
    EXPECT_EQ(board.sList2Col[7], 0xDCDCDCu);
    EXPECT_EQ(board.sList2OCo[7], 0xC0C0C0u);
}

}  // namespace
}  // namespace vellicot
