// Working Vellicot's windows from a benchmark driver: its tree buttons, the picker and a pick.
#pragma once

#include <windows.h>

#include "bench/BenchDriver.h"

namespace bench {

HWND TreeButton(HWND mainWindow, int tree);
HWND EntryButton(HWND picker, int entry);

// Moves the pointer to a point and lets it rest there, as a person's does before a press; the
// program answers the arrival first.
void RestAt(POINT at, DWORD restMs = 150);

// Clicks a tree button and waits until the picker is shown and its picture has settled; null when
// it never shows.
HWND OpenPicker(const Process& app, HWND mainWindow, int tree);

// Gives the entry to the tree through the picker and waits until the picker has gone and the main
// window's picture has settled; false when the picker never showed or never went.
bool Pick(const Process& app, HWND mainWindow, int tree, int entry);

// Waits until the window's client area has not changed on screen for quietMs.
bool WaitUntilSettled(HWND window, double quietMs = 300, double timeoutMs = 10000);

}  // namespace bench
