// The modal loop and the disabling of the other windows around it; a dialog's controls made at its
// first showing, and its keyboard buttons.
#include "platform/ModalForm.h"

#include <vector>

#include "platform/Handles.h"

namespace vellicot {
namespace {

struct DisableContext {
    HWND self;
    std::vector<HWND>* disabled;
};

BOOL CALLBACK DisableThreadWindow(HWND hwnd, LPARAM lp) {
    auto* context = reinterpret_cast<DisableContext*>(lp);
    if (hwnd != context->self && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        context->disabled->push_back(hwnd);
    }
    return TRUE;
}

// Disables the owner and the thread's other visible, enabled top-level windows; returns them in the
// order they were disabled.
std::vector<HWND> DisableOtherWindows(HWND self, HWND owner) {
    std::vector<HWND> disabled;
    if (owner != nullptr && owner != self && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        disabled.push_back(owner);
    }
    DisableContext context{self, &disabled};
    EnumThreadWindows(GetCurrentThreadId(), &DisableThreadWindow, reinterpret_cast<LPARAM>(&context));
    return disabled;
}

// The first visible, enabled child that takes part in Tab navigation, or null.
HWND FirstTabStop(HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & WS_TABSTOP) != 0 && (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0)
            return child;
    }
    return nullptr;
}

bool CanTakeFocus(HWND parent, HWND control) {
    return control != nullptr && IsWindow(control) && IsChild(parent, control) && IsWindowVisible(control) &&
           IsWindowEnabled(control);
}

}  // namespace

ModalForm::~ModalForm() {
    // The controls go before the fonts they use.
    if (Handle() != nullptr)
        DestroyWindow(Handle());
}

void ModalForm::CreateDialogWindow(DWORD exStyle, const wchar_t* className, const wchar_t* caption,
                                   DWORD style, int clientWidth, int clientHeight, HWND owner) {
    RegisterWindowClass(className, 0, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    controlsWaiting_ = true;
    CreateHandle(exStyle, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, clientWidth, clientHeight,
                 owner, nullptr);
    FollowDpi(clientWidth, clientHeight);
}

void ModalForm::EnsureControls() {
    if (!controlsWaiting_)
        return;
    controlsWaiting_ = false;
    CreateControls();
    LayOutControls();
}

void ModalForm::LayOut() {
    if (!controlsWaiting_)
        LayOutControls();
}

void ModalForm::PlaceControl(int id, const Box& box, HFONT font) const noexcept {
    HWND control = GetDlgItem(Handle(), id);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Place(control, box);
}

void ModalForm::ShowModal(HWND owner) {
    HWND self = Handle();
    if (self == nullptr || shownModal_)
        return;
    HWND previousActive = GetActiveWindow();
    std::vector<HWND> disabled = DisableOtherWindows(self, owner);
    shownModal_ = true;
    closeRequested_ = false;

    // Enabling comes before hiding, so that the system hands activation back to the owner rather than
    // to some other application.
    ScopeExit restore([&] {
        shownModal_ = false;
        for (auto it = disabled.rbegin(); it != disabled.rend(); ++it) {
            if (IsWindow(*it))
                EnableWindow(*it, TRUE);
        }
        HWND hwnd = Handle();
        if (hwnd == nullptr)
            return;
        // The window that had the activation before this one gets it back, when it still can.
        const bool handBack = GetActiveWindow() == hwnd && previousActive != nullptr &&
                              previousActive != hwnd && IsWindow(previousActive) &&
                              IsWindowVisible(previousActive) && IsWindowEnabled(previousActive);
        // What this window changed beneath it (a pick's trees) is painted before it goes, so that
        // its going uncovers the final picture at once.
        if (owner != nullptr)
            RedrawWindow(owner, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (!handBack) {
            ShowWindow(hwnd, SW_HIDE);  // the system hands on the activation, if this window had it
            return;
        }
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        // Wine puts the uncovered picture on the screen as the thread next looks at its events: before
        // the activation, which takes as long again.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
        SetActiveWindow(previousActive);
    });

    EnsureControls();
    PlaceForShow(owner);
    ShowWindow(self, SW_SHOW);
    if (GetActiveWindow() != self)
        SetActiveWindow(self);
    FormShow();
    RunModalLoop();
}

void ModalForm::RunModalLoop() {
    MSG msg;
    while (!closeRequested_ && Handle() != nullptr) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0) {
            // The program is ending: leave the loop and let the outer loop see the quit as well.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        // Tab, the arrow keys, Enter and Esc work in this window as in a dialog.
        if (!IsDialogMessageW(Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void ModalForm::CreateControls() {}

void ModalForm::LayOutControls() {}

void ModalForm::PlaceForShow(HWND) {}

void ModalForm::FormShow() {}

void ModalForm::OnCommand(int, int) {}

bool ModalForm::OnActivate(WPARAM wp) {
    HWND self = Handle();
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(self, focus))
            focusedControl_ = focus;
        return false;
    }
    if (HIWORD(wp) != 0)  // minimised: the system leaves the focus alone
        return false;
    HWND target = CanTakeFocus(self, focusedControl_) ? focusedControl_ : FirstTabStop(self);
    if (target == nullptr)
        return false;
    SetFocus(target);
    return true;
}

LRESULT ModalForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:
            CloseModal();
            return 0;
        case WM_ACTIVATE:
            if (OnActivate(wp))
                return 0;
            break;
        case WM_COMMAND:
            OnCommand(LOWORD(wp) == IDCANCEL && keys_.esc != 0 ? keys_.esc : LOWORD(wp), HIWORD(wp));
            return 0;
        case DM_GETDEFID:
            if (keys_.enter != 0)
                return MAKELRESULT(keys_.enter, DC_HASDEFID);
            break;
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vellicot
