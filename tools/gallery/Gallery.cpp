// The glass button gallery: the program's button sizes and colours in every state, over the
// orchard map and over the picker's background. With "--shot FILE" it saves a screenshot of its
// window as PNG and exits (non-zero when the picture could not be taken or written).
#include <png.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/GdiplusObjects.h"
#include "platform/GdiplusSession.h"
#include "platform/Handles.h"
#include "platform/Png.h"
#include "platform/Window.h"
#include "widgets/GlassButton.h"

namespace vellicot {
namespace {

constexpr int kClientWidth = 664;
constexpr int kClientHeight = 392;
constexpr RECT kMapArea{12, 34, 312, 334};      // the map at the main window's 300 x 300
constexpr RECT kPickerArea{336, 34, 652, 334};  // the selection window's background colour
constexpr COLORREF kPickerBackground = 0xFFFFE0;

// A button whose state the gallery poses directly, to show the pressed look without a pointer.
class PosedButton : public TGlassButton {
public:
    void PosePressed() {
        FMouseDownInControl = true;
        FState = TGlassButtonState::gbsDown;
        Invalidate();
    }
    void PoseHovered() { FMouseInControl = true; }
};

struct Label {
    int x, y;
    const wchar_t* text;
};

class GalleryWindow : public Window {
public:
    void Create() {
        RegisterWindowClass(L"VellicotGallery", 0, nullptr);
        DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
        RECT outer{0, 0, kClientWidth, kClientHeight};
        AdjustWindowRectEx(&outer, style, FALSE, 0);
        CreateHandle(0, L"VellicotGallery", L"Glass button gallery", style, 40, 40, outer.right - outer.left,
                     outer.bottom - outer.top, nullptr, nullptr);
        LoadMap();
        AddButtons();
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_ERASEBKGND:
                PaintBackground(reinterpret_cast<HDC>(wp));
                return 1;
            case WM_PAINT:
                OnPaint(reinterpret_cast<HDC>(wp));
                return 0;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
        }
        return Window::HandleMessage(msg, wp, lp);
    }

private:
    void OnPaint(HDC handedOver) {
        if (handedOver != nullptr) {
            PaintContent(handedOver);
            return;
        }
        PaintScope paint(Handle());
        PaintContent(paint.Dc());
    }

    void PaintBackground(HDC dc) {
        RECT client{0, 0, kClientWidth, kClientHeight};
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        UniqueBrush picker(CreateSolidBrush(kPickerBackground));
        FillRect(dc, &kPickerArea, picker.get());
    }

    void PaintContent(HDC dc) {
        if (map_) {
            BitBlt(dc, kMapArea.left, kMapArea.top, map_->Width(), map_->Height(), map_->Dc(), 0, 0, SRCCOPY);
        }
        UniqueFont font(
            CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
        SelectedObject selected(dc, font.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, 0x404040);
        for (const Label& label : labels_)
            TextOutW(dc, label.x, label.y, label.text, lstrlenW(label.text));
    }

    void LoadMap() {
        std::optional<DecodedPicture> picture = DecodePngResource(L"PngImage_1");
        map_ = std::make_unique<MemoryCanvas>(300, 300);
        RECT all{0, 0, 300, 300};
        FillRect(map_->Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (!picture)
            return;
        OwnedBitmap bitmap = MakeBitmap(picture->width, picture->height, picture->width * 4,
                                        PixelFormat32bppARGB, picture->bgra.data());
        OwnedGraphics graphics = MakeGraphics(map_->Dc());
        if (!bitmap || !graphics)
            return;
        GF::GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeHighQualityBicubic);
        GF::GdipDrawImageRectI(graphics.get(), bitmap.get(), 0, 0, 300, 300);
    }

    PosedButton& Add(int left, int top, int width, int height, const wchar_t* caption, const wchar_t* family,
                     int pixelHeight, bool bold, std::uint32_t back) {
        auto button = std::make_unique<PosedButton>();
        GlassFont font;
        font.family = family;
        font.height = pixelHeight;
        font.bold = bold;
        font.colour = 0x000000;
        button->SetFont(font);
        button->SetBackColor(back);
        button->SetOuterBorderColor(0xFFFFFF);
        button->SetInnerBorderColor(0x000000);
        button->SetCaption(caption);
        button->SetTabStop(false);
        button->Create(Handle(), 100 + static_cast<int>(buttons_.size()), left, top, width, height);
        buttons_.push_back(std::move(button));
        return *buttons_.back();
    }

    void AddButtons() {
        const int mx = kMapArea.left, my = kMapArea.top;
        labels_.push_back({mx, 12, L"Over the orchard map (main window)"});
        labels_.push_back({kPickerArea.left, 12, L"Over the picker background (selection window)"});

        // Tree buttons, 40 x 40, at tree spots: up, hovered, pressed, disabled, picked, duplicate.
        Add(mx + 65, my + 13, 40, 40, L"上４", L"Meiryo UI", -13, true, 0xFFFFFF);
        Add(mx + 122, my + 16, 40, 40, L"上３", L"Meiryo UI", -13, true, 0xFFFFFF).PoseHovered();
        Add(mx + 177, my + 24, 40, 40, L"上１", L"Meiryo UI", -13, true, 0xFFFFFF).PosePressed();
        Add(mx + 135, my + 74, 40, 40, L"上２", L"Meiryo UI", -13, true, 0xFFFFFF).SetEnabled(false);
        PosedButton& picked =
            Add(mx + 252, my + 72, 40, 40, L"慈悲\r\n右４", L"Meiryo UI", -12, false, 0x80FF80);
        picked.SetInnerBorderColor(0x008000);
        picked.SetOuterBorderColor(0x008000);
        PosedButton& duplicate =
            Add(mx + 231, my + 123, 40, 40, L"慈悲\r\n右３", L"Meiryo UI", -12, true, 0x80FF80);
        duplicate.SetFontColor(0x0000FF);
        duplicate.SetInnerBorderColor(0x008000);
        duplicate.SetOuterBorderColor(0x008000);
        // Two overlapping see-through buttons: each shows the other's face beneath its own.
        Add(mx + 20, my + 150, 40, 40, L"左３", L"Meiryo UI", -13, true, 0xFFFFFF).SetForceTransparent(true);
        PosedButton& over = Add(mx + 44, my + 170, 40, 40, L"左４", L"Meiryo UI", -13, true, 0xFFD0A0);
        over.SetForceTransparent(true);
        // The command buttons' sizes: stopwatch 60 x 44, copy 46 x 44, settings 50 x 26, clear 71 x 26.
        Add(mx + 110, my + 176, 60, 44, L"タイム\r\n計測開始", L"Meiryo UI", -12, true, 0xFFFFFF);
        Add(mx + 175, my + 176, 60, 44, L"タイム\r\n計測停止", L"Meiryo UI", -12, true, 0xFFFFFF)
            .SetEnabled(false);
        Add(mx + 240, my + 176, 46, 44, L"結果\r\nCOPY", L"Tahoma", -12, true, 0xFFFFFF);
        Add(mx + 2, my + 274, 50, 26, L"設　定", L"Meiryo UI", -11, true, 0xFFFFFF);
        Add(mx + 229, my + 274, 71, 26, L"選択全クリア", L"Meiryo UI", -11, true, 0xFFFFFF).PosePressed();
        labels_.push_back({mx + 60, my + 303, L"up, hover, down, disabled; picked, duplicate"});
        labels_.push_back({mx, my + 320, L"overlap (ForceTransparent), 60x44, 46x44, 50x26, 71x26"});

        // Selection-window buttons, 75 x 40, silver back.
        const int px = kPickerArea.left + 8, py = kPickerArea.top + 10;
        Add(px, py, 75, 40, L"慈悲\r\n－", L"Meiryo UI", -13, true, 0xC0C0C0);
        Add(px + 76, py, 75, 40, L"勇気\r\n－", L"Tahoma", -13, true, 0xC0C0C0).PoseHovered();
        Add(px + 152, py, 75, 40, L"誠実\r\n－", L"Tahoma", -13, true, 0xC0C0C0).PosePressed();
        Add(px + 228, py, 75, 40, L"謙譲\r\n－", L"Tahoma", -13, true, 0xC0C0C0).SetEnabled(false);
        PosedButton& taken = Add(px, py + 54, 75, 40, L"残酷\r\n上４", L"Tahoma", -12, false, 0xFFC0C0);
        taken.SetFontColor(0x808080);
        taken.SetOuterBorderColor(kPickerBackground);
        taken.SetInnerBorderColor(0x800000);
        PosedButton& twice =
            Add(px + 76, py + 54, 75, 40, L"臆病\r\n上４上３", L"Tahoma", -12, true, 0xEE82EE);
        twice.SetFontColor(0x0000FF);
        twice.SetInnerBorderColor(0x9314FF);
        twice.SetOuterBorderColor(0x9314FF);
        Add(px + 152, py + 54, 75, 40, L"選択\r\n取消し", L"Tahoma", -11, false, 0xC0C0C0);
        Add(px + 228, py + 54, 75, 40, L"閉じる", L"Tahoma", -11, false, 0xC0C0C0);
        labels_.push_back({px, py + 100, L"up, hover, down, disabled (GDI+ grey caption)"});
        labels_.push_back({px, py + 116, L"taken, duplicate, cancel, close"});

        // The caption routes: GDI+ (ClearType, anti-alias) and GDI (no anti-aliasing, a missing font).
        PosedButton& clearType = Add(px, py + 150, 75, 40, L"ClearType", L"Tahoma", -13, false, 0xC0C0C0);
        clearType.SetAntiAlias(TAntiAlias::aaClearType);
        PosedButton& antiAlias =
            Add(px + 76, py + 150, 75, 40, L"AntiAlias", L"Tahoma", -13, false, 0xC0C0C0);
        antiAlias.SetAntiAlias(TAntiAlias::aaAntiAlias);
        PosedButton& none = Add(px + 152, py + 150, 75, 40, L"GDI text", L"Tahoma", -13, false, 0xC0C0C0);
        none.SetAntiAlias(TAntiAlias::aaNone);
        none.SetEnabled(false);
        Add(px + 228, py + 150, 75, 40, L"&Missing", L"No Such Font", -13, false, 0xC0C0C0);
        labels_.push_back({px, py + 196, L"ClearType, anti-alias, GDI (disabled), missing font"});
        labels_.push_back({px, py + 232, L"Corner radius 0, 4, 10; black face"});
        Add(px, py + 250, 75, 30, L"r = 0", L"Tahoma", -12, false, 0xC0C0C0).SetCornerRadius(0);
        Add(px + 76, py + 250, 75, 30, L"r = 4", L"Tahoma", -12, false, 0xC0C0C0);
        Add(px + 152, py + 250, 75, 30, L"r = 10", L"Tahoma", -12, false, 0xC0C0C0).SetCornerRadius(10);
        PosedButton& dark = Add(px + 228, py + 250, 75, 30, L"black", L"Tahoma", -12, true, 0x000000);
        dark.SetFontColor(0xFFFFFF);
    }

    std::unique_ptr<MemoryCanvas> map_;
    std::vector<std::unique_ptr<PosedButton>> buttons_;
    std::vector<Label> labels_;
};

void Pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

// Copies the window as it stands on the screen and writes it as an opaque PNG.
bool SaveScreenshot(HWND window, const wchar_t* path) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0)
        return false;
    MemoryCanvas shot(width, height);
    if (!BitBlt(shot.Dc(), 0, 0, width, height, WindowDC(nullptr).Dc(), bounds.left, bounds.top, SRCCOPY))
        return false;
    std::set<std::uint32_t> colours;
    for (int i = 0; i < width * height; ++i) {
        shot.Pixels()[i] |= 0xFF000000u;
        if (colours.size() < 1000)
            colours.insert(shot.Pixels()[i]);
    }
    if (colours.size() < 100)
        return false;  // a blank or unpainted window is no screenshot

    FILE* file = _wfopen(path, L"wb");
    if (file == nullptr)
        return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA;
    int written = png_image_write_to_stdio(&image, file, 0, shot.Pixels(), 0, nullptr);
    bool closed = std::fclose(file) == 0;
    return written != 0 && closed;
}

}  // namespace
}  // namespace vellicot

int wmain(int argc, wchar_t** argv) {
    vellicot::GdiplusSession gdiplus;
    vellicot::GalleryWindow gallery;
    gallery.Create();
    ShowWindow(gallery.Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(gallery.Handle());
    UpdateWindow(gallery.Handle());

    if (argc == 3 && std::wstring(argv[1]) == L"--shot") {
        vellicot::Pump(600);
        bool saved = vellicot::SaveScreenshot(gallery.Handle(), argv[2]);
        std::fprintf(saved ? stdout : stderr,
                     saved ? "gallery screenshot written\n" : "gallery screenshot failed\n");
        return saved ? 0 : 1;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
