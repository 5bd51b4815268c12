// The texts the system draws in its own fonts rather than the window's: the window's menu, message
// boxes and tooltips. Every Japanese character of them must be drawn with a glyph, not as the box a
// font without it draws. Wine 10 draws them in a Tahoma of its own that has no Japanese and that the
// name mapping to BIZ UDPGothic does not replace, so the prefix adds BIZ UDPGothic to the fonts
// Tahoma borrows from (the README's .reg, and scripts/wine-setup.reg for the project's prefixes).
//
// The tests' prefix runs this with the rest; the player's prefix runs it as windows.SystemFont.Player
// (tests/CMakeLists.txt). A stock prefix, without the README's set-up, is expected to show boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormReading.h"
#include "core/IniStore.h"
#include "platform/Handles.h"

namespace vellicot {
namespace {

using namespace testing_support;

constexpr int kCell = 48;

// One character as the system draws menu and box texts (DrawTextW, which lets the font borrow
// glyphs), black on white.
std::vector<std::uint32_t> Drawn(HFONT font, wchar_t character) {
    MemoryCanvas canvas(kCell, kCell);
    RECT cell{0, 0, kCell, kCell};
    FillRect(canvas.Dc(), &cell, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ old = SelectObject(canvas.Dc(), font);
    SetTextColor(canvas.Dc(), RGB(0, 0, 0));
    SetBkMode(canvas.Dc(), TRANSPARENT);
    DrawTextW(canvas.Dc(), &character, 1, &cell, DT_NOPREFIX | DT_SINGLELINE);
    SelectObject(canvas.Dc(), old);
    GdiFlush();
    std::vector<std::uint32_t> pixels(canvas.Pixels(), canvas.Pixels() + kCell * kCell);
    for (std::uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

class SystemFontTest : public MainAndPickerFixture {};

TEST_F(SystemFontTest, TheMenuMessageAndTooltipFontsDrawEveryJapaneseCharacterOfTheirTexts) {
    // The window's menu as the system menu holds it, and the program's message boxes.
    std::wstring texts;
    HMENU menu = GetSystemMenu(form1.Handle(), FALSE);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        texts += text;
    }
    ASSERT_NE(texts.find(L"タイムの記録"), std::wstring::npos) << "the window's menu entries were not found";
    texts += L"ファイル を作成できません。タイムの記録をすべて削除しますか？削除した記録は元に戻せません。";

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    for (const LOGFONTW* logFont : {&metrics.lfMenuFont, &metrics.lfMessageFont, &metrics.lfStatusFont}) {
        UniqueFont font(CreateFontIndirectW(logFont));
        ASSERT_NE(font, nullptr);
        SCOPED_TRACE("face " + Utf8FromWide(logFont->lfFaceName));
        // Two private-use characters that no font here draws: both come out as the same box.
        const std::vector<std::uint32_t> box = Drawn(font.get(), L'\uE000');
        ASSERT_TRUE(box == Drawn(font.get(), L'\uE001')) << "the reference is not a font's box";
        std::wstring boxes;
        for (wchar_t character : texts) {
            // Latin text and punctuation every face has; each other character once.
            if (character >= 0x3000 && boxes.find(character) == std::wstring::npos &&
                Drawn(font.get(), character) == box)
                boxes += character;
        }
        EXPECT_TRUE(boxes.empty()) << "drawn as boxes: " << Utf8FromWide(boxes);
    }
}

}  // namespace
}  // namespace vellicot
