// The clipboard writer.
#include "platform/Clipboard.h"

#include <cstring>

#include "platform/BusyRetry.h"
#include "platform/ErrorBox.h"
#include "platform/Handles.h"

namespace vellicot {
namespace {

[[noreturn]] void ThrowClipboardError(DWORD code) {
    throw AppError(L"クリップボード " + SystemErrorText(code) + L" を開けません");
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

    // Clipboard viewers and managers open the clipboard for a moment whenever it changes.
    if (!SucceedsWithinMoments([&] { return OpenClipboard(owner) != FALSE; }))
        ThrowClipboardError(GetLastError());
    ScopeExit close([] { CloseClipboard(); });
    if (!EmptyClipboard())
        ThrowClipboardError(GetLastError());
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr)
        ThrowClipboardError(GetLastError());
    handedOver = true;  // the clipboard owns the memory now
}

}  // namespace vellicot
