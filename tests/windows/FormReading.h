// Reading a created window as a person or a test sees it: class, text, place, font, style, and its
// own painting without its children.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/Handles.h"
#include "platform/Win32.h"
#include "shell/SettingsFile.h"
#include "widgets/GlassButton.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"

namespace vellicot::testing_support {

inline std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

inline std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

// A child's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Within a pixel of the 96-DPI box scaled: each edge lies within half a pixel of its exact place.
inline void ExpectScaledRect(HWND child, const Box& box, int dpi) {
    RECT rect = RectInParent(child);
    const double s = dpi / 96.0;
    EXPECT_NEAR(rect.left, box.left * s, 1.0) << GetDlgCtrlID(child);
    EXPECT_NEAR(rect.top, box.top * s, 1.0) << GetDlgCtrlID(child);
    EXPECT_NEAR(rect.right - rect.left, box.width * s, 1.0) << GetDlgCtrlID(child);
    EXPECT_NEAR(rect.bottom - rect.top, box.height * s, 1.0) << GetDlgCtrlID(child);
}

// The window as a display of another scale shows it: WM_DPICHANGED as the system sends it when the
// window is dragged onto such a display.
inline void ChangeDpi(HWND window, int dpi) {
    RECT suggested;
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

inline void ExpectRect(HWND child, int left, int top, int width, int height) {
    RECT rect = RectInParent(child);
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

// The font a system control was given with WM_SETFONT.
inline LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (handle != nullptr)
        GetObjectW(handle, sizeof font, &font);
    return font;
}

inline TCustomGlassButton* GlassOf(HWND hwnd) {
    return dynamic_cast<TCustomGlassButton*>(WindowFromHandle(hwnd));
}

inline bool HasTabStop(HWND hwnd) {
    return (GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) != 0;
}

// The window's own painting (WM_PRINTCLIENT: background and non-windowed content, no children) on
// a canvas of its client size.
inline void PaintClientInto(HWND window, MemoryCanvas& canvas) {
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
}

// A canvas pixel as 0x00BBGGRR.
inline std::uint32_t ColourAt(const MemoryCanvas& canvas, int x, int y) {
    std::uint32_t argb = canvas.Pixel(x, y);
    return ((argb & 0xFF) << 16) | (argb & 0xFF00) | ((argb >> 16) & 0xFF);
}

// The smallest rectangle holding every pixel of the area that differs from the background; empty
// when there is none.
inline RECT InkBox(const MemoryCanvas& canvas, const RECT& area, std::uint32_t background) {
    RECT box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (ColourAt(canvas, x, y) == background)
                continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    if (box.left >= box.right)
        return RECT{};
    return box;
}

// The main window and the selection window as a first start makes them: no settings file, both
// created hidden in their order, with the picker's buttons made as its first showing makes them.
class MainAndPickerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileW(SettingsFileName().c_str());
        form1.Create();
        form2.Create(form1);
        form1.AttachPicker(form2);
        form2.EnsureButtons();
    }
    void TearDown() override { DeleteFileW(SettingsFileName().c_str()); }

    TForm1 form1;
    TForm2 form2;
};

}  // namespace vellicot::testing_support
