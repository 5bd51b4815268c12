// The clipboard writer: Unicode text replaces the clipboard; a clipboard held elsewhere for a moment
// is waited for, and one held longer raises the program's message and keeps its contents.
#include <gtest/gtest.h>

#include <thread>

#include "platform/Clipboard.h"
#include "platform/ErrorBox.h"
#include "platform/Handles.h"
#include "platform/Win32.h"

namespace vellicot {
namespace {

std::wstring ClipboardText() {
    if (!OpenClipboard(nullptr))
        return L"<cannot open>";
    ScopeExit close([] { CloseClipboard(); });
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr)
        return L"<no text>";
    auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    std::wstring copy = text != nullptr ? text : L"<locked>";
    GlobalUnlock(data);
    return copy;
}

// A message-only window on its own thread that opens the clipboard and holds it until released, or
// for the time given.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD holdMs = 10'000) {
        thread_ = std::thread([this, holdMs] {
            HWND window =
                CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            opened_ = window != nullptr && OpenClipboard(window);
            SetEvent(ready_);
            WaitForSingleObject(release_, holdMs);
            if (opened_)
                CloseClipboard();
            DestroyWindow(window);
        });
        WaitForSingleObject(ready_, 10'000);
    }
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;
    ~ClipboardHolder() {
        SetEvent(release_);
        thread_.join();
        CloseHandle(ready_);
        CloseHandle(release_);
    }
    bool Opened() const { return opened_; }

private:
    HANDLE ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool opened_ = false;
    std::thread thread_;
};

const std::wstring kRecord =
    L"名無し選手のただいまの記録 『 03分07.250秒 』\u3000(2024/04/05 21:09\u3000Vellicot ver.1.40 調べ)";

TEST(ClipboardTest, TextReplacesTheClipboardAsUnicodeText) {
    SetClipboardText(nullptr, L"something older");
    SetClipboardText(nullptr, kRecord);
    EXPECT_EQ(ClipboardText(), kRecord);
    SetClipboardText(nullptr, L"");
    EXPECT_EQ(ClipboardText(), L"");
}

TEST(ClipboardTest, OtherFormatsAreGoneAfterAWrite) {
    const UINT custom = RegisterClipboardFormatW(L"Vellicot.Test.Format");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, 4);
    SetClipboardData(custom, data);
    CloseClipboard();
    ASSERT_TRUE(IsClipboardFormatAvailable(custom));

    SetClipboardText(nullptr, kRecord);
    EXPECT_FALSE(IsClipboardFormatAvailable(custom));
    EXPECT_EQ(ClipboardText(), kRecord);
}

TEST(ClipboardTest, AClipboardHeldForAMomentIsWaitedFor) {
    SetClipboardText(nullptr, L"before");
    ClipboardHolder holder(60);
    ASSERT_TRUE(holder.Opened());
    SetClipboardText(nullptr, kRecord);
    EXPECT_EQ(ClipboardText(), kRecord);
}

TEST(ClipboardTest, HeldClipboardRaisesTheMessageAndKeepsItsContents) {
    SetClipboardText(nullptr, L"before");
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.Opened());
        try {
            SetClipboardText(nullptr, kRecord);
            FAIL() << "the clipboard was written while another window held it";
        } catch (const AppError& error) {
            const std::wstring& message = error.Message();
            const std::wstring head = L"クリップボード ", tail = L" を開けません";
            ASSERT_TRUE(message.starts_with(head) && message.ends_with(tail));
            std::wstring systemText = message.substr(head.size(), message.size() - head.size() - tail.size());
            EXPECT_FALSE(systemText.empty()) << "the system's error text stands in the middle";
            EXPECT_EQ(systemText.find(L'\n'), std::wstring::npos);
        }
    }
    EXPECT_EQ(ClipboardText(), L"before");
}

}  // namespace
}  // namespace vellicot
