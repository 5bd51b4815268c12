// A window shown only modally: while it is up the rest of the program is disabled, and between
// uses it is hidden, never destroyed.
#pragma once

#include "platform/Window.h"

namespace vellicot {

class ModalForm : public Window {
public:
    // Disables owner and every other visible, enabled top-level window of this thread, shows and
    // activates this window, runs FormShow and handles messages until CloseModal is called. Then it
    // enables again exactly what it disabled, hides this window (activation goes back to the owner)
    // and returns. A WM_QUIT arriving meanwhile ends the loop and is posted again for the outer loop.
    // Does nothing while the window is already shown modally.
    void ShowModal(HWND owner);

    // Ends the modal loop once the message being handled returns.
    void CloseModal() noexcept { closeRequested_ = true; }

    bool IsShownModal() const noexcept { return shownModal_; }

protected:
    // Places the window before it becomes visible; owner is the one given to ShowModal.
    virtual void PlaceForShow(HWND owner);
    // Runs on every showing, right after the window became visible.
    virtual void FormShow();
    // A control's notification (WM_COMMAND); Esc arrives as IDCANCEL from the dialog manager.
    virtual void OnCommand(int id, int code);
    // The button Enter presses, or 0 for none.
    virtual int DefaultButtonId() const;

    // WM_CLOSE (the title-bar close, Alt+F4) ends the modal loop instead of destroying the window;
    // activation gives the keyboard focus back to the control that last had it; WM_COMMAND and the
    // dialog manager's question for the default button go to OnCommand and DefaultButtonId.
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void RunModalLoop();
    bool OnActivate(WPARAM wp);

    bool shownModal_ = false;
    bool closeRequested_ = false;
    HWND focusedControl_ = nullptr;  // not owned: the child that had the focus when we lost activation
};

}  // namespace vellicot
