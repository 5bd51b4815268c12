// Control ids of the windows, shared with the end-to-end tests.
#pragma once

#include <string_view>

namespace vellicot {

// The number at the end of a button's name, "btn07" -> 7; 0 when it does not end in two digits.
constexpr int ButtonNumberFromName(std::wstring_view name) noexcept {
    if (name.size() < 2)
        return 0;
    const wchar_t tens = name[name.size() - 2];
    const wchar_t ones = name[name.size() - 1];
    if (tens < L'0' || tens > L'9' || ones < L'0' || ones > L'9')
        return 0;
    return (tens - L'0') * 10 + (ones - L'0');
}

}  // namespace vellicot

namespace vellicot::ids {

// Tree button t is kTreeButton + t (t = 1..16).
inline constexpr int kTreeButton = 100;
inline constexpr int kBtnSTA = 201;
inline constexpr int kBtnEND = 202;
inline constexpr int kBtnCOPY = 203;
inline constexpr int kBtnAllClear = 204;
inline constexpr int kBtnSetting = 205;
inline constexpr int kBtnBtnClear = 206;
inline constexpr int kEdtNAME = 207;
inline constexpr int kChTopmost = 208;
// Selection window button BitBtn n is kBitBtn + n (n = 1..18).
inline constexpr int kBitBtn = 300;

// The main window's system menu items that open the hot-key dialog and the record window.
inline constexpr unsigned kSysCommandHotkeys = 0x0010;
inline constexpr unsigned kSysCommandRecords = 0x0020;
// The hot-key dialog: row i (one per action, from 0) has its label at kHotkeyLabel + i, its hot-key
// control at kHotkeyControl + i and its clear button at kHotkeyClear + i.
inline constexpr int kHotkeyHint = 500;
inline constexpr int kHotkeyLabel = 501;
inline constexpr int kHotkeyControl = 511;
inline constexpr int kHotkeyClear = 521;
inline constexpr int kHotkeyCancel = 531;
inline constexpr int kHotkeyOK = 532;

// The record window.
inline constexpr int kRecordsSummary = 600;
inline constexpr int kRecordsList = 601;
inline constexpr int kRecordsCopy = 602;
inline constexpr int kRecordsDelete = 603;
inline constexpr int kRecordsDeleteAll = 604;
inline constexpr int kRecordsClose = 605;
inline constexpr int kRecordsStats = 606;
inline constexpr int kRecordsChart = 607;

}  // namespace vellicot::ids
