// The record window: a summary with the best time, the count and the averages, the chart of the
// runs, the list of runs, and コピー, 削除, すべて削除 and 閉じる.
#include "windows/Unit5.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "core/RunStats.h"
#include "platform/Clipboard.h"
#include "platform/ErrorBox.h"
#include "shell/Placement.h"
#include "shell/UserSettings.h"
#include "windows/DialogParts.h"

namespace vellicot {
namespace {

constexpr wchar_t kClassName[] = L"TForm5";
// A fixed single border with the system menu, as the settings and hot-key dialogs have.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;

constexpr wchar_t kNoRecords[] = L"記録はまだありません。結果COPYでタイムが記録されます。";
constexpr wchar_t kDeleteAllQuestion[] =
    L"タイムの記録をすべて削除しますか？\r\n削除した記録は元に戻せません。";

// The summary and the chart read at a glance above the list and its buttons. At 150 % the window
// stays within a 1366 x 768 laptop screen, at 200 % within 1280 x 1024.
constexpr Box kSummaryBox{12, 10, 448, 16};
constexpr Box kStatsBox{12, 28, 448, 16};
constexpr Box kChartBox{12, 50, 448, 140};
constexpr Box kListBox{12, 198, 448, 172};
constexpr Box kBtnCopy{12, 380, 75, 25};
constexpr Box kBtnDelete{93, 380, 75, 25};
constexpr Box kBtnDeleteAll{174, 380, 90, 25};
constexpr Box kBtnClose{385, 380, 75, 25};

// The columns' headings and widths at 96 DPI; together they fill the list beside its scroll bar, and
// each holds its widest text in Meiryo UI and in the wider fonts that stand in for it under Wine.
struct ColumnLayout {
    const wchar_t* heading;
    int width;
    int format;
};
constexpr std::array<ColumnLayout, TForm5::kColumns> kColumnLayout = {{
    {L"日時", 146, LVCFMT_LEFT},
    {L"タイム", 106, LVCFMT_RIGHT},
    {L"名前", 103, LVCFMT_LEFT},
    {L"", 72, LVCFMT_LEFT},
}};

}  // namespace

void TForm5::Create(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    CreateDialogWindow(kExStyle, kClassName, kCaption, kStyle, kClientWidth, kClientHeight, owner);
}

void TForm5::ShowRecords(HWND owner, const std::wstring& path) {
    path_ = path;
    ShowModal(owner);
}

void TForm5::CreateControls() {
    HWND self = Handle();
    // Creation order is Tab order: the list, then the buttons from left to right. The summary and
    // the chart take no keyboard.
    CreateChildControl(self, 0, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kIdSummary);
    CreateChildControl(self, 0, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kIdStats);
    chart_.Create(self, kIdChart);
    HWND list = CreateChildControl(
        self, WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_OWNERDATA,
        kIdList);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int column = 0; column < kColumns; ++column) {
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        info.fmt = kColumnLayout[column].format;
        info.cx = kColumnLayout[column].width;
        info.pszText = const_cast<wchar_t*>(kColumnLayout[column].heading);
        info.iSubItem = column;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    }
    CreateChildControl(self, 0, WC_BUTTONW, L"コピー", BS_DEFPUSHBUTTON | WS_TABSTOP, kIdBtnCopy);
    CreateChildControl(self, 0, WC_BUTTONW, L"削除", BS_PUSHBUTTON | WS_TABSTOP, kIdBtnDelete);
    CreateChildControl(self, 0, WC_BUTTONW, L"すべて削除", BS_PUSHBUTTON | WS_TABSTOP, kIdBtnDeleteAll);
    CreateChildControl(self, 0, WC_BUTTONW, L"閉じる", BS_PUSHBUTTON | WS_TABSTOP, kIdBtnClose);
}

void TForm5::LayOutControls() {
    // The controls take the new font before the old one goes.
    UniqueFont font = MakeUiFont(Scaled(kDialogFontHeight));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    auto place = [&](int id, const Box& box) { PlaceControl(id, box, font.get()); };
    place(kIdSummary, kSummaryBox);
    place(kIdStats, kStatsBox);
    chart_.SetDpi(Dpi());
    place(kIdChart, kChartBox);
    place(kIdList, kListBox);
    place(kIdBtnCopy, kBtnCopy);
    place(kIdBtnDelete, kBtnDelete);
    place(kIdBtnDeleteAll, kBtnDeleteAll);
    place(kIdBtnClose, kBtnClose);
    HWND list = GetDlgItem(Handle(), kIdList);
    for (int column = 0; column < kColumns; ++column)
        SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                     Scaled(kColumnLayout[column].width));
    KeepFonts(std::move(font));
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm5::PlaceForShow(HWND owner) {
    PlaceCentredOver(Handle(), owner);
}

void TForm5::FormShow() {
    std::vector<RunRecord> records;
    try {
        records = LoadRunRecords(path_);
    } catch (const AppError& error) {
        // The window still opens, empty, and says why.
        ShowErrorBox(error.Message());
    }
    Fill(std::move(records), 0);
    SetFocus(GetDlgItem(Handle(), kIdList));
}

void TForm5::Fill(std::vector<RunRecord> records, int selectRow) {
    records_ = std::move(records);
    best_ = BestRunIndex(records_);
    const std::vector<long long> times = TimesOf(records_);
    chart_.SetRuns(times);
    HWND list = GetDlgItem(Handle(), kIdList);
    // No selection while the rows change, so the chart never marks a run by a row it no longer has.
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    SendMessageW(list, LVM_SETITEMCOUNT, records_.size(), 0);

    std::wstring summary = kNoRecords;
    if (best_) {
        const RunRecord& record = records_[*best_];
        summary = std::wstring(kBestMark) + L"　" + FormatRunTime(record.elapsedMs) + L"（" + record.date +
                  L"　" + record.name + L"）";
    }
    SetDlgItemTextW(Handle(), kIdSummary, summary.c_str());
    SetDlgItemTextW(Handle(), kIdStats, RunStatsLine(times).c_str());

    const int rows = static_cast<int>(records_.size());
    if (rows > 0)
        SelectRow(std::clamp(selectRow, 0, rows - 1));
    OnSelectionChanged();
}

void TForm5::OnCellWanted(const NMLVDISPINFOW& info) const {
    const LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0)
        return;
    const int row = item.iItem;
    std::wstring cell;
    if (row >= 0 && row < static_cast<int>(records_.size())) {
        const std::size_t index = RecordOfRow(row);
        const RunRecord& record = records_[index];
        switch (item.iSubItem) {
            case kColumnDate:
                cell = record.date;
                break;
            case kColumnTime:
                cell = FormatRunTime(record.elapsedMs);
                break;
            case kColumnName:
                cell = record.name;
                break;
            case kColumnMark:
                cell = best_ == index ? kBestMark : L"";
                break;
        }
    }
    lstrcpynW(item.pszText, cell.c_str(), item.cchTextMax);
}

int TForm5::SelectedRow() const {
    return static_cast<int>(
        SendDlgItemMessageW(Handle(), kIdList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TForm5::SelectRow(int row) {
    HWND list = GetDlgItem(Handle(), kIdList);
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void TForm5::OnSelectionChanged() {
    EnableButtons();
    const int row = SelectedRow();
    const bool shown = row >= 0 && row < static_cast<int>(records_.size());
    chart_.SetSelected(shown ? std::optional<std::size_t>(RecordOfRow(row)) : std::nullopt);
}

void TForm5::OnRunChosen() {
    if (const std::optional<std::size_t> run = chart_.Selected())
        SelectRow(RowOfRecord(*run));
    SetFocus(GetDlgItem(Handle(), kIdList));
}

void TForm5::EnableButtons() {
    const bool selected = SelectedRow() >= 0;
    HWND focus = GetFocus();
    for (int id : {kIdBtnCopy, kIdBtnDelete})
        EnableWindow(GetDlgItem(Handle(), id), selected);
    EnableWindow(GetDlgItem(Handle(), kIdBtnDeleteAll), !records_.empty());
    // A button that lost its use gives the focus to the list, so the keyboard is never left nowhere.
    if (focus != nullptr && !IsWindowEnabled(focus))
        SetFocus(GetDlgItem(Handle(), kIdList));
}

void TForm5::btnCopyClick() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    SetClipboardText(Handle(), ResultLineOf(records_[RecordOfRow(row)]));
}

void TForm5::btnDeleteClick() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    const std::size_t index = RecordOfRow(row);
    try {
        Fill(DeleteRunRecordFromFile(index, records_[index], path_), row);
    } catch (const AppError& error) {
        ShowErrorBox(error.Message());
    }
}

void TForm5::btnDeleteAllClick() {
    if (records_.empty())
        return;
    if (MessageBoxW(Handle(), kDeleteAllQuestion, kCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) !=
        IDYES)
        return;
    try {
        Fill(DeleteAllRunRecordsFromFile(path_), 0);
    } catch (const AppError& error) {
        ShowErrorBox(error.Message());
    }
}

void TForm5::OnListKey(WORD key) {
    if (key == VK_DELETE)
        btnDeleteClick();
    else if (key == 'C' && GetKeyState(VK_CONTROL) < 0)
        btnCopyClick();
}

void TForm5::OnCommand(int id, int code) {
    if (id == kIdChart && code == RunChart::kRunChosen)
        OnRunChosen();
    if (code != BN_CLICKED)
        return;
    if (id == kIdBtnCopy)
        btnCopyClick();
    else if (id == kIdBtnDelete)
        btnDeleteClick();
    else if (id == kIdBtnDeleteAll)
        btnDeleteAllClick();
    else if (id == kIdBtnClose)
        CloseModal();
}

LRESULT TForm5::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        if (header->idFrom == static_cast<UINT_PTR>(kIdList)) {
            if (header->code == LVN_ITEMCHANGED || header->code == LVN_ODSTATECHANGED)
                OnSelectionChanged();
            else if (header->code == LVN_GETDISPINFOW)
                OnCellWanted(*reinterpret_cast<NMLVDISPINFOW*>(lp));
            else if (header->code == LVN_KEYDOWN)
                OnListKey(reinterpret_cast<const NMLVKEYDOWN*>(lp)->wVKey);
        }
        return 0;
    }
    return ModalForm::HandleMessage(msg, wp, lp);
}

}  // namespace vellicot
