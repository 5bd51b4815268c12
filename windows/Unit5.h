// The record window: the runs kept by 結果COPY, newest first, with the best time marked 自己ベスト,
// their count and averages and a chart of every time; a run's line copied again, one run deleted,
// or all of them after a question.
#pragma once

#include "platform/Win32.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "core/RunRecords.h"
#include "platform/ModalForm.h"
#include "shell/SettingsFile.h"
#include "windows/ControlIds.h"
#include "windows/RunChart.h"

namespace vellicot {

class TForm5 : public ModalForm {
public:
    static constexpr wchar_t kCaption[] = L"タイムの記録";
    static constexpr int kClientWidth = 472;
    static constexpr int kClientHeight = 414;

    // Control ids; the end-to-end tests find them in ControlIds.h.
    static constexpr int kIdSummary = ids::kRecordsSummary;
    static constexpr int kIdStats = ids::kRecordsStats;
    static constexpr int kIdChart = ids::kRecordsChart;
    static constexpr int kIdList = ids::kRecordsList;
    static constexpr int kIdBtnCopy = ids::kRecordsCopy;
    static constexpr int kIdBtnDelete = ids::kRecordsDelete;
    static constexpr int kIdBtnDeleteAll = ids::kRecordsDeleteAll;
    static constexpr int kIdBtnClose = ids::kRecordsClose;

    // The list's columns, in order.
    enum Column { kColumnDate, kColumnTime, kColumnName, kColumnMark, kColumns };
    static constexpr wchar_t kBestMark[] = L"自己ベスト";

    // Enter copies the selected run's line; Esc closes.
    TForm5() : ModalForm({.enter = kIdBtnCopy, .esc = kIdBtnClose}) {}

    // Creates the window hidden, owned by owner; its controls are made at its first showing.
    void Create(HWND owner);
    // Shows the runs kept in the settings file at path until the player closes the window.
    void ShowRecords(HWND owner, const std::wstring& path = SettingsFileName());

protected:
    void PlaceForShow(HWND owner) override;
    void FormShow() override;
    void OnCommand(int id, int code) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CreateControls() override;
    // Places the controls, sizes the columns and sets the font at the window's DPI.
    void LayOutControls() override;
    // Shows records (oldest first) newest first, selecting the row given when there is one.
    void Fill(std::vector<RunRecord> records, int selectRow);
    // The list holds no rows of its own: it asks for each cell it shows, so a thousand runs cost no
    // more than ten.
    void OnCellWanted(const NMLVDISPINFOW& info) const;
    // The selected row, or -1.
    int SelectedRow() const;
    // Selects a row alone and scrolls the list to it.
    void SelectRow(int row);
    // The index in records_ of a row, and back: rows run newest first.
    std::size_t RecordOfRow(int row) const { return records_.size() - 1 - static_cast<std::size_t>(row); }
    int RowOfRecord(std::size_t index) const { return static_cast<int>(records_.size() - 1 - index); }
    // The list's selection changed: the buttons and the chart follow it.
    void OnSelectionChanged();
    // A click on the chart chose a run: its row is selected and the list takes the keyboard.
    void OnRunChosen();
    void EnableButtons();
    void btnCopyClick();
    void btnDeleteClick();
    void btnDeleteAllClick();
    // The list's key presses: Delete deletes the selected run, Ctrl+C copies its line.
    void OnListKey(WORD key);

    std::wstring path_;
    std::vector<RunRecord> records_;   // oldest first, as the file keeps them
    std::optional<std::size_t> best_;  // its index in records_
    RunChart chart_;
};

}  // namespace vellicot
