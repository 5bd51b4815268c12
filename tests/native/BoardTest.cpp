// The Board's tables: every value typed in as the game and its players know it, and the properties
// the analysis and the windows rely on.
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

// The tables as the game and its players know them, typed in here: a label or a colour mistyped in
// the product's tables shows as one row. Each vice carries its virtue's colours; the back colour is
// the solid palette's for 0 and the translucent one's for any other value.
TEST(BoardTest, TablesHoldTheGamesLabelsNamesAndColoursInBothPalettes) {
    const wchar_t* const labels[kTrees + 1] = {
        nullptr, L"上４", L"上３", L"上１", L"上２", L"右４", L"右３", L"右１", L"右２",
        L"下２", L"下１", L"下３", L"下４", L"左１", L"左２", L"左３", L"左４",
    };
    struct EntryRow {
        const wchar_t* name;
        Colour line, inner, outer, solid, translucent;
    };
    const EntryRow entries[kEntries + 1] = {
        {},
        {L"慈悲", 0x00D7FF, 0x00D7FF, 0x00D7FF, 0x00D7FF, 0xC7EDF7},
        {L"誠実", 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xDEBFBF},
        {L"名誉", 0x800080, 0x800080, 0x800080, 0x800080, 0xCFB8D0},
        {L"謙譲", 0x000000, 0x000000, 0x000000, 0x808080, 0xCACAC9},
        {L"正義", 0x008000, 0x008000, 0x008000, 0x008000, 0xB8D0C6},
        {L"献身", 0x00A5FF, 0x00A5FF, 0x00A5FF, 0x00A5FF, 0xC0E1FA},
        {L"霊性", 0xF5F5F5, 0xDCDCDC, 0xC0C0C0, 0xC0C0C0, 0xFDFDFC},
        {L"武勇", 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0xAFC5F2},
        {L"デスパイス", 0x00D7FF, 0x00D7FF, 0x00D7FF, 0x00D7FF, 0xC7EDF7},
        {L"デシート", 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xDEBFBF},
        {L"シェイム", 0x800080, 0x800080, 0x800080, 0x800080, 0xCFB8D0},
        {L"Pride", 0x000000, 0x000000, 0x000000, 0x808080, 0xCACAC9},
        {L"ロング", 0x008000, 0x008000, 0x008000, 0x008000, 0xB8D0C6},
        {L"コブトス", 0x00A5FF, 0x00A5FF, 0x00A5FF, 0x00A5FF, 0xC0E1FA},
        {L"ヒスロス", 0xF5F5F5, 0xDCDCDC, 0xC0C0C0, 0xC0C0C0, 0xFDFDFC},
        {L"Destard", 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0xAFC5F2},
    };
    for (int palette : {0, 1, 2, -1, 0x7FFFFFFF}) {
        const Board board = FilledBoard(palette);
        for (int t = 1; t <= kTrees; ++t)
            EXPECT_EQ(board.sList1Txt[t], labels[t]) << "tree " << t;
        for (int n = 1; n <= kEntries; ++n) {
            const EntryRow& row = entries[n];
            SCOPED_TRACE(testing::Message() << "palette " << palette << ", entry " << n);
            EXPECT_EQ(board.sList2Txt[n], row.name);
            EXPECT_EQ(board.sList1Col[n], row.line);
            EXPECT_EQ(board.sList2Col[n], row.inner);
            EXPECT_EQ(board.sList2OCo[n], row.outer);
            EXPECT_EQ(board.sListBCol[n], palette == 0 ? row.solid : row.translucent);
        }
        for (int unused : {0, kSlots - 1}) {
            EXPECT_TRUE(board.sList1Txt[unused].empty()) << unused;
            EXPECT_TRUE(board.sList2Txt[unused].empty()) << unused;
        }
    }
}

TEST(BoardTest, EveryEntryNameLeadsBackToItsEntryNumber) {
    const Board board = FilledBoard();
    for (int n = 1; n <= kEntries; ++n)
        EXPECT_EQ(board.EntryNumberOf(board.sList2Txt[n]), n) << "entry " << n;
    for (int t = 1; t <= kTrees; ++t)
        EXPECT_EQ(board.EntryNumberOf(board.sList1Txt[t]), 0) << "a tree label is no entry: tree " << t;
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

}  // namespace
}  // namespace vellicot
