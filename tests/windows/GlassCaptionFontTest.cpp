// Which installed family draws a glass caption: the named one while the platform has a font of that
// name with the caption's glyphs, else a Japanese UI font that has them.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "platform/Wine.h"
#include "widgets/GlassButton.h"
#include "widgets/GlassCaptionFont.h"

namespace vellicot {
namespace {

// Whether a font of that name is installed and has a glyph for every character.
bool InstalledWithGlyphs(const std::wstring& family, const std::wstring& text) {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    LOGFONTW lf{};
    lf.lfHeight = -16;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(lf.lfFaceName, family.c_str(), LF_FACESIZE - 1);
    UniqueFont font(CreateFontIndirectW(&lf));
    SelectedObject selected(dc.get(), font.get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.get(), LF_FACESIZE, face);
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc.get(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    for (WORD glyph : glyphs) {
        if (glyph == 0xFFFF)
            return false;
    }
    return _wcsicmp(face, family.c_str()) == 0;
}

// U+0378 is not a character: no font has it.
constexpr wchar_t kNoFontHasIt[] = L"\u0378";

TEST(GlassCaptionFontTest, TheNamedFamilyStaysWhileInstalledUnlessAnotherShowsMoreOfTheCaption) {
    struct Case {
        const wchar_t* family;
        std::wstring caption;
        bool kept;  // else an installed family that has every character of the caption but kNoFontHasIt
    };
    const Case cases[] = {
        {L"Meiryo UI", L"慈悲\r\n上４", true},     // installed (in the test prefix, as a stand-in)
        {L"No Such Font", L"ClearType", false},    // the platform's own choice, whatever its letters
        {L"No Such Font", L"上４", false},         // ... but no Japanese
        {L"DejaVu Sans", L"結果\r\nCOPY", false},  // installed, without Japanese
        {L"DejaVu Sans", L"設　定", false},        // an ideographic space is a glyph too
        {L"Meiryo UI", std::wstring(L"上") + kNoFontHasIt, true},     // no font has more
        {L"DejaVu Sans", std::wstring(L"上") + kNoFontHasIt, false},  // another has more
        {L"DejaVu Sans", kNoFontHasIt, true},                         // none has more
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.family << " " << c.caption);
        std::wstring chosen = FamilyWithGlyphs(c.family, c.caption);
        if (c.kept) {
            EXPECT_EQ(chosen, c.family);
            continue;
        }
        EXPECT_NE(chosen, c.family);
        std::wstring shown;
        for (wchar_t ch : c.caption) {
            if (ch >= 0x20 && ch != kNoFontHasIt[0])
                shown += ch;
        }
        EXPECT_TRUE(InstalledWithGlyphs(chosen, shown)) << chosen;
        EXPECT_EQ(FamilyWithGlyphs(c.family, c.caption), chosen) << "the same answer again";
    }
}

// Whether the font selected into the DC has a glyph for every character of the text but line breaks.
bool SelectedFontHasEvery(HDC dc, const std::wstring& text) {
    std::wstring shown;
    for (wchar_t ch : text) {
        if (ch >= 0x20)
            shown += ch;
    }
    std::vector<WORD> glyphs(shown.size(), 0xFFFF);
    if (GetGlyphIndicesW(dc, shown.c_str(), static_cast<int>(shown.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return false;
    for (WORD glyph : glyphs) {
        if (glyph == 0xFFFF)
            return false;
    }
    return true;
}

// Where the platform draws a missing character as a box, a caption is drawn in a font that has
// every one of its characters: the font a button's paint selects for it is asked for the glyphs. A
// family that has them all is the one drawn.
TEST(GlassCaptionFontTest, ACaptionIsDrawnInAFontWithEveryOneOfItsCharacters) {
    if (!RunsUnderWine())
        GTEST_SKIP() << "the platform draws a character the font lacks from another font by itself";
    TGlassButton button;
    GlassFont font;
    for (const wchar_t* family : {L"No Such Font", L"DejaVu Sans", L"Meiryo UI"}) {
        font.family = family;
        button.SetFont(font);
        for (const wchar_t* caption : {L"上４", L"慈悲\r\n上４", L"結果\r\nCOPY", L"設　定"}) {
            SCOPED_TRACE(testing::Message() << family << " " << caption);
            button.SetCaption(caption);
            UniqueDC dc(CreateCompatibleDC(nullptr));
            const TCustomGlassButton::CaptionRoute route = button.RouteCaption(dc.get());
            SelectedObject selected(dc.get(), route.fonts.gdiFont.get());
            EXPECT_TRUE(SelectedFontHasEvery(dc.get(), route.text)) << "drawn in " << route.fonts.family;
        }
    }
    font.family = L"Meiryo UI";
    button.SetFont(font);
    button.SetCaption(L"上４");
    UniqueDC dc(CreateCompatibleDC(nullptr));
    EXPECT_EQ(button.RouteCaption(dc.get()).fonts.family, L"Meiryo UI");
}

}  // namespace
}  // namespace vellicot
