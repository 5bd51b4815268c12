// Working a program from another process, shared by the end-to-end tests, the benchmarks and the
// Windows tests' own folders: run folders and files, starting and closing the program, finding a
// process's windows, and real pointer input.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace outside {

// The folder of the running driver, however long its path.
std::wstring DriverFolder();

// Deletes a folder and everything in it (read-only files included), also past MAX_PATH.
void RemoveTree(const std::wstring& folder);
// Makes the folder, emptied first when it is there already; its parent must exist.
void FreshFolder(const std::wstring& folder);
// The folder <driver's folder>\<runs>\<runName> for one run, made when missing (with runs) and
// emptied first when fresh is true.
std::wstring RunFolder(const std::wstring& runs, const std::wstring& runName, bool fresh = true);

// A whole file's bytes, or nothing when it cannot be opened; read until its end, since files under
// /proc report no size. Others may go on reading and writing it meanwhile. A full path, of any length.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

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
// The left button alone, pressed or released at a screen point (a drag's ends).
void PressAt(POINT at);
void ReleaseAt(POINT at);
void PressAndReleaseRight(POINT at);

}  // namespace outside
