// The settings dialog: five drop-down lists copied into the Board when OK is pressed.
#include "windows/Unit3.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cwchar>

#include "shell/Placement.h"
#include "windows/DialogParts.h"
#include "widgets/GlassCaptionFont.h"

namespace vellicot {
namespace {

constexpr wchar_t kClassName[] = L"TForm3";
constexpr wchar_t kCaption[] = L"設定";
// A fixed single border with the system menu and the minimise and maximise buttons. No
// WS_CLIPCHILDREN: a group box paints only its frame, so the dialog paints the face beneath it.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

constexpr int kDialogFontHeight = 12;
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

// Each list's item index is the value of the Board field of the same name without "cb".
struct ListSpec {
    int id, group, left, top;
    std::array<const wchar_t*, 2> items;
    BoardNumber field;
};
constexpr std::array<ListSpec, 5> kLists = {{
    {TForm3::kIdCbiSettingsBtnBGColor,
     0,
     96,
     24,
     {L"濃いカラー", L"半透明カラー"},
     &Board::iSettingsBtnBGColor},
    {TForm3::kIdCbiSettingsTreeBtnTxtColor, 1, 97, 52, {L"黒", L"グレー"}, &Board::iSettingsTreeBtnTxtColor},
    {TForm3::kIdCbiSettingsTreeBtnTxtBold, 1, 97, 82, {L"標準", L"太字"}, &Board::iSettingsTreeBtnTxtBold},
    {TForm3::kIdCbiSettingsTokuBtnTxtColor,
     2,
     97,
     52,
     {L"薄いグレー", L"濃いグレー"},
     &Board::iSettingsTokuBtnTxtColor},
    {TForm3::kIdCbiSettingsTokuBtnTxtBold, 2, 97, 82, {L"標準", L"太字"}, &Board::iSettingsTokuBtnTxtBold},
}};

constexpr Box kBtnCancel{69, 327, 75, 25};
constexpr Box kBtnOK{146, 327, 56, 25};

UniqueFont MakeFont(int weight, int dpi) {
    return MakeDialogFont(weight, ScaleToDpi(kDialogFontHeight, dpi));
}

// The lists' font: the dialog's. Under Wine "Meiryo UI" stands for another font, whose kana may be
// wider than Meiryo UI's: there it shrinks a pixel at a time until the widest item fits between the
// list's border and its drop-down arrow, so no item is cut off. On Windows it stays the dialog's.
UniqueFont MakeListFont(int dpi) {
    UniqueFont font = MakeFont(FW_NORMAL, dpi);
    if (PlatformFallsBackPerGlyph())
        return font;
    // The field starts inside the border and a pixel further in, and ends a pixel before the arrow.
    const int edge = SystemMetricAtDpi(SM_CXEDGE, dpi);
    const int room = ScaleToDpi(kListWidth, dpi) - SystemMetricAtDpi(SM_CXVSCROLL, dpi) - 3 * edge - 1;
    UniqueDC dc(CreateCompatibleDC(nullptr));
    auto widest = [&](HFONT candidate) {
        SelectedObject selected(dc.get(), candidate);
        int most = 0;
        for (const ListSpec& list : kLists) {
            for (const wchar_t* item : list.items) {
                SIZE size{};
                GetTextExtentPoint32W(dc.get(), item, static_cast<int>(std::wcslen(item)), &size);
                most = std::max(most, static_cast<int>(size.cx));
            }
        }
        return most;
    };
    const int height = ScaleToDpi(kDialogFontHeight, dpi);
    for (int smaller = height - 1; smaller > height / 2 && widest(font.get()) > room; --smaller)
        font = MakeDialogFont(FW_NORMAL, smaller);
    return font;
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

TForm3::~TForm3() {
    // The controls go before the fonts they use.
    if (Handle() != nullptr)
        DestroyWindow(Handle());
}

void TForm3::Create(HWND owner, Board& board) {
    board_ = &board;
    RegisterWindowClass(kClassName, 0, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    CreateHandle(kExStyle, kClassName, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, kClientWidth,
                 kClientHeight, owner, nullptr);
    // The controls and their fonts wait for the first showing: start-up need not make them.
    FollowDpi(kClientWidth, kClientHeight);
}

void TForm3::EnsureControls() {
    if (controlsMade_)
        return;
    controlsMade_ = true;
    CreateControls();
    LayOut();
}

void TForm3::LayOut() {
    if (!controlsMade_)
        return;
    // The controls take the new fonts before the old ones go.
    UniqueFont font = MakeFont(FW_NORMAL, Dpi());
    UniqueFont boldFont = MakeFont(FW_BOLD, Dpi());
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
    for (const ListSpec& entry : kLists) {
        place(entry.id,
              {kGroups[entry.group].left + entry.left, kGroups[entry.group].top + entry.top, kListWidth,
               kListHeight * 8},
              listFont.get());
        FitList(GetDlgItem(Handle(), entry.id), static_cast<int>(entry.items.size()), Dpi());
    }
    place(kIdBtnCancel, kBtnCancel, font.get());
    place(kIdBtnOK, kBtnOK, font.get());
    for (std::size_t i = 0; i < kGroups.size(); ++i) {
        const GroupSpec& group = kGroups[i];
        place(kIdGroupBox1 + static_cast<int>(i), {group.left, group.top, group.width, group.height},
              boldFont.get());
    }
    font_ = std::move(font);
    boldFont_ = std::move(boldFont);
    listFont_ = std::move(listFont);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm3::CreateControls() {
    HWND self = Handle();
    // Creation order is Tab order: the lists from top to bottom, then the two buttons. LayOut gives
    // every control its place and font.
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        CreateDialogChild(self, WC_STATICW, kLabels[i].text, SS_LEFT | SS_NOPREFIX,
                          kIdLabel1 + static_cast<int>(i));
    }
    for (const ListSpec& entry : kLists) {
        HWND list = CreateDialogChild(self, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                                      entry.id, kListWidth, kListHeight * 8);
        for (const wchar_t* item : entry.items)
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    CreateDialogChild(self, WC_BUTTONW, L"キャンセル", BS_PUSHBUTTON | WS_TABSTOP, kIdBtnCancel);
    CreateDialogChild(self, WC_BUTTONW, L"確定", BS_DEFPUSHBUTTON | WS_TABSTOP, kIdBtnOK);
    // The group boxes lie beneath the controls they frame.
    for (std::size_t i = 0; i < kGroups.size(); ++i) {
        HWND box = CreateDialogChild(self, WC_BUTTONW, kGroups[i].caption, BS_GROUPBOX,
                                     kIdGroupBox1 + static_cast<int>(i));
        SetWindowPos(box, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TForm3::PlaceForShow(HWND owner) {
    EnsureControls();
    // The dialog is taller than the main window: near the top of the screen its title bar would go
    // out of reach, so it is kept inside the work area.
    PlaceCentredOver(Handle(), owner);
}

void TForm3::FormShow() {
    for (const ListSpec& list : kLists) {
        // Every use of a setting only asks whether it is 0, so any other stored value shows as item 1.
        WPARAM item = (board_->*list.field) == 0 ? 0 : 1;
        SendDlgItemMessageW(Handle(), list.id, CB_SETCURSEL, item, 0);
    }
}

void TForm3::btnOKClick() {
    board_->iSettings = 1;
    for (const ListSpec& list : kLists) {
        LRESULT item = SendDlgItemMessageW(Handle(), list.id, CB_GETCURSEL, 0, 0);
        if (item != CB_ERR)
            board_->*list.field = static_cast<std::int32_t>(item);
    }
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
    else if (id == kIdBtnCancel || id == IDCANCEL)  // IDCANCEL: Esc
        btnCancelClick();
}

int TForm3::DefaultButtonId() const {
    return kIdBtnOK;  // Enter presses 確定
}

}  // namespace vellicot
