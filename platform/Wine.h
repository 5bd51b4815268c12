// Whether the program runs under Wine rather than on Windows: the one switch for the places where
// Wine behaves differently and the program makes up for it in a way Windows must not see. Each use
// says why beside it:
// - widgets/GlassCaptionFont.cpp: a caption's font family (Wine draws a box for a character the
//   font lacks, Windows takes it from another font), and its GDI+ family made from the font's own
//   file (Wine's GDI+ loads every installed font for a family asked for by name);
// - windows/DialogParts.h: the time label's and the settings lists' fonts shrink to fit (under Wine
//   "Meiryo UI" stands for another font, which may be wider);
// - shell/Stacking.cpp: a raise first steps behind the next window of its band (Wine's own stacking
//   order can differ from the screen's).
// What Wine needs and Windows takes no harm from is done everywhere, so that the code Windows runs is
// the code the tests run under Wine; a comment beside it says what Wine does (search for "Wine").
#pragma once

namespace vellicot {

// True under Wine (its ntdll exports wine_get_version), false on Windows. Asked once.
bool RunsUnderWine();

}  // namespace vellicot
