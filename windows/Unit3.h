// The settings dialog: the button palette and how decided buttons are lettered.
#pragma once

#include <cstdint>

#include "core/Board.h"
#include "core/Scale.h"
#include "platform/Handles.h"
#include "platform/ModalForm.h"

namespace vellicot {

class TForm3 : public ModalForm {
public:
    static constexpr int kClientWidth = 205;
    static constexpr int kClientHeight = 359;

    // Control ids, for the main window's tests and the end-to-end driver.
    static constexpr int kIdCbiSettingsBtnBGColor = 401;
    static constexpr int kIdCbiSettingsTreeBtnTxtColor = 402;
    static constexpr int kIdCbiSettingsTreeBtnTxtBold = 403;
    static constexpr int kIdCbiSettingsTokuBtnTxtColor = 404;
    static constexpr int kIdCbiSettingsTokuBtnTxtBold = 405;
    static constexpr int kIdBtnCancel = 406;
    static constexpr int kIdBtnOK = 407;
    static constexpr int kIdGroupBox1 = 411;  // 411..413: GroupBox1..GroupBox3
    static constexpr int kIdLabel1 = 421;     // 421..427: Label1..Label7

    TForm3() = default;
    ~TForm3() override;

    // Creates the dialog hidden, owned by the main window; board is the main window's Board and
    // must outlive the dialog. Its controls are made at its first showing.
    void Create(HWND owner, Board& board);
    // Makes the controls now if they are not made yet.
    void EnsureControls();

protected:
    void PlaceForShow(HWND owner) override;
    void FormShow() override;
    void OnCommand(int id, int code) override;
    int DefaultButtonId() const override;

private:
    void CreateControls();
    // Places the controls and sets their fonts at the window's DPI, once they are made.
    void LayOut() override;
    void btnOKClick();
    void btnCancelClick();

    Board* board_ = nullptr;  // not owned
    UniqueFont font_;
    UniqueFont boldFont_;
    UniqueFont listFont_;  // the dialog's font, or under Wine one that fits the lists' items
    bool controlsMade_ = false;
};

}  // namespace vellicot
