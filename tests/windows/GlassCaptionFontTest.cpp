// Which installed family draws a glass caption: the named one while it has the caption's glyphs,
// else a Japanese UI font that has them.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "platform/Handles.h"
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

TEST(GlassCaptionFontTest, TheNamedFamilyStaysUnlessAnotherShowsMoreOfTheCaption) {
    struct Case {
        const wchar_t* family;
        std::wstring caption;
        bool kept;  // else a family that has every character of the caption but kNoFontHasIt
    };
    const Case cases[] = {
        {L"Meiryo UI", L"慈悲\r\n上４", true},     // installed (in the test prefix, as a stand-in)
        {L"No Such Font", L"ClearType", true},     // the platform's substitute has Latin letters
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

// Where the platform falls back per glyph by itself the named family is always kept; under Wine
// the caption's family is the one with its glyphs.
TEST(GlassCaptionFontTest, OnlyAPlatformWithoutFallbackSubstitutes) {
    std::wstring chosen = CaptionFamily(L"No Such Font", L"上４");
    if (PlatformFallsBackPerGlyph()) {
        EXPECT_EQ(chosen, L"No Such Font");
    } else {
        EXPECT_EQ(chosen, FamilyWithGlyphs(L"No Such Font", L"上４"));
    }
    EXPECT_EQ(CaptionFamily(L"Meiryo UI", L"上４"), L"Meiryo UI");
}

}  // namespace
}  // namespace vellicot
