// Putting text on the clipboard.
#pragma once

#include <string>

#include "platform/Win32.h"

namespace vellicot {

// Replaces the clipboard's contents with the text as Unicode text. When the clipboard cannot be
// opened (another program holds it for longer than a moment), throws AppError "クリップボード <system error
// text> を開けません" and the clipboard keeps what it had.
void SetClipboardText(HWND owner, const std::wstring& text);

}  // namespace vellicot
