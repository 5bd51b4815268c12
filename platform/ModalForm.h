// A window shown only modally: while it is up the rest of the program is disabled, and between
// uses it is hidden, never destroyed. A dialog among them makes its controls at its first showing.
#pragma once

#include <utility>
#include <vector>

#include "platform/Handles.h"
#include "platform/Window.h"

namespace vellicot {

class ModalForm : public Window {
public:
    // The buttons the keyboard presses, by control id (0 for none): Enter the default button, Esc the
    // one that cancels.
    struct KeyButtons {
        int enter = 0;
        int esc = 0;
    };

    ModalForm() = default;
    explicit ModalForm(KeyButtons keys) noexcept : keys_(keys) {}
    // Destroys the window while the fonts its controls use are still there.
    ~ModalForm() override;

    // Disables owner and every other visible, enabled top-level window of this thread, makes a
    // dialog's controls if they wait for this first showing, shows and activates this window, runs
    // FormShow and handles messages until CloseModal is called. Then it enables again exactly what it
    // disabled, hides this window (activation goes back to the owner) and returns. A WM_QUIT arriving
    // meanwhile ends the loop and is posted again for the outer loop. Does nothing while the window is
    // already shown modally.
    void ShowModal(HWND owner);

    // Ends the modal loop once the message being handled returns.
    void CloseModal() noexcept { closeRequested_ = true; }

    bool IsShownModal() const noexcept { return shownModal_; }

    // Makes a dialog's controls now if they still wait for the first showing.
    void EnsureControls();

protected:
    // Creates a dialog hidden, owned by owner, on the face colour of buttons, with its client size
    // written at 96 DPI and following the DPI of its display. Its controls wait for the first showing
    // (or EnsureControls): start-up need not make them.
    void CreateDialogWindow(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style,
                            int clientWidth, int clientHeight, HWND owner);
    // Makes a dialog's controls, once; LayOutControls follows.
    virtual void CreateControls();
    // Places a dialog's controls and makes their fonts at the window's DPI: once they are made, and at
    // every change of the DPI after.
    virtual void LayOutControls();
    // The window's layout: LayOutControls, once a dialog's controls are made.
    void LayOut() override;
    // Gives a control its font and its box, written at 96 DPI, at the window's DPI.
    void PlaceControl(int id, const Box& box, HFONT font) const noexcept;
    // Keeps the fonts a layout has just given the controls and lets the previous layout's go: called
    // once the controls hold the new ones. They outlive the window.
    template <class... Fonts>
    void KeepFonts(Fonts... fonts) {
        fonts_.clear();
        (fonts_.push_back(std::move(fonts)), ...);
    }

    // Places the window before it becomes visible; owner is the one given to ShowModal.
    virtual void PlaceForShow(HWND owner);
    // Runs on every showing, right after the window became visible.
    virtual void FormShow();
    // A control's notification (WM_COMMAND). Esc, which the dialog manager sends as IDCANCEL, arrives
    // as a click of the button that cancels, when there is one.
    virtual void OnCommand(int id, int code);

    // WM_CLOSE (the title-bar close, Alt+F4) ends the modal loop instead of destroying the window;
    // activation gives the keyboard focus back to the control that last had it; WM_COMMAND goes to
    // OnCommand, and the dialog manager learns the default button from the KeyButtons.
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void RunModalLoop();
    bool OnActivate(WPARAM wp);

    KeyButtons keys_;
    bool shownModal_ = false;
    bool closeRequested_ = false;
    bool controlsWaiting_ = false;
    HWND focusedControl_ = nullptr;  // not owned: the child that had the focus when we lost activation
    std::vector<UniqueFont> fonts_;
};

}  // namespace vellicot
