// The clipboard writer.
#include "platform/Clipboard.h"

#include <cstring>

#include "platform/ErrorBox.h"
#include "platform/Handles.h"

namespace vellicot {
namespace {

[[noreturn]] void ThrowClipboardError(DWORD code) {
    throw AppError(L"クリップボード " + SystemErrorText(code) + L" を開けません");
}

// Another program may hold the clipboard for a moment: a clipboard manager, Wine's copy to the X
// selection, or a program reading what was just copied. The opening is tried again for a short while
// before it is reported; the system's error of the last try stays for the caller.
bool OpenClipboardSoon(HWND owner) {
    constexpr ULONGLONG kPatienceMs = 300;
    const ULONGLONG start = GetTickCount64();
    while (!OpenClipboard(owner)) {
        if (GetTickCount64() - start >= kPatienceMs)
            return false;
        Sleep(10);
    }
    return true;
}

}  // namespace

void SetClipboardText(HWND owner, const std::wstring& text) {
    // The memory is filled before the clipboard is opened and emptied, so a failed allocation
    // leaves the old contents in place.
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr)
        ThrowClipboardError(GetLastError());
    bool handedOver = false;
    ScopeExit freeMemory([&] {
        if (!handedOver)
            GlobalFree(memory);
    });
    void* target = GlobalLock(memory);
    if (target == nullptr)
        ThrowClipboardError(GetLastError());
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory);

    if (!OpenClipboardSoon(owner))
        ThrowClipboardError(GetLastError());
    ScopeExit close([] { CloseClipboard(); });
    if (!EmptyClipboard())
        ThrowClipboardError(GetLastError());
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr)
        ThrowClipboardError(GetLastError());
    handedOver = true;  // the clipboard owns the memory now
}

}  // namespace vellicot
