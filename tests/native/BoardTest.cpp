// The Board's tables: every value typed in as the game and its players know it, and the properties
// the analysis and the windows rely on.
#include <gtest/gtest.h>

#include <array>
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
// the product's tables shows in its slot. Trees and entries are numbered from 1; slots 0 and 17 stay
// empty.
TEST(BoardTest, TablesHoldTheGamesLabelsNamesAndColoursInBothPalettes) {
    const std::wstring_view labels[kTrees] = {L"上４", L"上３", L"上１", L"上２", L"右４", L"右３",
                                              L"右１", L"右２", L"下２", L"下１", L"下３", L"下４",
                                              L"左１", L"左２", L"左３", L"左４"};
    const std::wstring_view names[kEntries] = {
        L"慈悲",       L"誠実",     L"名誉",     L"謙譲",  L"正義",   L"献身",     L"霊性",     L"武勇",
        L"デスパイス", L"デシート", L"シェイム", L"Pride", L"ロング", L"コブトス", L"ヒスロス", L"Destard"};
    // By virtue, and its vice alike: line, inner and outer border, solid and translucent back.
    const Colour colours[kVirtues][5] = {
        {0x00D7FF, 0x00D7FF, 0x00D7FF, 0x00D7FF, 0xC7EDF7},
        {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xDEBFBF},
        {0x800080, 0x800080, 0x800080, 0x800080, 0xCFB8D0},
        {0x000000, 0x000000, 0x000000, 0x808080, 0xCACAC9},
        {0x008000, 0x008000, 0x008000, 0x008000, 0xB8D0C6},
        {0x00A5FF, 0x00A5FF, 0x00A5FF, 0x00A5FF, 0xC0E1FA},
        {0xF5F5F5, 0xDCDCDC, 0xC0C0C0, 0xC0C0C0, 0xFDFDFC},
        {0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0xAFC5F2},
    };
    for (int palette : {0, 1, 2, -1, 0x7FFFFFFF}) {
        const Board board = FilledBoard(palette);
        for (int n = 1; n <= kEntries; ++n) {
            SCOPED_TRACE(testing::Message() << "palette " << palette << ", tree and entry " << n);
            const Colour* c = colours[(n - 1) % kVirtues];
            EXPECT_EQ(board.sList1Txt[n], labels[n - 1]);
            EXPECT_EQ(board.sList2Txt[n], names[n - 1]);
            EXPECT_EQ(
                (std::array{board.sList1Col[n], board.sList2Col[n], board.sList2OCo[n], board.sListBCol[n]}),
                (std::array{c[0], c[1], c[2], palette == 0 ? c[3] : c[4]}));
        }
        for (int unused : {0, kSlots - 1})
            EXPECT_TRUE(board.sList1Txt[unused].empty() && board.sList2Txt[unused].empty()) << unused;
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
