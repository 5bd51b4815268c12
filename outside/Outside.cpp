// Run folders and files, window lookup and pointer input for the drivers that work Vellicot from
// outside.
#include "outside/Outside.h"

#include "platform/Paths.h"

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

std::wstring DriverFolder() {
    const std::wstring path = vellicot::ExecutablePath();
    return path.substr(0, path.find_last_of(L'\\'));
}

void RemoveTree(const std::wstring& folder) {
    using vellicot::ExtendedLengthPath;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((ExtendedLengthPath(folder) + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(ExtendedLengthPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(ExtendedLengthPath(path).c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(ExtendedLengthPath(folder).c_str());
}

void FreshFolder(const std::wstring& folder) {
    RemoveTree(folder);
    CreateDirectoryW(vellicot::ExtendedLengthPath(folder).c_str(), nullptr);
}

std::wstring RunFolder(const std::wstring& runs, const std::wstring& runName, bool fresh) {
    const std::wstring parent = DriverFolder() + L"\\" + runs;
    CreateDirectoryW(parent.c_str(), nullptr);
    const std::wstring folder = parent + L"\\" + runName;
    if (fresh)
        FreshFolder(folder);
    else
        CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(vellicot::ExtendedLengthPath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
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

void PressAt(POINT at) {
    INPUT in = PointerEvent(at, MOUSEEVENTF_LEFTDOWN);
    SendInput(1, &in, sizeof(INPUT));
}

void ReleaseAt(POINT at) {
    INPUT in = PointerEvent(at, MOUSEEVENTF_LEFTUP);
    SendInput(1, &in, sizeof(INPUT));
}

void PressAndReleaseRight(POINT at) {
    INPUT in[2] = {PointerEvent(at, MOUSEEVENTF_RIGHTDOWN), PointerEvent(at, MOUSEEVENTF_RIGHTUP)};
    SendInput(2, in, sizeof(INPUT));
}

}  // namespace outside
