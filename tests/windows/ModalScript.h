// Drives a modal loop from inside: ShowModal blocks, so the steps run from a thread timer that the
// nested loop dispatches, one step per tick. A tick comes only when no posted message is waiting,
// so what one step posts has been handled when the next step runs. Beside it, what the tests of
// modal windows share: an owner window, and the message boxes a step answers.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cwchar>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ModalForm.h"
#include "platform/Win32.h"

namespace vellicot::testing_support {

class ModalScript {
public:
    // giveUp ends the loop when the steps are done and it is still running after about three seconds.
    ModalScript(std::vector<std::function<void()>> steps, std::function<void()> giveUp)
        : steps_(std::move(steps)), giveUp_(std::move(giveUp)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 10, &ModalScript::Tick);
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;
    ~ModalScript() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }

    bool Finished() const noexcept { return next_ >= steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        ModalScript* self = current_;
        if (self == nullptr || id != self->timer_)
            return;
        if (self->next_ < self->steps_.size()) {
            // The step may run a nested loop of its own; it is taken off the list first.
            std::function<void()> step = std::move(self->steps_[self->next_++]);
            step();
            return;
        }
        if (++self->idleTicks_ == 300) {
            ADD_FAILURE() << "the modal loop was still running after its last step";
            self->giveUp_();
        }
    }

    inline static ModalScript* current_ = nullptr;
    std::vector<std::function<void()>> steps_;
    std::function<void()> giveUp_;
    std::size_t next_ = 0;
    int idleTicks_ = 0;
    UINT_PTR timer_ = 0;
};

// Shows form modally over owner and runs the steps in it; the last step is to end the loop.
inline void ShowModalWith(ModalForm& form, HWND owner, std::vector<std::function<void()>> steps) {
    ModalScript script(std::move(steps), [&form] { form.CloseModal(); });
    form.ShowModal(owner);
    EXPECT_TRUE(script.Finished());
}

// A plain visible window at (x, y) to own the modal window under test, about the main window's size.
class OwnerWindow : public Window {
public:
    void Create(int x, int y) {
        RegisterWindowClass(L"ModalScriptOwner");
        CreateHandle(0, L"ModalScriptOwner", L"owner", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                     x, y, 310, 377, nullptr, nullptr);
    }
};

// A visible top-level window of this thread whose class is className, or null.
inline HWND VisibleThreadWindow(const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        HWND found;
    } search{className, nullptr};
    auto match = [](HWND window, LPARAM lp) -> BOOL {
        auto* search = reinterpret_cast<Search*>(lp);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (std::wcscmp(name, search->className) != 0 || !IsWindowVisible(window))
            return TRUE;
        search->found = window;
        return FALSE;
    };
    EnumThreadWindows(GetCurrentThreadId(), match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The visible message box of this thread, or null.
inline HWND ThreadMessageBox() {
    return VisibleThreadWindow(L"#32770");
}

// A step that reads the message in the message box in front and answers it.
inline std::function<void()> AnswerBox(std::wstring& text, int answer = IDOK) {
    return [&text, answer] {
        HWND box = ThreadMessageBox();
        ASSERT_NE(box, nullptr) << "no message box";
        wchar_t message[512] = {};
        GetWindowTextW(GetDlgItem(box, 0xFFFF), message, 512);
        text = message;
        PostMessageW(box, WM_COMMAND, answer, 0);
    };
}

// Handles the messages waiting for this thread, and those that arrive within the next waitMs.
inline void PumpMessages(DWORD waitMs = 0) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (waitMs != 0)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < waitMs);
}

// Pumps messages until the condition holds or about three seconds have passed; returns the condition.
template <class Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs = 3000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

}  // namespace vellicot::testing_support
