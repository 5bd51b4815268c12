// Filling the Board's tables.
#include "core/Board.h"

namespace vellicot {

void Board::FillTreeLabels() {
    for (int t = 1; t <= kTrees; ++t)
        sList1Txt[t] = kTreeLabels[t];
}

void Board::excBtnClearForm2() {
    for (int n = 1; n <= kEntries; ++n) {
        const VirtueColours& colours = kVirtueColours[VirtueOf(n)];
        sList2Txt[n] = kEntryNames[n];
        sList1Col[n] = colours.line;
        sList2Col[n] = colours.inner;
        sList2OCo[n] = colours.outer;
    }
    excBtnClearForm2_Sub();
}

void Board::excBtnClearForm2_Sub() {
    for (int n = 1; n <= kEntries; ++n) {
        const VirtueColours& colours = kVirtueColours[VirtueOf(n)];
        sListBCol[n] = iSettingsBtnBGColor == 0 ? colours.solidBack : colours.translucent;
    }
}

int Board::EntryNumberOf(std::wstring_view name) const noexcept {
    if (name.empty())
        return 0;
    for (int n = 1; n <= kEntries; ++n) {
        if (sList2Txt[n] == name)
            return n;
    }
    return 0;
}

DisplaySettings DisplaySettingsOf(const Board& board) noexcept {
    DisplaySettings settings{};
    for (std::size_t i = 0; i < kDisplaySettings.size(); ++i)
        settings[i] = board.*kDisplaySettings[i].field;
    return settings;
}

void SetDisplaySettings(Board& board, const DisplaySettings& settings) noexcept {
    for (std::size_t i = 0; i < kDisplaySettings.size(); ++i)
        board.*kDisplaySettings[i].field = settings[i];
}

}  // namespace vellicot
