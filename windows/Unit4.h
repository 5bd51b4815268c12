// The hot-key dialog: one global key for each of the stopwatch's actions, chosen with the standard
// hot-key control, so the player can start, stop and copy from inside the game.
#pragma once

#include <array>
#include <functional>
#include <optional>

#include "core/Hotkey.h"
#include "platform/ModalForm.h"
#include "windows/ControlIds.h"

namespace vellicot {

class TForm4 : public ModalForm {
public:
    static constexpr wchar_t kCaption[] = L"ホットキーの設定";
    static constexpr int kClientWidth = 458;
    static constexpr int kClientHeight = 163;

    // Control ids; the end-to-end tests find them in ControlIds.h.
    static constexpr int kIdHint = ids::kHotkeyHint;
    static constexpr int kIdLabel = ids::kHotkeyLabel;
    static constexpr int kIdHotkey = ids::kHotkeyControl;
    static constexpr int kIdClear = ids::kHotkeyClear;
    static constexpr int kIdBtnCancel = ids::kHotkeyCancel;
    static constexpr int kIdBtnOK = ids::kHotkeyOK;

    // Takes the keys the dialog's OK chose and holds them; on a refusal holds the old ones again and
    // answers the action whose key another program holds.
    using Apply = std::function<std::optional<HotkeyAction>(const HotkeySet&)>;

    TForm4() : ModalForm({.enter = kIdBtnOK, .esc = kIdBtnCancel}) {}

    // Creates the dialog hidden, owned by owner; its controls are made at its first showing.
    void Create(HWND owner);
    // Shows keys and lets the player change them. OK hands the chosen keys to apply, and closes
    // only when they are held: then keys becomes the chosen ones and the answer is true. Cancel (or
    // the title-bar close) changes nothing and answers false.
    bool Choose(HWND owner, HotkeySet& keys, Apply apply);

protected:
    void PlaceForShow(HWND owner) override;
    void FormShow() override;
    void OnCommand(int id, int code) override;

private:
    void CreateControls() override;
    // Places the controls and sets their font at the window's DPI.
    void LayOutControls() override;
    void btnClearClick(std::size_t row);
    void btnOKClick();
    // The keys the rows show now.
    HotkeySet ChosenKeys() const;
    // Tells the player why OK did not close, and puts the focus on the row to change.
    void Refuse(std::size_t row, const std::wstring& message);

    HotkeySet keys_;
    Apply apply_;
    bool accepted_ = false;
};

}  // namespace vellicot
