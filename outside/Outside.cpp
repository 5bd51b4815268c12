// Run folders, window lookup and pointer input for the drivers that work Vellicot from outside.
#include "outside/Outside.h"

namespace outside {
namespace {

struct FindContext {
    DWORD pid;
    const wchar_t* className;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindTopLevelProc(HWND hwnd, LPARAM lp) {
    auto* context = reinterpret_cast<FindContext*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != context->pid || (context->visibleOnly && !IsWindowVisible(hwnd)))
        return TRUE;
    wchar_t name[64];
    GetClassNameW(hwnd, name, 64);
    if (lstrcmpW(name, context->className) != 0)
        return TRUE;
    context->found = hwnd;
    return FALSE;
}

INPUT PointerEvent(POINT at, DWORD buttonFlags) {
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (at.x * 65535 + sw / 2) / (sw - 1);
    in.mi.dy = (at.y * 65535 + sh / 2) / (sh - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttonFlags;
    return in;
}

}  // namespace

HANDLE Launch(const std::wstring& exePath, const std::wstring& arguments, DWORD* processId) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exePath + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    const std::wstring folder = exePath.substr(0, exePath.find_last_of(L"\\/"));
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
        return nullptr;
    }
    CloseHandle(info.hThread);
    if (processId != nullptr)
        *processId = info.dwProcessId;
    return info.hProcess;
}

int CloseAndWait(HANDLE process, HWND mainWindow, DWORD timeoutMs) {
    if (process == nullptr)
        return -1;
    if (mainWindow != nullptr)
        PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
}

void EndAndRelease(HANDLE process) {
    if (process == nullptr)
        return;
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process, 99);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

HWND FindTopLevel(DWORD processId, const wchar_t* className, bool visibleOnly) {
    FindContext context{processId, className, visibleOnly, nullptr};
    EnumWindows(&FindTopLevelProc, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

RECT ClientRectOnScreen(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveTo(POINT at) {
    INPUT in = PointerEvent(at, 0);
    SendInput(1, &in, sizeof(INPUT));
}

void PressAndRelease(POINT at) {
    INPUT in[2] = {PointerEvent(at, MOUSEEVENTF_LEFTDOWN), PointerEvent(at, MOUSEEVENTF_LEFTUP)};
    SendInput(2, in, sizeof(INPUT));
}

void PressAndReleaseRight(POINT at) {
    INPUT in[2] = {PointerEvent(at, MOUSEEVENTF_RIGHTDOWN), PointerEvent(at, MOUSEEVENTF_RIGHTUP)};
    SendInput(2, in, sizeof(INPUT));
}

}  // namespace outside
