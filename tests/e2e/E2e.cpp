// The driver's plumbing: processes, windows, input, pixels and the clipboard.
#include "tests/e2e/E2e.h"

#include "outside/Outside.h"

#include <shlwapi.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace e2e {

std::string Narrow(const std::wstring& text) {
    if (text.empty())
        return {};
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length,
                        nullptr, nullptr);
    return narrow;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

App::App(const std::wstring& runName, bool freshFolder) {
    folder_ = outside::RunFolder(L"e2e-runs", runName, freshFolder);
    if (!CopyFileW((outside::DriverFolder() + L"\\Vellicot.exe").c_str(), ExePath().c_str(), FALSE))
        std::fprintf(stderr, "the program could not be copied into %s: error %lu\n", Narrow(folder_).c_str(),
                     GetLastError());
}

App::~App() {
    outside::EndAndRelease(process_);
}

void App::WriteSettings(const std::string& bytes) const {
    std::ofstream out(SettingsPath().c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool App::ReadSettings(std::string& bytes) const {
    std::optional<std::string> read = outside::ReadWholeFile(SettingsPath());
    if (!read)
        return false;
    bytes = std::move(*read);
    return true;
}

bool App::SaveUnderWay() const {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((SettingsPath() + L".*.tmp").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return true;
}

HANDLE App::Launch(DWORD* processId) const {
    return outside::Launch(ExePath(), L"", processId);
}

bool App::Start() {
    process_ = Launch(&pid_);
    if (process_ == nullptr) {
        // Said, so that a start that fails at once tells why (seen once in a fresh root, in 12 ms).
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(ExePath().c_str());
        std::fprintf(stderr, "%s did not start: error %lu; the file %s\n", Narrow(ExePath()).c_str(), error,
                     attributes == INVALID_FILE_ATTRIBUTES ? "is missing" : "is there");
        return false;
    }
    bool shown =
        WaitFor([&] { return (main_ = FindTopLevel(L"TForm1")) != nullptr; }, std::chrono::seconds(20));
    if (!shown)
        return false;
    // As a person would: bring the pointer over the window and let it come to the front before
    // the first click, so no click of a test goes to a window that is still being activated.
    RECT client = ClientRectOnScreen(main_);
    MoveTo(client.left + 150, client.top + 8);
    SetForegroundWindow(main_);
    WaitFor([&] { return GetForegroundWindow() == main_; }, std::chrono::seconds(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the first paint
    return true;
}

int App::StartSecondCopy(DWORD timeoutMs) const {
    HANDLE second = Launch(nullptr);
    if (second == nullptr)
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(second, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(second, &code);
    } else {
        TerminateProcess(second, 98);
    }
    CloseHandle(second);
    return static_cast<int>(code);
}

int App::Close(DWORD timeoutMs) {
    return outside::CloseAndWait(process_, main_, timeoutMs);
}

bool App::Running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

HWND App::FindTopLevel(const wchar_t* className, bool visibleOnly) const {
    return outside::FindTopLevel(pid_, className, visibleOnly);
}

FileReader::FileReader(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

void FileReader::Release() {
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

RECT WorkArea() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

POINT CentredPosition(int outerWidth, int outerHeight) {
    RECT area = WorkArea();
    // floor(area / 2 - window / 2) on each axis, from the work area's origin
    auto centre = [](int extent, int size) {
        double v = extent / 2.0 - size / 2.0;
        int whole = static_cast<int>(v);
        return whole > v ? whole - 1 : whole;
    };
    return {area.left + centre(area.right - area.left, outerWidth),
            area.top + centre(area.bottom - area.top, outerHeight)};
}

std::wstring DismissMessageBox(const App& app, std::chrono::milliseconds timeout) {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = app.FindTopLevel(L"#32770")) != nullptr; }, timeout))
        return {};
    std::wstring text;
    // The message is the box's static text control (id 0xFFFF).
    if (HWND message = GetDlgItem(box, 0xFFFF))
        text = Text(message);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); }, std::chrono::seconds(3));
    return text;
}

ForeignWindow::ForeignWindow(int left, int top, int width, int height) {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, ready, left, top, width, height] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = L"E2eForeignWindow";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"another application", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                left, top, width, height, nullptr, nullptr, wc.hInstance, nullptr);
        threadId_ = GetCurrentThreadId();
        SetEvent(ready);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_APP) {
                DestroyWindow(hwnd_);
                break;
            }
            if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
                ++keyDowns_[msg.wParam & 0xFF];
                char seen[64];
                snprintf(seen, sizeof seen, "%s%s%s%#x ", GetKeyState(VK_CONTROL) < 0 ? "Ctrl+" : "",
                         GetKeyState(VK_SHIFT) < 0 ? "Shift+" : "", GetKeyState(VK_MENU) < 0 ? "Alt+" : "",
                         static_cast<unsigned>(msg.wParam));
                std::lock_guard<std::mutex> lock(keysSeenLock_);
                keysSeen_ += seen;
            }
            DispatchMessageW(&msg);
        }
    });
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
}

std::string ForeignWindow::KeysSeen() const {
    std::lock_guard<std::mutex> lock(keysSeenLock_);
    return keysSeen_;
}

ForeignWindow::~ForeignWindow() {
    PostThreadMessageW(threadId_, WM_APP, 0, 0);
    thread_.join();
}

bool ForeignWindow::TakeForeground() const {
    return WaitFor([&] {
        if (GetForegroundWindow() == hwnd_)
            return true;
        SetForegroundWindow(hwnd_);
        return false;
    });
}

DesktopDpi::DesktopDpi(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                    nullptr, &key_, nullptr);
    DWORD size = sizeof old_;
    had_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_), &size) ==
           ERROR_SUCCESS;
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
}

DesktopDpi::~DesktopDpi() {
    if (had_) {
        RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof old_);
    } else {
        RegDeleteValueW(key_, L"LogPixels");
    }
    RegCloseKey(key_);
}

HWND Child(HWND parent, int id) {
    return GetDlgItem(parent, id);
}

std::wstring Text(HWND window) {
    // WM_GETTEXT, not GetWindowTextW: across processes the latter reads only a control's creation
    // caption, not what an edit box holds now.
    auto length = static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

RECT ClientRectOnScreen(HWND window) {
    return outside::ClientRectOnScreen(window);
}

SIZE ClientSize(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void MoveTo(int x, int y) {
    outside::MoveTo({x, y});
}

void ClickAt(int x, int y) {
    outside::MoveTo({x, y});
    // A person's pointer rests a moment before the press; the program reacts to the arrival first.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    outside::PressAndRelease({x, y});
}

void Drag(POINT from, POINT to, int steps, std::chrono::milliseconds pause) {
    // The pointer rests a moment on the spot before the press, as a hand's does.
    outside::MoveTo(from);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    outside::PressAt(from);
    std::this_thread::sleep_for(pause);
    for (int step = 1; step <= steps; ++step) {
        outside::MoveTo({from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps});
        std::this_thread::sleep_for(pause);
    }
    outside::ReleaseAt(to);
}

void Click(HWND window) {
    RECT rect = ClientRectOnScreen(window);
    ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void RightClick(HWND window) {
    RECT rect = ClientRectOnScreen(window);
    const POINT at{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    outside::MoveTo(at);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    outside::PressAndReleaseRight(at);
}

HWND PopupMenuOf(const App& app) {
    return app.FindTopLevel(L"#32768");
}

namespace {

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

void HoldKeys(std::initializer_list<WORD> virtualKeys) {
    std::vector<INPUT> in;
    for (WORD key : virtualKeys)
        in.push_back(KeyInput(key, false));
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void ReleaseKeys(std::initializer_list<WORD> virtualKeys) {
    std::vector<INPUT> in;
    for (auto it = virtualKeys.end(); it != virtualKeys.begin();)
        in.push_back(KeyInput(*--it, true));
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void PressKeys(std::initializer_list<WORD> virtualKeys) {
    HoldKeys(virtualKeys);
    ReleaseKeys(virtualKeys);
}

void PressKey(WORD virtualKey) {
    PressKeys({virtualKey});
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

void ClearClipboard() {
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt)
        Sleep(20);
    EmptyClipboard();
    CloseClipboard();
}

std::wstring ClipboardText() {
    std::wstring text;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt)
        Sleep(20);
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace e2e
