// The main window's time label (lblTIME): the stopwatch's time, right-aligned in "Meiryo UI" at 16
// pixels. The main window paints it itself, into its own paints and beneath the glass buttons that
// ask for it; it has no hover-to-front of its own.
#pragma once

#include <string>

#include "core/Scale.h"
#include "platform/Handles.h"
#include "platform/Win32.h"

namespace vellicot {

// The time label's font: "Meiryo UI" at the label's pixel height. Under Wine the name stands for
// another font, whose digits may be wider than Meiryo UI's: there the height shrinks a pixel at a
// time until the widest time the label can show fits its width, so no digit is cut off. On Windows
// the font is Meiryo UI and the height stays.
UniqueFont CreateTimeLabelFont(int height, int width);

class TimeLabel {
public:
    // The label's place in the main window's client area at 96 DPI.
    static constexpr Box kBox{123, 1, 83, 20};

    // Its place and font at the DPI of the window that paints it, which is invalidated over it at
    // each change and must outlive the label.
    void LayOut(HWND owner, int dpi);
    // Shows the text; only a change repaints.
    void SetText(const std::wstring& text);
    // Paints the text into the DC, in the window's client coordinates, where the DC's clip meets it.
    void Paint(HDC dc) const;
    // Its place at the window's DPI.
    const RECT& Place() const noexcept { return place_; }

private:
    HWND owner_ = nullptr;  // not owned
    std::wstring text_;
    RECT place_{};
    UniqueFont font_;
};

}  // namespace vellicot
