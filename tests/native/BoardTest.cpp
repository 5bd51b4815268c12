// The Board's tables, checked value by value against the published tables.
#include <gtest/gtest.h>

#include "core/Board.h"

namespace vellicot {
namespace {

Board FilledBoard(int palette = 0) {
    Board board;
    board.iSettingsBtnBGColor = palette;
    board.FillTreeLabels();
    board.excBtnClearForm2();
    return board;
}

TEST(BoardTest, TreeLabelsByTreeNumber) {
    const wchar_t* expected[] = {L"上４", L"上３", L"上１", L"上２", L"右４", L"右３", L"右１", L"右２",
                                 L"下２", L"下１", L"下３", L"下４", L"左１", L"左２", L"左３", L"左４"};
    Board board = FilledBoard();
    for (int t = 1; t <= kTrees; ++t)
        EXPECT_EQ(board.sList1Txt[t], expected[t - 1]) << "tree " << t;
    EXPECT_TRUE(board.sList1Txt[0].empty());
    EXPECT_TRUE(board.sList1Txt[17].empty());
}

TEST(BoardTest, EntryNamesVirtuesThenTheirVices) {
    const wchar_t* expected[] = {L"慈悲",   L"誠実",     L"名誉",       L"謙譲",     L"正義",     L"献身",
                                 L"霊性",   L"武勇",     L"デスパイス", L"デシート", L"シェイム", L"Pride",
                                 L"ロング", L"コブトス", L"ヒスロス",   L"Destard"};
    Board board = FilledBoard();
    for (int n = 1; n <= kEntries; ++n)
        EXPECT_EQ(board.sList2Txt[n], expected[n - 1]) << "entry " << n;
}

struct ColourRow {
    int virtue;
    Colour line, inner, outer, solid, translucent;
};
constexpr ColourRow kColourRows[] = {
    {1, 0x00D7FF, 0x00D7FF, 0x00D7FF, 0x00D7FF, 0xC7EDF7},
    {2, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xDEBFBF},
    {3, 0x800080, 0x800080, 0x800080, 0x800080, 0xCFB8D0},
    {4, 0x000000, 0x000000, 0x000000, 0x808080, 0xCACAC9},
    {5, 0x008000, 0x008000, 0x008000, 0x008000, 0xB8D0C6},
    {6, 0x00A5FF, 0x00A5FF, 0x00A5FF, 0x00A5FF, 0xC0E1FA},
    {7, 0xF5F5F5, 0xDCDCDC, 0xC0C0C0, 0xC0C0C0, 0xFDFDFC},
    {8, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0xAFC5F2},
};

TEST(BoardTest, VirtueAndItsViceCarryTheSameColoursInBothPalettes) {
    Board solid = FilledBoard(0);
    Board translucent = FilledBoard(1);
    for (const ColourRow& row : kColourRows) {
        for (int n : {row.virtue, row.virtue + 8}) {
            SCOPED_TRACE(n);
            EXPECT_EQ(solid.sList1Col[n], row.line);
            EXPECT_EQ(solid.sList2Col[n], row.inner);
            EXPECT_EQ(solid.sList2OCo[n], row.outer);
            EXPECT_EQ(solid.sListBCol[n], row.solid);
            EXPECT_EQ(translucent.sListBCol[n], row.translucent);
        }
    }
}

TEST(BoardTest, AnyPaletteOtherThanZeroIsTranslucent) {
    for (int palette : {1, 2, -1, 0x7FFFFFFF}) {
        Board board = FilledBoard(palette);
        EXPECT_EQ(board.sListBCol[4], 0xCACAC9u) << palette;
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

}  // namespace
}  // namespace vellicot
