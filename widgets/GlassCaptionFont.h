// Which installed font family draws a glass caption. Where the platform would draw a box for a
// character the named family lacks, a caption is drawn with a Japanese UI font that has them.
#pragma once

#include <string>
#include <string_view>

namespace vellicot {

// Whether the family is in the platform's list of installed screen fonts, ignoring letter case.
bool IsInstalledScreenFont(std::wstring_view family);

// Whether the platform's text drawing falls back per glyph to another font for a character the
// chosen font lacks. Windows does, in GDI (font linking) and in GDI+ alike. Wine does not: its GDI+
// has no fallback at all, and its GDI links only the fonts its registry names (none of which a
// stock prefix on Linux has), so it draws the missing-glyph box.
bool PlatformFallsBackPerGlyph();

// The family that shows the most characters of the caption: the named one when it has them all
// (or no installed font has more), else the first of a short list of Japanese UI fonts, then of
// any installed font with the Japanese character set, that has more of them. A family counts as
// installed when the platform maps the name to a font of that name; control characters and
// surrogates are not counted. The answers are kept for the run, so only a new family or a new
// character costs a look at the fonts.
std::wstring FamilyWithGlyphs(const std::wstring& family, std::wstring_view caption);

// The family a caption is drawn with: FamilyWithGlyphs where the platform has no fallback of its
// own, the named family everywhere else.
std::wstring CaptionFamily(const std::wstring& family, std::wstring_view caption);

}  // namespace vellicot
