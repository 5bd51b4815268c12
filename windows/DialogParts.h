// What the main window and the dialogs make alike: their font, their child controls, and a font that
// shrinks until its texts fit.
#pragma once

#include <string_view>

#include "platform/Handles.h"
#include "platform/Win32.h"
#include "platform/Wine.h"

namespace vellicot {

// The dialogs' font height at 96 DPI.
inline constexpr int kDialogFontHeight = 12;

// The windows' font, "Meiryo UI", at a pixel height.
inline UniqueFont MakeUiFont(int height, int weight = FW_NORMAL) {
    return UniqueFont(CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"Meiryo UI"));
}

// A visible child control with its id, made at the top-left corner; the window's layout gives it its
// place and font.
inline HWND CreateChildControl(HWND parent, DWORD exStyle, const wchar_t* className, const wchar_t* text,
                               DWORD style, int id, int width = 0, int height = 0) {
    return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

// The width of a text in the font selected into dc.
inline int TextWidth(HDC dc, std::wstring_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
}

// The windows' font at a pixel height, for texts that must fit in room pixels. Under Wine "Meiryo UI"
// stands for another font, which may be wider: there it shrinks a pixel at a time, down to just over
// half the height, until widest(dc), the width of the widest text measured with the font selected
// into dc, fits. On Windows it stays as asked.
template <class Widest>
UniqueFont MakeUiFontThatFits(int height, int room, Widest widest) {
    UniqueFont font = MakeUiFont(height);
    // On Windows the font is Meiryo UI itself, which the texts were made for.
    if (!RunsUnderWine())
        return font;
    UniqueDC dc(CreateCompatibleDC(nullptr));
    auto widestIn = [&](HFONT candidate) {
        SelectedObject selected(dc.get(), candidate);
        return widest(dc.get());
    };
    for (int smaller = height - 1; smaller > height / 2 && widestIn(font.get()) > room; --smaller)
        font = MakeUiFont(smaller);
    return font;
}

}  // namespace vellicot
