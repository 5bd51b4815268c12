// Drives a modal loop from inside: ShowModal blocks, so the steps run from a thread timer that the
// nested loop dispatches, one step per tick. A tick comes only when no posted message is waiting,
// so what one step posts has been handled when the next step runs.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

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
