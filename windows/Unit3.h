// The settings dialog: the button palette and how decided buttons are lettered.
#pragma once

#include "core/Board.h"
#include "platform/ModalForm.h"

namespace vellicot {

class TForm3 : public ModalForm {
public:
    static constexpr int kClientWidth = 205;
    static constexpr int kClientHeight = 359;

    // Control ids, for the main window's tests and the end-to-end driver.
    // 401..405: the list of each display setting, in kDisplaySettings' order.
    static constexpr int kIdSettingList = 401;
    static constexpr int kIdBtnCancel = 406;
    static constexpr int kIdBtnOK = 407;
    static constexpr int kIdGroupBox1 = 411;  // 411..413: GroupBox1..GroupBox3
    static constexpr int kIdLabel1 = 421;     // 421..427: Label1..Label7
    static_assert(kIdSettingList + static_cast<int>(kDisplaySettings.size()) <= kIdBtnCancel);

    TForm3() : ModalForm({.enter = kIdBtnOK, .esc = kIdBtnCancel}) {}

    // Creates the dialog hidden, owned by the main window; board is the main window's Board and
    // must outlive the dialog. Its controls are made at its first showing.
    void Create(HWND owner, Board& board);

protected:
    void PlaceForShow(HWND owner) override;
    void FormShow() override;
    void OnCommand(int id, int code) override;

private:
    void CreateControls() override;
    // Places the controls and sets their fonts at the window's DPI.
    void LayOutControls() override;
    void btnOKClick();
    void btnCancelClick();

    Board* board_ = nullptr;  // not owned
};

}  // namespace vellicot
