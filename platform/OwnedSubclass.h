// A window subclass that owns some state of its own for as long as the window lives.
#pragma once

#include "platform/Win32.h"

#include <commctrl.h>

#include <memory>

namespace vellicot {

// Subclasses any window (our own or a system control) with a State that the subclass owns: the state
// is found again through the window property named Property (the import library lacks
// GetWindowSubclass), and is freed, with the property and the subclass, at the window's last message
// (WM_NCDESTROY) or when Remove takes the subclass off earlier. OnMessage sees every other message
// with the state and ends as a subclass procedure does, with DefSubclassProc unless it answers the
// message itself. Call on the window's own thread.
template <class State, const wchar_t* Property, LRESULT (*OnMessage)(HWND, UINT, WPARAM, LPARAM, State&)>
class OwnedSubclass {
public:
    // The window's state, or null when the window has none.
    static State* Find(HWND window) noexcept { return static_cast<State*>(GetPropW(window, Property)); }

    // Subclasses the window with the state. False, and the state freed, when that fails.
    static bool Attach(HWND window, std::unique_ptr<State> state) noexcept {
        if (!SetPropW(window, Property, state.get()))
            return false;
        if (!SetWindowSubclass(window, &Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(state.get()))) {
            RemovePropW(window, Property);
            return false;
        }
        state.release();  // the subclass owns it now
        return true;
    }

    // Takes the subclass off and frees the state; does nothing when the window has none.
    static void Remove(HWND window) noexcept {
        if (State* state = Find(window))
            Release(window, state);
    }

private:
    // Each State's procedure is a function of its own, so one id serves them all.
    static constexpr UINT_PTR kSubclassId = 1;

    static void Release(HWND window, State* state) noexcept {
        std::unique_ptr<State> owned(state);
        RemovePropW(window, Property);
        RemoveWindowSubclass(window, &Proc, kSubclassId);
    }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
        if (msg == WM_NCDESTROY) {
            Release(hwnd, reinterpret_cast<State*>(data));
            return DefSubclassProc(hwnd, msg, wp, lp);
        }
        return OnMessage(hwnd, msg, wp, lp, *reinterpret_cast<State*>(data));
    }
};

}  // namespace vellicot
