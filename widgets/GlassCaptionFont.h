// Which installed font family draws a glass caption. Where the platform would draw a box for a
// character the named family lacks, a caption is drawn with a Japanese UI font that has them.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/GlassFont.h"
#include "platform/GdiplusObjects.h"
#include "platform/Handles.h"

namespace vellicot {

// Whether the family is in the platform's list of installed screen fonts, ignoring letter case.
bool IsInstalledScreenFont(std::wstring_view family);

// The family that shows the most characters of the caption: the named one when the platform has a
// font of that name with them all, else the first of a short list of Japanese UI fonts, then of any
// installed font with the Japanese character set, that shows more of them, or as many where the
// platform has no font of the name asked (and would draw it in a font of its own choosing). A
// family counts as installed when the platform maps the name to a font of that name; control
// characters and surrogates are not counted. The answers are kept for the run, so only a new family
// or a new character costs a look at the fonts.
std::wstring FamilyWithGlyphs(const std::wstring& family, std::wstring_view caption);

// The family a caption is drawn with: FamilyWithGlyphs where the platform has no fallback of its
// own, the named family everywhere else.
std::wstring CaptionFamily(const std::wstring& family, std::wstring_view caption);

// The fonts a glass caption is drawn in, made for the button's font (its colour aside), the family
// the caption is drawn with and the DPI; the GDI+ ones are made when the caption first goes that way.
struct CaptionFonts {
    std::wstring family;        // the family the caption is drawn with
    UniqueFont gdiFont;         // at the DPI: the GDI route's font, whose metrics tell the route
    bool gdiplusRoute = false;  // an installed vector screen font, which GDI+ may draw
    // Made on the first use of the GDI+ route; under Wine the family is one of a collection of the
    // font's own file, kept here as long as the family.
    std::shared_ptr<OwnedFontCollection> gdiplusCollection;
    OwnedFontFamily gdiplusFamily;
    OwnedFont gdiplusFont;
    int gdiplusFontCanvasDpi = 0;  // the canvas DPI the GDI+ font's size was worked out for
    OwnedStringFormat format;
};

// The font in the family at the DPI, and whether its family is one GDI+ may draw: an installed
// vector (TrueType or other outline) screen font.
CaptionFonts MakeCaptionFonts(const GlassFont& font, const std::wstring& family, int pixelsPerInch);

// Makes the GDI+ family, font and string format for a canvas of the DPI where they are not made yet;
// false when GDI+ cannot draw the caption. A family GDI+ does not know leaves the GDI+ route for good.
// The size stays in points; at a DPI other than the canvas's own it is scaled to the button's, so the
// caption grows with the button. At equal DPIs the size is the font's own.
bool ReadyGdiplusFonts(CaptionFonts& fonts, const GlassFont& font, int pixelsPerInch, int canvasDpi);

}  // namespace vellicot
