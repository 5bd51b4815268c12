// The main window's own menu: its entries, its showing and the keys that open it.
#include "windows/WindowMenu.h"

#include "platform/Handles.h"
#include "windows/ControlIds.h"

namespace vellicot::window_menu {
namespace {

// Each entry opens one of the tool's windows; a command is also a system-menu command, so it is a
// multiple of 16 below 0xF000. New windows add their entries here and their handlers in the main
// window's Dispatch.
struct Entry {
    const wchar_t* text;
    unsigned command;
};
constexpr Entry kEntries[] = {
    {L"ホットキーの設定...", ids::kSysCommandHotkeys},
    {L"タイムの記録...", ids::kSysCommandRecords},
};

}  // namespace

void AppendToSystemMenu(HWND window) {
    HMENU systemMenu = GetSystemMenu(window, FALSE);
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    for (const Entry& entry : kEntries)
        AppendMenuW(systemMenu, MF_STRING, entry.command, entry.text);
}

bool IsEntry(unsigned command) {
    for (const Entry& entry : kEntries) {
        if (entry.command == command)
            return true;
    }
    return false;
}

unsigned Track(HWND owner, POINT at) {
    UniqueMenu menu(CreatePopupMenu());
    for (const Entry& entry : kEntries)
        AppendMenuW(menu.get(), MF_STRING, entry.command, entry.text);
    return static_cast<unsigned>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y,
                       0, owner, nullptr));
}

bool IsMenuKey(const MSG& msg) {
    if (msg.wParam == VK_APPS)
        return msg.message == WM_KEYDOWN || msg.message == WM_KEYUP;
    return msg.wParam == VK_F10 && (msg.message == WM_SYSKEYDOWN || msg.message == WM_KEYDOWN) &&
           GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

bool OpensMenu(const MSG& msg) {
    // Whether and when the system's default handling turns these keys into WM_CONTEXTMENU differs
    // between Windows and Wine; taking both the press and the release, and opening at the press,
    // opens the menu exactly once on either.
    return IsMenuKey(msg) && msg.message != WM_KEYUP;
}

POINT KeyboardPlace(HWND window) {
    POINT at{0, 0};
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window, focus)) {
        RECT bounds{};
        GetWindowRect(focus, &bounds);
        at = {bounds.left, bounds.bottom};
    } else {
        ClientToScreen(window, &at);
    }
    return at;
}

}  // namespace vellicot::window_menu
