// Working the real Vellicot.exe from outside, as a person would: a fresh folder for every run,
// real mouse input, window texts, screen pixels, the clipboard, the settings file and exit codes.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <chrono>
#include <initializer_list>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace e2e {

// UTF-16 to UTF-8, for gtest messages.
std::string Narrow(const std::wstring& text);

// Polls a condition every 10 ms until it holds or the time runs out; the time is generous, since
// a loaded machine can take seconds over what a quiet one does in milliseconds.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(15));

// One run of Vellicot.exe copied into its own folder below the driver's folder.
class App {
public:
    // A folder for the run with its own copy of the exe; emptied first when freshFolder is true.
    explicit App(const std::wstring& runName, bool freshFolder = true);
    App(const App&) = delete;
    App& operator=(const App&) = delete;
    ~App();

    const std::wstring& Folder() const { return folder_; }
    std::wstring ExePath() const { return folder_ + L"\\Vellicot.exe"; }
    std::wstring SettingsPath() const { return ExePath() + L"_ユーザー設定.ini"; }

    void WriteSettings(const std::string& bytes) const;
    // Whether a save of the settings file is under way: its new contents wait in a temporary file
    // beside it (the file's name followed by ".<process>.<n>.tmp") until they take its place.
    bool SaveUnderWay() const;
    // The settings file's bytes, or nothing when it does not exist.
    bool ReadSettings(std::string& bytes) const;

    // Starts the program and waits until its main window is visible; false when it never shows.
    bool Start();
    // Starts another copy from the same folder; returns its exit code (or -1 when it hangs).
    int StartSecondCopy(DWORD timeoutMs = 15000) const;
    HWND MainWindow() const { return main_; }
    DWORD ProcessId() const { return pid_; }
    // Asks the main window to close and waits for the process; returns its exit code, or -1.
    int Close(DWORD timeoutMs = 15000);
    bool Running() const;

    // A top-level window of this process with the class name, or null.
    HWND FindTopLevel(const wchar_t* className, bool visibleOnly = true) const;

private:
    // Starts the folder's Vellicot.exe; the process handle, or null.
    HANDLE Launch(DWORD* processId) const;

    std::wstring folder_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND main_ = nullptr;
};

// Another program reading a file, as a virus scanner, the search indexer or a cloud-sync client
// does right after the file changes: open with reading and writing shared, deleting and replacing
// not, until Release.
class FileReader {
public:
    explicit FileReader(const std::wstring& path);
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    ~FileReader() { Release(); }

    bool Holding() const { return file_ != INVALID_HANDLE_VALUE; }
    void Release();

private:
    HANDLE file_;
};

// The work area of the desktop the program runs on.
RECT WorkArea();
// Where a window of that outer size opens by default: centred on the work area.
POINT CentredPosition(int outerWidth, int outerHeight);

// Another application's window: a plain top-level window of the driver, on a thread of its own
// that keeps its messages flowing, so the program can take the foreground from it.
class ForeignWindow {
public:
    ForeignWindow(int left, int top, int width, int height);
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;
    ~ForeignWindow();

    HWND Handle() const { return hwnd_; }
    // Brings it to the foreground and waits until it is there.
    bool TakeForeground() const;
    // How many times the window has been sent the key down (with Alt or without).
    int KeyDowns(WORD virtualKey) const { return keyDowns_[virtualKey & 0xFF]; }
    // Takes back one key down, of a press that the platform broke on its way.
    void ForgetKeyDown(WORD virtualKey) { --keyDowns_[virtualKey & 0xFF]; }
    // Every key down the window was sent, with the modifiers its thread saw held at that moment
    // ("Ctrl+Shift+0x78 F9"), for a failure's message.
    std::string KeysSeen() const;

private:
    std::thread thread_;
    DWORD threadId_ = 0;
    HWND hwnd_ = nullptr;
    std::array<std::atomic<int>, 256> keyDowns_{};
    mutable std::mutex keysSeenLock_;
    std::string keysSeen_;
};

// Sets the desktop's DPI (LogPixels) for the programs started from now on, and puts the old value
// back at the end.
class DesktopDpi {
public:
    explicit DesktopDpi(DWORD dpi);
    DesktopDpi(const DesktopDpi&) = delete;
    DesktopDpi& operator=(const DesktopDpi&) = delete;
    ~DesktopDpi();

private:
    HKEY key_ = nullptr;
    DWORD old_ = 96;
    bool had_ = false;
};

// Child of parent with the control id, or null.
HWND Child(HWND parent, int id);
std::wstring Text(HWND window);
RECT ClientRectOnScreen(HWND window);
SIZE ClientSize(HWND window);

// Dismisses the process's message box (pressing its default button) and returns its text; empty
// when none appears in time.
std::wstring DismissMessageBox(const App& app, std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Real input: moves the pointer and clicks the left button at a screen point.
void ClickAt(int x, int y);
void MoveTo(int x, int y);
// Real input: a person's drag with the left button from one point to another, in steps with a
// pause after each.
void Drag(POINT from, POINT to, int steps, std::chrono::milliseconds pause);
// Clicks the centre of a window's client area.
void Click(HWND window);
// Real input: a right click at the centre of a window's client area.
void RightClick(HWND window);
// The visible pop-up menu of the process (the system's menu window), or null.
HWND PopupMenuOf(const App& app);

// Real input: presses and releases a key.
void PressKey(WORD virtualKey);
// Real input: presses the keys in their order and releases them in the reverse order.
void PressKeys(std::initializer_list<WORD> virtualKeys);
// The two halves of PressKeys, for a test that looks at the keys while they are held.
void HoldKeys(std::initializer_list<WORD> virtualKeys);
void ReleaseKeys(std::initializer_list<WORD> virtualKeys);
// The window that holds the keyboard focus in the thread that owns the window given.
HWND FocusOf(HWND window);

// The screen's colour at a point as 0x00BBGGRR.
COLORREF ScreenPixel(int x, int y);
// Empties the clipboard, so a test sees only what the program puts there.
void ClearClipboard();
// The clipboard's Unicode text, or empty.
std::wstring ClipboardText();

}  // namespace e2e
