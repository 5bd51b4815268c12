// Repaint cost of the glass buttons over the orchard map, against standard BUTTON controls
// repainted the same number of times in the same run. Each repaint is a synchronous
// RedrawWindow (invalidate, erase, paint now), so a glass button's figure includes the parent's
// erase and paint beneath it.
#include <algorithm>
#include <cstdio>
#include <memory>
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

constexpr int kMapSize = 300;
// The sixteen tree spots, relative to the map.
constexpr POINT kTrees[16] = {{63, 13},   {120, 16},  {175, 24},  {133, 74}, {250, 72},  {229, 123},
                              {182, 119}, {223, 176}, {120, 176}, {78, 221}, {136, 243}, {175, 203},
                              {17, 59},   {55, 109},  {5, 112},   {27, 165}};
static_assert(std::size(kTrees) == 16);

// A window showing the map, pre-scaled once, and answering the DCs its glass buttons hand it.
class MapWindow : public Window {
public:
    void Create(int screenLeft, const MemoryCanvas& map) {
        map_ = &map;
        RegisterWindowClass(L"GlassBenchMap");
        CreateHandle(0, L"GlassBenchMap", L"bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, screenLeft, 60,
                     kMapSize, kMapSize, nullptr, nullptr);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_ERASEBKGND: {
                RECT all{0, 0, kMapSize, kMapSize};
                FillRect(reinterpret_cast<HDC>(wp), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
                return 1;
            }
            case WM_PAINT:
                if (wp != 0) {
                    Blit(reinterpret_cast<HDC>(wp));
                } else {
                    PaintScope paint(Handle());
                    Blit(paint.Dc());
                }
                return 0;
        }
        return Window::HandleMessage(msg, wp, lp);
    }

private:
    void Blit(HDC dc) { BitBlt(dc, 0, 0, kMapSize, kMapSize, map_->Dc(), 0, 0, SRCCOPY); }

    const MemoryCanvas* map_ = nullptr;  // not owned
};

std::unique_ptr<MemoryCanvas> ScaledMap() {
    auto map = std::make_unique<MemoryCanvas>(kMapSize, kMapSize);
    std::optional<DecodedPicture> picture = DecodePngResource(L"PngImage_1");
    if (!picture)
        return map;
    OwnedBitmap bitmap = MakeBitmap(picture->width, picture->height, picture->width * 4, PixelFormat32bppARGB,
                                    picture->bgra.data());
    OwnedGraphics graphics = MakeGraphics(map->Dc());
    if (bitmap && graphics)
        GF::GdipDrawImageRectI(graphics.get(), bitmap.get(), 0, 0, kMapSize, kMapSize);
    return map;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Timing {
    double median;
    double fastest;
};

// The time in ms of one round that repaints every window in the list once: the median round and,
// as the figure least disturbed by other work on the machine, the fastest.
Timing TimeRounds(const std::vector<HWND>& windows, int rounds) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        double start = Now();
        for (HWND w : windows)
            RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        GdiFlush();
        times.push_back(Now() - start);
        Pump();
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

void Report(const char* what, Timing glass, Timing standard) {
    std::printf(
        "%s:\n  median  glass %7.3f ms, BUTTON %7.3f ms, ratio %.1f\n"
        "  fastest glass %7.3f ms, BUTTON %7.3f ms, ratio %.1f\n",
        what, glass.median, standard.median, glass.median / standard.median, glass.fastest, standard.fastest,
        glass.fastest / standard.fastest);
}

}  // namespace
}  // namespace vellicot

// With "--opaque" the glass buttons leave ForceTransparent off, to show what the sibling step costs.
int wmain(int argc, wchar_t** argv) {
    using namespace vellicot;
    bool forceTransparent = !(argc == 2 && std::wstring(argv[1]) == L"--opaque");
    GdiplusSession gdiplus;
    std::unique_ptr<MemoryCanvas> map = ScaledMap();

    MapWindow glassParent;
    glassParent.Create(40, *map);
    std::vector<std::unique_ptr<TGlassButton>> glass;
    std::vector<HWND> glassHandles;
    for (int i = 0; i < 16; ++i) {
        auto button = std::make_unique<TGlassButton>();
        GlassFont font;
        font.family = L"Meiryo UI";
        font.SetSize(9);
        font.colour = 0x000000;
        button->SetFont(font);
        button->SetBackColor(0xFFFFFF);
        button->SetForceTransparent(forceTransparent);
        button->SetTabStop(false);
        button->SetCaption(L"慈悲\r\n上４");
        button->Create(glassParent.Handle(), 100 + i, vellicot::kTrees[i].x, vellicot::kTrees[i].y, 40, 40);
        glassHandles.push_back(button->Handle());
        glass.push_back(std::move(button));
    }

    MapWindow standardParent;
    standardParent.Create(400, *map);
    UniqueFont font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Meiryo UI"));
    std::vector<HWND> standard;
    for (int i = 0; i < 16; ++i) {
        HWND button = CreateWindowExW(
            0, L"BUTTON", L"慈悲\r\n上４", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_MULTILINE,
            vellicot::kTrees[i].x, vellicot::kTrees[i].y, 40, 40, standardParent.Handle(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(200 + i)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        standard.push_back(button);
    }
    UpdateWindow(glassParent.Handle());
    UpdateWindow(standardParent.Handle());
    Pump();

    // Warm up both (font caches, the installed font list), then measure side by side.
    TimeRounds(glassHandles, 5);
    TimeRounds(standard, 5);
    Timing oneGlass = TimeRounds({glassHandles[0]}, 400);
    Timing oneStandard = TimeRounds({standard[0]}, 400);
    Timing sixteenGlass = TimeRounds(glassHandles, 100);
    Timing sixteenStandard = TimeRounds(standard, 100);

    std::printf("glass buttons %s ForceTransparent\n", forceTransparent ? "with" : "without");
    Report("one 40 x 40 tree button, full paint with the parent's paint beneath", oneGlass, oneStandard);
    Report("sixteen tree buttons repainted", sixteenGlass, sixteenStandard);
    std::printf("sixteen glass tree buttons within one 60 Hz frame (16 ms): %s (median), %s (fastest)\n",
                sixteenGlass.median < 16.0 ? "yes" : "no", sixteenGlass.fastest < 16.0 ? "yes" : "no");
    for (HWND button : standard)
        DestroyWindow(button);
    return 0;
}
