// The main window's own menu, ホットキーの設定... and タイムの記録...: a right click anywhere on the
// window (the name box keeps its edit menu), Shift+F10 or the Menu key open it, and its entries end
// the system menu as well, so every desktop reaches them from the client area (a window manager may
// keep the title bar, its icon and Alt+Space for its own menu).
#pragma once

#include "platform/Win32.h"

namespace vellicot::window_menu {

// Adds the entries, after a separator, to the end of the window's system menu.
void AppendToSystemMenu(HWND window);

// Whether a command is one of the menu's entries.
bool IsEntry(unsigned command);

// Shows the menu at a screen point until the player chooses or leaves it; the chosen entry's
// command, or 0.
unsigned Track(HWND owner, POINT at);

// Whether a message is Shift+F10 or the Menu key, pressed or released.
bool IsMenuKey(const MSG& msg);
// Of those, the press that opens the menu.
bool OpensMenu(const MSG& msg);

// Where the menu opens from the keyboard: below the window's control that has the focus, or at the
// client area's corner.
POINT KeyboardPlace(HWND window);

}  // namespace vellicot::window_menu
