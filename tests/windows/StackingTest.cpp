// The stay-on-top style and the forced foreground switch, on real windows of this and another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "ModalScript.h"
#include "platform/Handles.h"
#include "platform/Window.h"
#include "shell/Stacking.h"

namespace vellicot {
namespace {

using testing_support::PumpMessages;
using testing_support::PumpUntil;

constexpr wchar_t kClassName[] = L"StackingTestWindow";

// A top-level window that counts the stacking changes it is asked for.
class TestWindow : public Window {
public:
    void Create(DWORD exStyle = 0, HWND owner = nullptr, bool visible = true, int x = 100) {
        RegisterWindowClass(kClassName);
        CreateHandle(exStyle, kClassName, L"stacking", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), x,
                     100, 200, 150, owner, nullptr);
    }
    int positionChanges = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_WINDOWPOSCHANGING)
            ++positionChanges;
        return Window::HandleMessage(msg, wp, lp);
    }
};

bool IsTopmost(HWND hwnd) {
    return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Whether upper comes before lower in the stacking order of top-level windows.
bool IsAbove(HWND upper, HWND lower) {
    for (HWND hwnd = GetTopWindow(nullptr); hwnd != nullptr; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (hwnd == upper)
            return true;
        if (hwnd == lower)
            return false;
    }
    return false;
}

DWORD ForegroundLockTimeout() {
    DWORD value = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &value, 0);
    return value;
}

void SetForegroundLockTimeout(DWORD value) {
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<void*>(static_cast<UINT_PTR>(value)), 0);
}

// Sets a recognisable lock time-out for a test and puts the machine's value back afterwards.
class LockTimeoutForTest {
public:
    explicit LockTimeoutForTest(DWORD value) : original_(ForegroundLockTimeout()) {
        SetForegroundLockTimeout(value);
    }
    ~LockTimeoutForTest() { SetForegroundLockTimeout(original_); }

private:
    DWORD original_;
};

// A window of another thread of this process, made the foreground window by that thread.
class ForeignWindow {
public:
    ForeignWindow() {
        std::promise<std::pair<HWND, DWORD>> ready;
        std::future<std::pair<HWND, DWORD>> created = ready.get_future();
        thread_ = std::thread([this, &ready] {
            HWND hwnd = CreateWindowExW(0, L"STATIC", L"foreign", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 400,
                                        200, 150, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            SetForegroundWindow(hwnd);
            ready.set_value({hwnd, GetCurrentThreadId()});
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
            DestroyWindow(hwnd);
            done_ = true;
        });
        // The other thread's activation sends messages to ours, so ours keeps handling them.
        while (created.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            PumpMessages();
        std::tie(hwnd_, threadId_) = created.get();
    }
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;
    ~ForeignWindow() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        PumpUntil([this] { return done_.load(); });
        thread_.join();
    }

    HWND Handle() const { return hwnd_; }
    DWORD ThreadId() const { return threadId_; }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
    HWND hwnd_ = nullptr;
    DWORD threadId_ = 0;
};

// Another application: this test program started again as "--foreign-window", whose one window
// takes the foreground.
class ForeignProcess {
public:
    ForeignProcess() {
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(exe) + L"\" --foreign-window";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info))
            return;
        process_.reset(info.hProcess);
        CloseHandle(info.hThread);
        processId_ = info.dwProcessId;
        PumpUntil([this] { return (hwnd_ = FindWindowOfProcess()) != nullptr; }, 20000);
    }
    ForeignProcess(const ForeignProcess&) = delete;
    ForeignProcess& operator=(const ForeignProcess&) = delete;
    ~ForeignProcess() {
        if (!process_)
            return;
        if (hwnd_ != nullptr)
            PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0)
            TerminateProcess(process_.get(), 1);
    }

    HWND Handle() const { return hwnd_; }
    DWORD ThreadId() const { return GetWindowThreadProcessId(hwnd_, nullptr); }

private:
    HWND FindWindowOfProcess() const {
        struct Search {
            DWORD processId;
            HWND found;
        } search{processId_, nullptr};
        EnumWindows(
            [](HWND hwnd, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                DWORD owner = 0;
                GetWindowThreadProcessId(hwnd, &owner);
                if (owner != s->processId || !IsWindowVisible(hwnd))
                    return TRUE;
                s->found = hwnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND hwnd_ = nullptr;
};

TEST(StackingTest, ApplyTopmostSetsAndClearsTheStyle) {
    TestWindow window;
    window.Create();
    ApplyTopmost(window.Handle(), true);
    EXPECT_TRUE(IsTopmost(window.Handle()));
    ApplyTopmost(window.Handle(), false);
    EXPECT_FALSE(IsTopmost(window.Handle()));
}

TEST(StackingTest, AWindowThatOwnsHiddenWindowsBecomesTopmostAndTheOwnedKeepTheirOwnStyle) {
    TestWindow owner, dialog, picker;
    owner.Create();
    dialog.Create(0, owner.Handle(), false);
    picker.Create(WS_EX_TOPMOST, owner.Handle(), false);

    ApplyTopmost(owner.Handle(), true);
    EXPECT_TRUE(IsTopmost(owner.Handle()));
    EXPECT_FALSE(IsTopmost(dialog.Handle()));
    EXPECT_TRUE(IsTopmost(picker.Handle()));
    EXPECT_EQ(GetWindow(dialog.Handle(), GW_OWNER), owner.Handle());
    EXPECT_EQ(GetWindow(picker.Handle(), GW_OWNER), owner.Handle());

    ApplyTopmost(owner.Handle(), false);
    EXPECT_FALSE(IsTopmost(owner.Handle()));
    EXPECT_TRUE(IsTopmost(picker.Handle())) << "the picker stays topmost while the main window is normal";
    EXPECT_EQ(GetWindow(picker.Handle(), GW_OWNER), owner.Handle());
}

TEST(StackingTest, ApplyingTheStyleAWindowAlreadyHasChangesNothing) {
    TestWindow lower, upper, normal;
    lower.Create(WS_EX_TOPMOST);
    upper.Create(WS_EX_TOPMOST);
    normal.Create();
    ApplyTopmost(lower.Handle(), false);
    ApplyTopmost(lower.Handle(), true);  // now lower is the topmost window on top
    ApplyTopmost(upper.Handle(), false);
    ApplyTopmost(upper.Handle(), true);
    ASSERT_TRUE(IsAbove(upper.Handle(), lower.Handle()));

    int lowerChanges = lower.positionChanges;
    int normalChanges = normal.positionChanges;
    ApplyTopmost(lower.Handle(), true);
    ApplyTopmost(normal.Handle(), false);
    EXPECT_EQ(lower.positionChanges, lowerChanges);
    EXPECT_EQ(normal.positionChanges, normalChanges);
    EXPECT_TRUE(IsAbove(upper.Handle(), lower.Handle())) << "a repeated topmost call would raise lower";
}

TEST(StackingTest, ForceForegroundBringsOurWindowInFrontOfAnotherApplicationsWindow) {
    LockTimeoutForTest timeout(4321);
    TestWindow main;
    main.Create();
    ForeignProcess foreign;
    ASSERT_NE(foreign.Handle(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == foreign.Handle(); }, 10000));

    ForceForeground(main.Handle());
    PumpMessages(20);

    EXPECT_EQ(GetForegroundWindow(), main.Handle());
    EXPECT_EQ(GetActiveWindow(), main.Handle());
    EXPECT_EQ(ForegroundLockTimeout(), 4321u) << "the lock time-out is put back";
    EXPECT_FALSE(AttachThreadInput(GetCurrentThreadId(), foreign.ThreadId(), FALSE))
        << "the input attachment is undone";
}

// Refuses the activation of one window of this thread while it lives, as the system may refuse a
// foreground switch (a CBT hook's answer to HCBT_ACTIVATE).
class RefusedActivation {
public:
    explicit RefusedActivation(HWND window) {
        refused_ = window;
        hook_ = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    }
    RefusedActivation(const RefusedActivation&) = delete;
    RefusedActivation& operator=(const RefusedActivation&) = delete;
    ~RefusedActivation() {
        UnhookWindowsHookEx(hook_);
        refused_ = nullptr;
    }
    bool Installed() const { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
        if (code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wp) == refused_)
            return 1;
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static inline HWND refused_ = nullptr;
    HHOOK hook_;
};

// When the switch is refused, the other application keeps the foreground and stays above: our
// window is raised only together with a foreground switch that took place.
TEST(StackingTest, ARefusedForegroundSwitchLeavesTheStackingAlone) {
    TestWindow main;
    main.Create();
    ForeignProcess foreign;
    ASSERT_NE(foreign.Handle(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == foreign.Handle(); }, 10000));
    ASSERT_TRUE(IsAbove(foreign.Handle(), main.Handle()));

    {
        RefusedActivation refused(main.Handle());
        ASSERT_TRUE(refused.Installed());
        ForceForeground(main.Handle());
        PumpMessages(20);
        EXPECT_NE(GetForegroundWindow(), main.Handle()) << "the switch was refused";
        EXPECT_TRUE(IsAbove(foreign.Handle(), main.Handle())) << "raised without the foreground";
    }

    ForceForeground(main.Handle());
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == main.Handle(); }));
    EXPECT_TRUE(PumpUntil([&] { return IsAbove(main.Handle(), foreign.Handle()); }))
        << "raised with the foreground";
}

TEST(StackingTest, ForceForegroundOnTheForegroundThreadOnlyMovesTheFocus) {
    TestWindow main, other;
    main.Create();
    other.Create(0, nullptr, true, 400);
    HWND name = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 100, 22,
                                main.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other.Handle());
    PumpMessages(20);
    ASSERT_EQ(GetForegroundWindow(), other.Handle());

    ForceForeground(main.Handle());
    EXPECT_EQ(GetForegroundWindow(), main.Handle());
    EXPECT_EQ(GetFocus(), main.Handle());

    SetFocus(name);
    ForceForeground(main.Handle());
    EXPECT_EQ(GetFocus(), name) << "the focus in the name box stays there";

    // A modal window has disabled the main window: activation stays with the modal window.
    EnableWindow(main.Handle(), FALSE);
    SetForegroundWindow(other.Handle());
    PumpMessages(20);
    ForceForeground(main.Handle());
    EXPECT_EQ(GetForegroundWindow(), other.Handle());
    EXPECT_EQ(GetActiveWindow(), other.Handle());
}

TEST(StackingTest, ScopeObjectsUndoTheirChangeAtTheEnd) {
    LockTimeoutForTest timeout(777);
    {
        ForegroundLockTimeoutOverride zero(0);
        EXPECT_EQ(ForegroundLockTimeout(), 0u);
    }
    EXPECT_EQ(ForegroundLockTimeout(), 777u);

    ForeignWindow foreign;
    {
        AttachedThreadInput attachment(GetCurrentThreadId(), foreign.ThreadId());
        EXPECT_TRUE(attachment.Attached());
    }
    EXPECT_FALSE(AttachThreadInput(GetCurrentThreadId(), foreign.ThreadId(), FALSE));

    AttachedThreadInput toNoThread(GetCurrentThreadId(), 0);
    EXPECT_FALSE(toNoThread.Attached());
}

}  // namespace
}  // namespace vellicot
