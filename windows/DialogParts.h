// What the settings and hot-key dialogs make alike: their font and their child controls.
#pragma once

#include "platform/Handles.h"
#include "platform/Win32.h"

namespace vellicot {

// The dialogs' font height at 96 DPI.
inline constexpr int kDialogFontHeight = 12;

// "Meiryo UI" at a pixel height.
inline UniqueFont MakeDialogFont(int weight, int height) {
    return UniqueFont(CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"Meiryo UI"));
}

// A visible child control with its id, made at the top-left corner; the dialog's LayOut gives it its
// place and font.
inline HWND CreateDialogChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                              int width = 0, int height = 0) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
}

}  // namespace vellicot
