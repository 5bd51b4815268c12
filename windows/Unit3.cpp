// The settings dialog: five drop-down lists copied into the Board when OK is pressed.
#include "windows/Unit3.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "shell/Placement.h"
#include "windows/DialogParts.h"

namespace vellicot {
namespace {

constexpr wchar_t kClassName[] = L"TForm3";
constexpr wchar_t kCaption[] = L"設定";
// A fixed single border with the system menu and the minimise and maximise buttons. No
// WS_CLIPCHILDREN: a group box paints only its frame, so the dialog paints the face beneath it.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

constexpr int kListWidth = 89;
constexpr int kListHeight = 23;  // closed; the drop-down part is added to it

struct GroupSpec {
    int left, top, width, height;
    const wchar_t* caption;
};
constexpr std::array<GroupSpec, 3> kGroups = {{
    {1, 3, 200, 70, L"共通"},
    {1, 79, 200, 118, L"木の選択画面"},
    {1, 203, 200, 118, L"徳/背徳の選択画面"},
}};

// Labels and lists lie inside a group box; their positions are relative to its top-left corner.
struct LabelSpec {
    int group, left, top;
    const wchar_t* text;
};
constexpr std::array<LabelSpec, 7> kLabels = {{
    {0, 16, 27, L"ボタン背景色"},
    {1, 16, 27, L"徳/背徳選択後の文字"},
    {1, 33, 56, L"色"},
    {1, 33, 85, L"太さ"},
    {2, 16, 27, L"徳/背徳選択後の文字"},
    {2, 33, 56, L"色"},
    {2, 33, 85, L"太さ"},
}};

// The list of each display setting, in kDisplaySettings' order; an item's index is the setting's value.
struct ListSpec {
    int group, left, top;
    std::array<const wchar_t*, 2> items;
};
constexpr std::array<ListSpec, kDisplaySettings.size()> kLists = {{
    {0, 96, 24, {L"濃いカラー", L"半透明カラー"}},
    {1, 97, 52, {L"黒", L"グレー"}},
    {1, 97, 82, {L"標準", L"太字"}},
    {2, 97, 52, {L"薄いグレー", L"濃いグレー"}},
    {2, 97, 82, {L"標準", L"太字"}},
}};

constexpr int ListId(std::size_t setting) {
    return TForm3::kIdSettingList + static_cast<int>(setting);
}

constexpr Box kBtnCancel{69, 327, 75, 25};
constexpr Box kBtnOK{146, 327, 56, 25};

// The lists' font: the dialog's, which under Wine may have to shrink for the widest item to fit
// between the list's border and its drop-down arrow.
UniqueFont MakeListFont(int dpi) {
    // The field starts inside the border and a pixel further in, and ends a pixel before the arrow.
    const int edge = SystemMetricAtDpi(SM_CXEDGE, dpi);
    const int room = ScaleToDpi(kListWidth, dpi) - SystemMetricAtDpi(SM_CXVSCROLL, dpi) - 3 * edge - 1;
    auto widestItem = [](HDC dc) {
        int most = 0;
        for (const ListSpec& list : kLists) {
            for (const wchar_t* item : list.items)
                most = std::max(most, TextWidth(dc, item));
        }
        return most;
    };
    return MakeUiFontThatFits(ScaleToDpi(kDialogFontHeight, dpi), room, widestItem);
}

// A label sizes itself to its text, as an auto-sized label does.
SIZE TextSize(HFONT font, const wchar_t* text) {
    WindowDC screen(nullptr);
    SelectedObject selected(screen.Dc(), font);
    RECT rect{0, 0, 0, 0};
    DrawTextW(screen.Dc(), text, -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// Gives a drop-down list its closed height (the selection field follows the font otherwise) and a
// drop-down part that shows all items without a scroll bar.
void FitList(HWND list, int itemCount, int dpi) {
    const int listHeight = ScaleToDpi(kListHeight, dpi);
    // The field height asked for is tracked here rather than read back: Wine answers the read with
    // a height 2 pixels over what was set.
    LRESULT field = SendMessageW(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 4 && field != CB_ERR; ++attempt) {
        RECT rect;
        GetWindowRect(list, &rect);
        int missing = listHeight - (rect.bottom - rect.top);
        if (missing == 0 || field + missing <= 0)
            break;
        field += missing;
        SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
    LRESULT item = SendMessageW(list, CB_GETITEMHEIGHT, 0, 0);
    if (item == CB_ERR)
        return;
    RECT rect;
    GetWindowRect(list, &rect);
    int closed = rect.bottom - rect.top;
    SetWindowPos(list, nullptr, 0, 0, ScaleToDpi(kListWidth, dpi),
                 closed + itemCount * static_cast<int>(item) + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void TForm3::Create(HWND owner, Board& board) {
    board_ = &board;
    CreateDialogWindow(kExStyle, kClassName, kCaption, kStyle, kClientWidth, kClientHeight, owner);
}

void TForm3::LayOutControls() {
    // The controls take the new fonts before the old ones go.
    UniqueFont font = MakeUiFont(Scaled(kDialogFontHeight));
    UniqueFont boldFont = MakeUiFont(Scaled(kDialogFontHeight), FW_BOLD);
    UniqueFont listFont = MakeListFont(Dpi());
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    // box is at 96 DPI unless scaled is false.
    auto place = [&](int id, const Box& box, HFONT face, bool scaled = true) {
        HWND control = GetDlgItem(Handle(), id);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(face), FALSE);
        const Box at = scaled ? Scaled(box) : box;
        SetWindowPos(control, nullptr, at.left, at.top, at.width, at.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    };
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        // A label sizes itself to its text in the new font.
        const LabelSpec& label = kLabels[i];
        const SIZE size = TextSize(font.get(), label.text);
        const Box origin =
            Scaled(Box{kGroups[label.group].left + label.left, kGroups[label.group].top + label.top, 0, 0});
        place(kIdLabel1 + static_cast<int>(i), Box{origin.left, origin.top, size.cx, size.cy}, font.get(),
              false);
    }
    for (std::size_t i = 0; i < kLists.size(); ++i) {
        const ListSpec& list = kLists[i];
        place(ListId(i),
              {kGroups[list.group].left + list.left, kGroups[list.group].top + list.top, kListWidth,
               kListHeight * 8},
              listFont.get());
        FitList(GetDlgItem(Handle(), ListId(i)), static_cast<int>(list.items.size()), Dpi());
    }
    place(kIdBtnCancel, kBtnCancel, font.get());
    place(kIdBtnOK, kBtnOK, font.get());
    for (std::size_t i = 0; i < kGroups.size(); ++i) {
        const GroupSpec& group = kGroups[i];
        place(kIdGroupBox1 + static_cast<int>(i), {group.left, group.top, group.width, group.height},
              boldFont.get());
    }
    KeepFonts(std::move(font), std::move(boldFont), std::move(listFont));
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm3::CreateControls() {
    HWND self = Handle();
    // Creation order is Tab order: the lists from top to bottom, then the two buttons.
    // LayOutControls gives every control its place and font.
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        CreateChildControl(self, 0, WC_STATICW, kLabels[i].text, SS_LEFT | SS_NOPREFIX,
                           kIdLabel1 + static_cast<int>(i));
    }
    for (std::size_t i = 0; i < kLists.size(); ++i) {
        HWND list = CreateChildControl(self, 0, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                                       ListId(i), kListWidth, kListHeight * 8);
        for (const wchar_t* item : kLists[i].items)
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    CreateChildControl(self, 0, WC_BUTTONW, L"キャンセル", BS_PUSHBUTTON | WS_TABSTOP, kIdBtnCancel);
    CreateChildControl(self, 0, WC_BUTTONW, L"確定", BS_DEFPUSHBUTTON | WS_TABSTOP, kIdBtnOK);
    // The group boxes lie beneath the controls they frame.
    for (std::size_t i = 0; i < kGroups.size(); ++i) {
        HWND box = CreateChildControl(self, 0, WC_BUTTONW, kGroups[i].caption, BS_GROUPBOX,
                                      kIdGroupBox1 + static_cast<int>(i));
        SetWindowPos(box, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TForm3::PlaceForShow(HWND owner) {
    // The dialog is taller than the main window: near the top of the screen its title bar would go
    // out of reach, so it is kept inside the work area.
    PlaceCentredOver(Handle(), owner);
}

void TForm3::FormShow() {
    const DisplaySettings values = DisplaySettingsOf(*board_);
    for (std::size_t i = 0; i < values.size(); ++i) {
        // Every use of a setting only asks whether it is 0, so any other stored value shows as item 1.
        SendDlgItemMessageW(Handle(), ListId(i), CB_SETCURSEL, values[i] == 0 ? 0 : 1, 0);
    }
}

void TForm3::btnOKClick() {
    board_->iSettings = 1;
    DisplaySettings values = DisplaySettingsOf(*board_);
    for (std::size_t i = 0; i < values.size(); ++i) {
        LRESULT item = SendDlgItemMessageW(Handle(), ListId(i), CB_GETCURSEL, 0, 0);
        if (item != CB_ERR)
            values[i] = static_cast<std::int32_t>(item);
    }
    SetDisplaySettings(*board_, values);
    CloseModal();
}

void TForm3::btnCancelClick() {
    CloseModal();
}

void TForm3::OnCommand(int id, int code) {
    if (code != BN_CLICKED)
        return;
    if (id == kIdBtnOK)
        btnOKClick();
    else if (id == kIdBtnCancel)
        btnCancelClick();
}

}  // namespace vellicot
