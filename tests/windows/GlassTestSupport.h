// Shared pieces of the glass button tests: a parent window that paints a known picture into the
// DCs its buttons hand it, a button that records its events and paints, message pumping and real
// pointer and keyboard input.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "platform/Window.h"
#include "widgets/GlassButton.h"

namespace vellicot::test {

// A borderless top-level window at a fixed place on the screen. Its picture: kBackground all over
// and a kMarker square at MarkerRect(), both in client coordinates.
class GlassTestParent : public Window {
public:
    static constexpr int kScreenLeft = 100;
    static constexpr int kScreenTop = 100;
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 200;
    static constexpr COLORREF kBackground = 0x605040;

    void Create();

    COLORREF marker = 0x00A0FF;
    RECT markerRect{50, 40, 70, 60};

    // What the buttons handed over: the messages in order, with the DC and its window origin.
    struct HandedPaint {
        UINT message;
        HDC dc;
        POINT origin;
    };
    std::vector<HandedPaint> handed;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void PaintBackground(HDC dc);
    void PaintContent(HDC dc);
};

// Records every event as a word, and counts the faces it draws.
class RecordingButton : public TGlassButton {
public:
    RecordingButton();
    void DrawButton(HDC canvas) override;

    std::vector<std::string> events;
    int draws = 0;
    int Count(const std::string& event) const;
};

// Runs the message loop for the time given.
void Pump(int milliseconds);

// While it lives, the test message loop offers every message to IsDialogMessageW for the window
// first, as the program's own message loops do.
class DialogLoop {
public:
    explicit DialogLoop(HWND dialog) noexcept;
    DialogLoop(const DialogLoop&) = delete;
    DialogLoop& operator=(const DialogLoop&) = delete;
    ~DialogLoop();

private:
    HWND previous_;  // not owned
};

// Runs the message loop until the condition holds; false when it never did.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 2000);

// Real input through SendInput, waited for until the system has seen it.
void MoveCursorTo(POINT screen);
// A move that goes on, a pixel this way or that, as a person's pointer does, until the window under
// test has seen it: under Wine a late report of an earlier move can reach the window after the last
// one. False when seen never held.
bool MoveCursorUntil(POINT screen, const std::function<bool()>& seen);
void LeftDown();
void LeftUp();
// A key pressed and released, with a modifier key (VK_SHIFT, VK_MENU ...) held around it when given.
void PressKey(WORD key, WORD modifier = 0);
void TypeChar(wchar_t ch);

POINT ScreenCentreOf(HWND window);
// The colour on the screen at that point, as 0x00BBGGRR.
COLORREF ScreenPixel(POINT screen);
bool Invalidated(HWND window);

// The pixel as 0x00RRGGBB with the alpha byte dropped.
inline std::uint32_t Rgb(const MemoryCanvas& canvas, int x, int y) {
    return canvas.Pixel(x, y) & 0xFFFFFF;
}
// The blend of a 0x00BBGGRR colour over a 0x00BBGGRR background at alpha/255, as 0x00RRGGBB.
std::uint32_t Blend(COLORREF over, COLORREF under, int alpha);
// The largest difference of the three channels of two 0x00RRGGBB values.
int ChannelDistance(std::uint32_t a, std::uint32_t b);
std::uint32_t ToRgb(COLORREF colour);
void Fill(const MemoryCanvas& canvas, COLORREF colour);

}  // namespace vellicot::test
