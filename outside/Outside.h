// Working a program from another process, shared by the end-to-end tests and the benchmarks:
// run folders, starting and closing the program, finding a process's windows, and real pointer input.
#pragma once

#include <windows.h>

#include <string>

namespace outside {

// Deletes a folder and everything in it (read-only files included).
void RemoveTree(const std::wstring& folder);

// Starts the program with its own folder as the working folder. The process handle, to be closed by
// the caller, or null when it could not start; processId, when given, receives its id.
HANDLE Launch(const std::wstring& exePath, const std::wstring& arguments = L"", DWORD* processId = nullptr);

// Asks the window to close (WM_CLOSE; none is sent without a window) and waits for the process; its
// exit code, or -1 when it does not end in time.
int CloseAndWait(HANDLE process, HWND mainWindow, DWORD timeoutMs);

// Ends the process if it still runs (exit code 99, as a test or benchmark that gave up on it) and
// closes the handle; does nothing for null.
void EndAndRelease(HANDLE process);

// A top-level window of the process with the class name, or null.
HWND FindTopLevel(DWORD processId, const wchar_t* className, bool visibleOnly);

// A window's client area in screen coordinates.
RECT ClientRectOnScreen(HWND window);

// Real pointer input at a screen point: a move alone, and a press with its release there. Every
// event carries its position: under Wine a late report of an earlier warp can move the pointer
// back, and a bare button event would then land where the pointer used to be.
void MoveTo(POINT at);
void PressAndRelease(POINT at);
void PressAndReleaseRight(POINT at);

}  // namespace outside
