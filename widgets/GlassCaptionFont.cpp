// The glass caption's family choice: which installed families have the caption's glyphs, looked up
// once per family and character for the run.
#include "widgets/GlassCaptionFont.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/Handles.h"
#include "platform/Win32.h"
#include "platform/Wine.h"

namespace vellicot {
namespace {

// Japanese UI fonts, best first: Windows' own (a Wine prefix may have them), then those of Linux
// desktops by how many of the windows' captions they keep whole. BIZ UDPGothic has short lines,
// narrow kana, a real bold face and TrueType outlines (which GDI+ draws, greying disabled captions);
// IPAPGothic's lines are as short but it has no bold face; Noto Sans CJK JP's lines are tall and its
// outlines PostScript ones, which the platform draws only through GDI.
constexpr const wchar_t* kJapaneseUiFamilies[] = {
    L"Meiryo UI",  L"Yu Gothic UI",     L"MS UI Gothic", L"BIZ UDPGothic",
    L"IPAPGothic", L"Noto Sans CJK JP", L"VL PGothic",
};

bool Counted(wchar_t ch) {
    return ch >= 0x20 && (ch < 0xD800 || ch > 0xDFFF);
}

// A DC with the font the platform maps the family name to, for as long as it lives.
class FamilyProbe {
public:
    explicit FamilyProbe(const std::wstring& family) : dc_(CreateCompatibleDC(nullptr)) {
        LOGFONTW lf{};
        lf.lfHeight = -16;
        lf.lfCharSet = DEFAULT_CHARSET;
        std::wcsncpy(lf.lfFaceName, family.c_str(), LF_FACESIZE - 1);
        font_.reset(CreateFontIndirectW(&lf));
        selected_.emplace(dc_.get(), font_.get());
    }
    HDC Dc() const { return dc_.get(); }

private:
    UniqueDC dc_;
    UniqueFont font_;
    std::optional<SelectedObject> selected_;
};

// What a family name gives: whether a font of that name is installed, and, for each character asked
// about so far, whether the font the name maps to has a glyph for it.
class FamilyGlyphs {
public:
    explicit FamilyGlyphs(const std::wstring& family) : family_(family) {
        FamilyProbe probe(family_);
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(probe.Dc(), LF_FACESIZE, face);
        installed_ = SameTextIgnoringCase(face, family_);
    }

    bool Installed() const { return installed_; }

    // How many of the text's characters the font lacks.
    int Missing(std::wstring_view text) {
        std::wstring unknown;
        for (wchar_t ch : text) {
            if (Counted(ch) && !has_.contains(ch) && unknown.find(ch) == std::wstring::npos)
                unknown += ch;
        }
        if (!unknown.empty()) {
            FamilyProbe probe(family_);
            std::vector<WORD> glyphs(unknown.size(), 0xFFFF);
            DWORD done = GetGlyphIndicesW(probe.Dc(), unknown.c_str(), static_cast<int>(unknown.size()),
                                          glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
            for (std::size_t i = 0; i < unknown.size(); ++i)
                has_[unknown[i]] = done != GDI_ERROR && glyphs[i] != 0xFFFF;
        }
        int missing = 0;
        for (wchar_t ch : text)
            missing += Counted(ch) && !has_[ch];
        return missing;
    }

private:
    std::wstring family_;
    bool installed_ = false;
    std::unordered_map<wchar_t, bool> has_;
};

FamilyGlyphs& GlyphsOf(const std::wstring& family) {
    static std::map<std::wstring, FamilyGlyphs> families;
    auto found = families.find(family);
    if (found == families.end())
        found = families.emplace(family, FamilyGlyphs(family)).first;
    return found->second;
}

int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM families) {
    auto& names = *reinterpret_cast<std::vector<std::wstring>*>(families);
    // Names starting with '@' are the same fonts turned for vertical writing.
    if (font->lfFaceName[0] != L'@' && (names.empty() || names.back() != font->lfFaceName))
        names.emplace_back(font->lfFaceName);
    return 1;
}

// The installed families with the Japanese character set, in the platform's order; listed once for
// the run, and only when no font of the short list will do, since the list walks every installed font.
const std::vector<std::wstring>& JapaneseFamilies() {
    static const std::vector<std::wstring> families = [] {
        std::vector<std::wstring> names;
        WindowDC screen(nullptr);
        LOGFONTW query{};
        query.lfCharSet = SHIFTJIS_CHARSET;
        EnumFontFamiliesExW(screen.Dc(), &query, &CollectFamily, reinterpret_cast<LPARAM>(&names), 0);
        return names;
    }();
    return families;
}

// The file the platform draws the font selected into the DC from, through the calls gdi32 offers
// the system's text services (GetFontRealizationInfo, GetFontFileInfo; no header declares them);
// empty when it does not tell.
std::wstring SelectedFontFile(HDC dc) {
    struct RealizationInfo {
        DWORD size, flags, cacheNumber, instanceId, fileCount;
        WORD faceIndex, simulations;
    };
    struct FileInfo {
        FILETIME writeTime;
        LARGE_INTEGER size;
        WCHAR path[MAX_PATH];
    };
    using GetRealizationInfo = BOOL(WINAPI*)(HDC, RealizationInfo*);
    using GetFileInfo = BOOL(WINAPI*)(DWORD, DWORD, FileInfo*, SIZE_T, SIZE_T*);
    HMODULE gdi = GetModuleHandleW(L"gdi32.dll");
    auto realizationInfo = reinterpret_cast<GetRealizationInfo>(
        reinterpret_cast<void*>(GetProcAddress(gdi, "GetFontRealizationInfo")));
    auto fileInfo =
        reinterpret_cast<GetFileInfo>(reinterpret_cast<void*>(GetProcAddress(gdi, "GetFontFileInfo")));
    RealizationInfo realization{};
    realization.size = sizeof realization;
    FileInfo file{};
    SIZE_T needed = 0;
    if (realizationInfo == nullptr || fileInfo == nullptr || !realizationInfo(dc, &realization) ||
        !fileInfo(realization.instanceId, 0, &file, sizeof file, &needed))
        return {};
    file.path[MAX_PATH - 1] = L'\0';
    return file.path;
}

// A collection of the fonts in the file, one for the run's captions however many ask for it while
// any of them holds it.
std::shared_ptr<OwnedFontCollection> FileFontCollection(const std::wstring& path) {
    static std::map<std::wstring, std::weak_ptr<OwnedFontCollection>> collections;
    std::weak_ptr<OwnedFontCollection>& kept = collections[path];
    std::shared_ptr<OwnedFontCollection> collection = kept.lock();
    if (!collection) {
        OwnedFontCollection made = MakeFileFontCollection(path.c_str());
        if (!made)
            return nullptr;
        collection = std::make_shared<OwnedFontCollection>(std::move(made));
        kept = collection;
    }
    return collection;
}

// The family's GDI+ family from a collection of the file its regular face is drawn from. Wine's
// GDI+ makes a family by name (and a font from a GDI font) from its list of every installed font,
// which it builds by loading each of them: with the fonts of a Linux desktop 14 MiB more in memory
// and a tenth of a second or more, where one font file costs 4 MiB and a few milliseconds. Wine
// names each family a file's fonts go by, the names its registry maps to them too, so the family
// asked for is among them.
bool MakeFamilyFromFontFile(CaptionFonts& fonts) {
    LOGFONTW regular{};
    regular.lfHeight = -16;
    regular.lfCharSet = DEFAULT_CHARSET;
    fonts.family.copy(regular.lfFaceName, LF_FACESIZE - 1);
    UniqueFont font(CreateFontIndirectW(&regular));
    UniqueDC dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), font.get());
    const std::wstring path = SelectedFontFile(dc.get());
    std::shared_ptr<OwnedFontCollection> collection = path.empty() ? nullptr : FileFontCollection(path);
    if (!collection)
        return false;
    INT count = 0;
    GF::GdipGetFontCollectionFamilyCount(collection->get(), &count);
    std::vector<Gdiplus::GpFontFamily*> families(static_cast<std::size_t>(std::max(count, 0)));
    INT listed = 0;
    GF::GdipGetFontCollectionFamilyList(collection->get(), count, families.data(), &listed);
    for (INT i = 0; i < listed && !fonts.gdiplusFamily; ++i) {
        wchar_t name[LF_FACESIZE] = {};
        if (GF::GdipGetFamilyName(families[static_cast<std::size_t>(i)], name, LANG_NEUTRAL) == Gdiplus::Ok &&
            SameTextIgnoringCase(name, fonts.family))
            fonts.gdiplusFamily = CloneFontFamily(families[static_cast<std::size_t>(i)]);
    }
    // Where the collection names the family in the locale's language only, GDI+ still finds it by
    // the name asked.
    if (!fonts.gdiplusFamily)
        fonts.gdiplusFamily = MakeFontFamily(fonts.family.c_str(), collection->get());
    if (!fonts.gdiplusFamily)
        return false;
    fonts.gdiplusCollection = std::move(collection);
    return true;
}

// The font at the DPI: its pixel height scaled from 96 DPI.
LOGFONTW ToLogFont(const GlassFont& font, int pixelsPerInch) {
    LOGFONTW lf{};
    lf.lfHeight = ScaleToDpi(font.height, pixelsPerInch);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeOut;
    lf.lfCharSet = font.charSet;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    std::wcsncpy(lf.lfFaceName, font.family.c_str(), LF_FACESIZE - 1);
    return lf;
}

}  // namespace

bool IsInstalledScreenFont(std::wstring_view family) {
    // The platform is asked for the one family, once for the run as its list of fonts would be: it
    // lists that family's faces under the name asked, while its whole list walks every installed
    // font (under Wine, loading each) and names a family in the locale's language where the font has
    // such a name.
    if (family.empty() || family.size() >= LF_FACESIZE)
        return false;
    static std::map<std::wstring, bool, std::less<>> answers;
    if (auto known = answers.find(family); known != answers.end())
        return known->second;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    family.copy(query.lfFaceName, family.size());
    struct Search {
        std::wstring_view family;
        bool found = false;
    } search{family};
    WindowDC screen(nullptr);
    EnumFontFamiliesExW(
        screen.Dc(), &query,
        [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            auto& search = *reinterpret_cast<Search*>(found);
            search.found = SameTextIgnoringCase(font->lfFaceName, search.family);
            return search.found ? 0 : 1;
        },
        reinterpret_cast<LPARAM>(&search), 0);
    answers.emplace(family, search.found);
    return search.found;
}

std::wstring FamilyWithGlyphs(const std::wstring& family, std::wstring_view caption) {
    // Two points for each character a family lacks, and one for a name the platform has no font of:
    // it draws that name in a font of its own choosing (under a Japanese locale Wine takes the first
    // font with the Japanese character set, which may be fixed-pitch), so an installed family with
    // every character goes before it, while one that lacks a character does not.
    FamilyGlyphs& named = GlyphsOf(family);
    int fewest = 2 * named.Missing(caption) + (named.Installed() ? 0 : 1);
    std::wstring best = family;
    // True once a family has every character.
    auto consider = [&](const std::wstring& candidate) {
        FamilyGlyphs& glyphs = GlyphsOf(candidate);
        if (!glyphs.Installed())
            return false;
        int score = 2 * glyphs.Missing(caption);
        if (score < fewest) {
            fewest = score;
            best = candidate;
        }
        return fewest == 0;
    };
    if (fewest == 0)
        return best;
    for (const wchar_t* candidate : kJapaneseUiFamilies) {
        if (consider(candidate))
            return best;
    }
    for (const std::wstring& candidate : JapaneseFamilies()) {
        if (consider(candidate))
            return best;
    }
    return best;
}

std::wstring CaptionFamily(const std::wstring& family, std::wstring_view caption) {
    // Windows draws a character the family lacks from another font by itself, in GDI (font linking)
    // and in GDI+ alike, so the family stays. Wine does not: its GDI+ has no fallback at all, and its
    // GDI links only the fonts its registry names (none of which a stock prefix on Linux has), so it
    // would draw the missing-glyph box.
    if (!RunsUnderWine())
        return family;
    return FamilyWithGlyphs(family, caption);
}

CaptionFonts MakeCaptionFonts(const GlassFont& font, const std::wstring& family, int pixelsPerInch) {
    CaptionFonts fonts;
    fonts.family = family;
    GlassFont drawn = font;
    drawn.family = family;
    LOGFONTW logFont = ToLogFont(drawn, pixelsPerInch);
    fonts.gdiFont.reset(CreateFontIndirectW(&logFont));
    UniqueDC screen(CreateCompatibleDC(nullptr));
    SelectedObject selected(screen.get(), fonts.gdiFont.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    bool vectorFont =
        (metrics.tmPitchAndFamily & TMPF_VECTOR) != 0 && (metrics.tmPitchAndFamily & TMPF_DEVICE) == 0;
    fonts.gdiplusRoute = vectorFont && IsInstalledScreenFont(family);
    return fonts;
}

bool ReadyGdiplusFonts(CaptionFonts& fonts, const GlassFont& font, int pixelsPerInch, int canvasDpi) {
    if (!fonts.gdiplusRoute)
        return false;
    if (!fonts.gdiplusFamily) {
        if (!RunsUnderWine() || !MakeFamilyFromFontFile(fonts))
            fonts.gdiplusFamily = MakeFontFamily(fonts.family.c_str());
        if (!fonts.gdiplusFamily) {
            fonts.gdiplusRoute = false;  // GDI+ does not know the family
            return false;
        }
    }
    if (!fonts.gdiplusFont || fonts.gdiplusFontCanvasDpi != canvasDpi) {
        INT style = (font.bold ? Gdiplus::FontStyleBold : 0) | (font.italic ? Gdiplus::FontStyleItalic : 0) |
                    (font.underline ? Gdiplus::FontStyleUnderline : 0);
        Gdiplus::REAL emSize = static_cast<Gdiplus::REAL>(font.Size()) *
                               static_cast<Gdiplus::REAL>(pixelsPerInch) /
                               static_cast<Gdiplus::REAL>(canvasDpi);
        fonts.gdiplusFont = MakeFont(fonts.gdiplusFamily.get(), emSize, style, Gdiplus::UnitPoint);
        fonts.gdiplusFontCanvasDpi = canvasDpi;
        if (!fonts.gdiplusFont)
            return false;
    }
    if (!fonts.format) {
        fonts.format = MakeStringFormat(0, LANG_NEUTRAL);
        if (!fonts.format)
            return false;
        GF::GdipSetStringFormatAlign(fonts.format.get(), Gdiplus::StringAlignmentCenter);
        GF::GdipSetStringFormatLineAlign(fonts.format.get(), Gdiplus::StringAlignmentCenter);
        GF::GdipSetStringFormatHotkeyPrefix(fonts.format.get(), Gdiplus::HotkeyPrefixShow);
        GF::GdipSetStringFormatTrimming(fonts.format.get(), Gdiplus::StringTrimmingNone);
    }
    return true;
}

}  // namespace vellicot
