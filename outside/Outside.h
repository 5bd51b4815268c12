// Working a program from another process, shared by the end-to-end tests and the benchmarks:
// run folders, finding a process's windows, and real pointer input.
#pragma once

#include <windows.h>

#include <string>

namespace outside {

// Deletes a folder and everything in it (read-only files included).
void RemoveTree(const std::wstring& folder);

// A top-level window of the process with the class name, or null.
HWND FindTopLevel(DWORD processId, const wchar_t* className, bool visibleOnly);

// A window's client area in screen coordinates.
RECT ClientRectOnScreen(HWND window);

// Real pointer input at a screen point: a move alone, and a press with its release there. Every
// event carries its position: under Wine a late report of an earlier warp can move the pointer
// back, and a bare button event would then land where the pointer used to be.
void MoveTo(POINT at);
void PressAndRelease(POINT at);

}  // namespace outside
