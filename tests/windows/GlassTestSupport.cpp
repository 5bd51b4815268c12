// The glass button tests' parent window, recording button, pumping and input.
#include "GlassTestSupport.h"

#include <algorithm>
#include <cstdlib>

namespace vellicot::test {

void GlassTestParent::Create() {
    RegisterWindowClass(L"GlassTestParent");
    CreateHandle(WS_EX_TOPMOST, L"GlassTestParent", L"glass test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                 kScreenLeft, kScreenTop, kWidth, kHeight, nullptr, nullptr);
}

LRESULT GlassTestParent::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HDC handedDc = reinterpret_cast<HDC>(wp);
    switch (msg) {
        case WM_ERASEBKGND:
            if (handedDc != nullptr) {
                POINT origin{};
                GetWindowOrgEx(handedDc, &origin);
                handed.push_back({msg, handedDc, origin});
            }
            PaintBackground(handedDc);
            return 1;
        case WM_PAINT:
            if (handedDc != nullptr) {
                POINT origin{};
                GetWindowOrgEx(handedDc, &origin);
                handed.push_back({msg, handedDc, origin});
                PaintContent(handedDc);
            } else {
                PaintScope paint(Handle());
                PaintContent(paint.Dc());
            }
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

void GlassTestParent::PaintBackground(HDC dc) {
    UniqueBrush brush(CreateSolidBrush(kBackground));
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, brush.get());
}

void GlassTestParent::PaintContent(HDC dc) {
    UniqueBrush brush(CreateSolidBrush(marker));
    FillRect(dc, &markerRect, brush.get());
}

RecordingButton::RecordingButton() {
    OnClick = [this](TCustomGlassButton&) { events.push_back("click"); };
    OnMouseEnter = [this](TCustomGlassButton&) { events.push_back("enter"); };
    OnMouseLeave = [this](TCustomGlassButton&) { events.push_back("leave"); };
    OnMouseDown = [this](TCustomGlassButton&) { events.push_back("down"); };
    OnMouseUp = [this](TCustomGlassButton&) { events.push_back("up"); };
}

void RecordingButton::DrawButton(HDC canvas) {
    ++draws;
    TGlassButton::DrawButton(canvas);
}

int RecordingButton::Count(const std::string& event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
}

namespace {

HWND dialogWindow = nullptr;  // not owned; set by DialogLoop

}  // namespace

DialogLoop::DialogLoop(HWND dialog) noexcept : previous_(dialogWindow) {
    dialogWindow = dialog;
}

DialogLoop::~DialogLoop() {
    dialogWindow = previous_;
}

void Pump(int milliseconds) {
    DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (dialogWindow != nullptr && IsDialogMessageW(dialogWindow, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(2);
    } while (GetTickCount() - start < static_cast<DWORD>(milliseconds));
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs))
            return false;
        Pump(5);
    }
    return true;
}

namespace {

// Where the last move put the pointer. Button events carry it as well: under Wine a late report
// of an earlier move can put the cursor back, and a bare press would then land there.
POINT lastMove{};

void SendMouse(DWORD flags, POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    if (flags & MOUSEEVENTF_MOVE) {
        int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = (screen.x * 65535 + sw / 2) / (sw - 1);
        input.mi.dy = (screen.y * 65535 + sh / 2) / (sh - 1);
        flags |= MOUSEEVENTF_ABSOLUTE;
    }
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

}  // namespace

void MoveCursorTo(POINT screen) {
    lastMove = screen;
    SendMouse(MOUSEEVENTF_MOVE, screen);
    // Under Wine the cursor position lags behind the input and may briefly report an older place
    // again (motion events of earlier moves arrive late); wait until it has stayed put.
    int steady = 0;
    DWORD start = GetTickCount();
    while (steady < 4 && GetTickCount() - start < 2000) {
        Pump(15);
        POINT now{};
        GetCursorPos(&now);
        steady = (now.x == screen.x && now.y == screen.y) ? steady + 1 : 0;
    }
}

bool MoveCursorUntil(POINT screen, const std::function<bool()>& seen) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        MoveCursorTo({screen.x, screen.y + attempt % 2});
        if (PumpUntil(seen, 600))
            return true;
    }
    return false;
}

namespace {

// Pumps until this thread has taken the press or release from its queue (its own key state, which
// follows the messages it takes, shows it): then the window it went to has handled it. Input that
// goes to another thread's window never shows there; it is given a moment all the same.
void WaitForLeftButton(bool down) {
    PumpUntil([down] { return ((GetKeyState(VK_LBUTTON) & 0x8000) != 0) == down; }, 1000);
    Pump(0);  // and what handling it posted
}

}  // namespace

void LeftDown() {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, lastMove);
    WaitForLeftButton(true);
}

void LeftUp() {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, lastMove);
    WaitForLeftButton(false);
}

void PressKey(WORD key, WORD modifier) {
    if (modifier != 0)
        SendKey(modifier, false);
    SendKey(key, false);
    SendKey(key, true);
    if (modifier != 0)
        SendKey(modifier, true);
    Pump(60);
}

void TypeChar(wchar_t ch) {
    INPUT input[2]{};
    for (INPUT& i : input) {
        i.type = INPUT_KEYBOARD;
        i.ki.wScan = ch;
        i.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Pump(60);
}

POINT ScreenCentreOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

COLORREF ScreenPixel(POINT screen) {
    return GetPixel(WindowDC(nullptr).Dc(), screen.x, screen.y);
}

bool Invalidated(HWND window) {
    return GetUpdateRect(window, nullptr, FALSE) != FALSE;
}

std::uint32_t ToRgb(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

std::uint32_t Blend(COLORREF over, COLORREF under, int alpha) {
    auto mix = [&](int a, int b) { return (a * alpha + b * (255 - alpha) + 127) / 255; };
    return ToRgb(RGB(mix(GetRValue(over), GetRValue(under)), mix(GetGValue(over), GetGValue(under)),
                     mix(GetBValue(over), GetBValue(under))));
}

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
    int d = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        d = std::max(d,
                     std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return d;
}

void Fill(const MemoryCanvas& canvas, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    RECT all{0, 0, canvas.Width(), canvas.Height()};
    FillRect(canvas.Dc(), &all, brush.get());
}

}  // namespace vellicot::test
