// The Board: the fixed tables of trees, entries and colours, the player's picks and the settings.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellicot {

// 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;

inline constexpr int kSlots = 18;    // slots 0..17; the Board uses 1..16
inline constexpr int kTrees = 16;    // tree numbers 1..16
inline constexpr int kEntries = 16;  // entry numbers 1..16: virtues 1..8, vice k + 8 opposes virtue k
inline constexpr int kVirtues = 8;
inline constexpr int kCancelButton = 17;  // the picker's "cancel the pick" button

// Tree labels by tree number (slot 0 unused).
inline constexpr std::array<std::wstring_view, kSlots> kTreeLabels = {
    L"",     L"上４", L"上３", L"上１", L"上２", L"右４", L"右３", L"右１", L"右２",
    L"下２", L"下１", L"下３", L"下４", L"左１", L"左２", L"左３", L"左４", L"",
};

// Entry names by entry number (slot 0 unused).
inline constexpr std::array<std::wstring_view, kSlots> kEntryNames = {
    L"",      L"慈悲",   L"誠実",     L"名誉",       L"謙譲",     L"正義",
    L"献身",  L"霊性",   L"武勇",     L"デスパイス", L"デシート", L"シェイム",
    L"Pride", L"ロング", L"コブトス", L"ヒスロス",   L"Destard",  L"",
};

// Colour tables by virtue k = 1..8; entry k + 8 carries the values of virtue k.
struct VirtueColours {
    Colour line;         // pair line, and the borders of a tree that holds the entry
    Colour inner;        // inner border of the entry's picker button
    Colour outer;        // outer border of the entry's picker button
    Colour solidBack;    // back colour, palette 0
    Colour translucent;  // back colour, any other palette
};
inline constexpr std::array<VirtueColours, kVirtues + 1> kVirtueColours = {{
    {0, 0, 0, 0, 0},
    {0x00D7FF, 0x00D7FF, 0x00D7FF, 0x00D7FF, 0xC7EDF7},
    {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xDEBFBF},
    {0x800080, 0x800080, 0x800080, 0x800080, 0xCFB8D0},
    {0x000000, 0x000000, 0x000000, 0x808080, 0xCACAC9},
    {0x008000, 0x008000, 0x008000, 0x008000, 0xB8D0C6},
    {0x00A5FF, 0x00A5FF, 0x00A5FF, 0x00A5FF, 0xC0E1FA},
    {0xF5F5F5, 0xDCDCDC, 0xC0C0C0, 0xC0C0C0, 0xFDFDFC},
    {0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0xAFC5F2},
}};

// The virtue whose colours entry n (1..16) carries.
constexpr int VirtueOf(int entry) noexcept {
    return entry > kVirtues ? entry - kVirtues : entry;
}

// The Board's fields, in the order the main window declares them. Every table has 18 slots.
struct Board {
    std::int32_t iSel1 = 0;
    std::array<std::wstring, kSlots> sList1Txt;
    std::array<std::wstring, kSlots> sList1Sel;
    std::array<Colour, kSlots> sList1Col{};
    std::array<std::wstring, kSlots> sList2Txt;
    std::array<Colour, kSlots> sList2Col{};
    std::array<Colour, kSlots> sList2OCo{};
    std::array<Colour, kSlots> sListBCol{};
    std::int32_t iSettings = 0;
    std::int32_t iSettingsBtnBGColor = 0;
    std::int32_t iSettingsTreeBtnTxtColor = 0;
    std::int32_t iSettingsTreeBtnTxtBold = 0;
    std::int32_t iSettingsTokuBtnTxtColor = 0;
    std::int32_t iSettingsTokuBtnTxtBold = 0;
    bool blChTopmost = false;

    // Writes the sixteen tree labels into sList1Txt (the main window's reset does this every time).
    void FillTreeLabels();
    // Fills the entry names, line and border colours, then the back colours.
    void excBtnClearForm2();
    // Fills the back colours from the palette iSettingsBtnBGColor selects: 0 solid, else translucent.
    void excBtnClearForm2_Sub();

    // The number of the entry with exactly this name, or 0 when none has it.
    int EntryNumberOf(std::wstring_view name) const noexcept;
};

// The five display settings, each by its name (its key in the settings file) and its Board field, in
// their order in the file. The settings dialog shows a list for each: the lists' control ids and their
// Tab order follow this order.
using BoardNumber = std::int32_t Board::*;
struct DisplaySetting {
    const wchar_t* name;
    BoardNumber field;
};
inline constexpr std::array<DisplaySetting, 5> kDisplaySettings = {{
    {L"iSettingsBtnBGColor", &Board::iSettingsBtnBGColor},
    {L"iSettingsTreeBtnTxtColor", &Board::iSettingsTreeBtnTxtColor},
    {L"iSettingsTreeBtnTxtBold", &Board::iSettingsTreeBtnTxtBold},
    {L"iSettingsTokuBtnTxtColor", &Board::iSettingsTokuBtnTxtColor},
    {L"iSettingsTokuBtnTxtBold", &Board::iSettingsTokuBtnTxtBold},
}};

// The values of the five display settings, in the order of kDisplaySettings; 0 is the default of each.
using DisplaySettings = std::array<std::int32_t, kDisplaySettings.size()>;
DisplaySettings DisplaySettingsOf(const Board& board) noexcept;
void SetDisplaySettings(Board& board, const DisplaySettings& settings) noexcept;

}  // namespace vellicot
