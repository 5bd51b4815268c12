// The guarded start-up: an error that escapes the creation of the windows is shown in the standard
// error box and ends the run with a non-zero exit code; a run without one ends with its own code.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/ErrorBox.h"
#include "platform/Win32.h"
#include "shell/Startup.h"
#include "widgets/GlassButton.h"
#include "windows/Unit3.h"

namespace vellicot {
namespace {

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// Watches, from a thread of its own, for a message box of the thread that made it, notes its
// caption and text, and presses its OK button, as a player would.
class MessageBoxWatcher {
public:
    MessageBoxWatcher() : watched_(GetCurrentThreadId()), thread_([this] { Watch(); }) {}
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    ~MessageBoxWatcher() { Finish(); }

    // Stops watching; afterwards the notes can be read.
    void Finish() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    bool Seen() const { return seen_; }
    const std::wstring& Caption() const { return caption_; }
    const std::wstring& Text() const { return text_; }

private:
    static BOOL CALLBACK FindBox(HWND window, LPARAM lp) {
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(lp) = window;
            return FALSE;
        }
        return TRUE;
    }

    void Watch() {
        const DWORD deadline = GetTickCount() + 10'000;
        while (!stop_ && GetTickCount() < deadline) {
            HWND box = nullptr;
            EnumThreadWindows(watched_, &FindBox, reinterpret_cast<LPARAM>(&box));
            if (box != nullptr) {
                caption_ = TextOf(box);
                text_ = TextOf(GetDlgItem(box, 0xFFFF));  // the message's static text
                seen_ = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(10);
        }
    }

    const DWORD watched_;
    std::atomic<bool> stop_{false};
    bool seen_ = false;
    std::wstring caption_;
    std::wstring text_;
    std::thread thread_;
};

TEST(StartupTest, RunWithoutErrorsEndsWithItsOwnExitCodeAndNoBox) {
    MessageBoxWatcher watcher;
    EXPECT_EQ(RunGuarded([] { return 7; }), 7);
    watcher.Finish();
    EXPECT_FALSE(watcher.Seen());
}

TEST(StartupTest, EscapingErrorsAreShownInTheErrorBoxAndEndTheRunWithAFailure) {
    struct Case {
        const char* what;
        std::function<int()> body;
        std::wstring message;
    };
    const Case cases[] = {
        {"the program's error", []() -> int { throw AppError(L"ファイル x は開けません。 y "); },
         L"ファイル x は開けません。 y "},
        {"a library error", []() -> int { throw std::runtime_error("no window"); }, L"no window"},
        {"anything else", []() -> int { throw 42; }, L"予期しないエラーが発生しました。"},
    };
    for (const Case& c : cases) {
        MessageBoxWatcher watcher;
        EXPECT_EQ(RunGuarded(c.body), kStartupFailedExitCode) << c.what;
        watcher.Finish();
        ASSERT_TRUE(watcher.Seen()) << c.what;
        EXPECT_EQ(watcher.Caption(), L"Vellicot") << c.what;
        EXPECT_EQ(watcher.Text(), c.message) << c.what;
    }
    EXPECT_NE(kStartupFailedExitCode, 0);
}

TEST(StartupTest, WindowOrControlThatCannotBeCreatedIsReported) {
    // No such parent or owner window: neither can be created.
    const HWND missing = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFFFFF0));
    struct Case {
        const char* what;
        std::function<int()> body;
    };
    const Case cases[] = {
        {"a glass button",
         [missing] {
             TGlassButton button;
             button.Create(missing, 1, 0, 0, 40, 40);
             return 0;
         }},
        {"the settings dialog",
         [missing] {
             Board board;
             TForm3 dialog;
             dialog.Create(missing, board);
             return 0;
         }},
    };
    for (const Case& c : cases) {
        MessageBoxWatcher watcher;
        const int code = RunGuarded(c.body);
        watcher.Finish();
        EXPECT_EQ(code, kStartupFailedExitCode) << c.what;
        ASSERT_TRUE(watcher.Seen()) << c.what;
        EXPECT_FALSE(watcher.Text().empty()) << c.what << ": the system's reason is shown";
    }
}

}  // namespace
}  // namespace vellicot
