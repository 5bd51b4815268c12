// The chart of the runs' times: laid out from the font's measure at the window's DPI, drawn into a
// buffer (the labels with GDI, which falls back for missing characters; the lines and points with
// GDI+, smoothed), and a click on a point passed on to the parent.
#include "windows/RunChart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "core/RunStats.h"
#include "platform/GdiplusObjects.h"
#include "platform/Handles.h"
#include "windows/DialogParts.h"

namespace vellicot {
namespace {

// Sizes at 96 DPI.
constexpr int kPadding = 6;           // around everything, inside the chart's edge
constexpr int kLabelGap = 6;          // between the time labels and the frame
constexpr int kInset = 8;             // from the frame to the outermost points
constexpr int kTickSpacing = 22;      // at least this between two time ticks
constexpr int kRunLabelSpacing = 16;  // at least this between two run numbers
constexpr int kLegendSample = 18;     // a legend entry's line
constexpr int kLegendGap = 14;        // between legend entries
constexpr float kRunLineWidth = 1.5f;
constexpr float kStepLineWidth = 2.0f;
constexpr float kRunDotRadius = 3.0f;
constexpr int kDotsFromSpacing = 6;  // runs closer than this get no dot of their own
constexpr float kBestRadius = 5.0f;
constexpr float kSelectedRadius = 8.5f;
constexpr float kSelectedWidth = 2.0f;
constexpr int kHitReach = 8;

constexpr COLORREF kRunColour = RGB(52, 101, 164);
constexpr COLORREF kStepColour = RGB(245, 121, 0);

constexpr wchar_t kAccessibleName[] = L"タイムの推移";
constexpr std::array<const wchar_t*, 3> kLegend = {L"各回のタイム", L"自己ベストの推移", L"自己ベスト"};

// a and b mixed, share parts of b.
COLORREF Mix(COLORREF a, COLORREF b, double share) {
    auto channel = [&](int shift) {
        const double from = (a >> shift) & 0xFF;
        const double to = (b >> shift) & 0xFF;
        return static_cast<COLORREF>(from + (to - from) * share + 0.5) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

Gdiplus::ARGB Argb(COLORREF colour) {
    return 0xFF000000u | (static_cast<Gdiplus::ARGB>(GetRValue(colour)) << 16) |
           (static_cast<Gdiplus::ARGB>(GetGValue(colour)) << 8) | GetBValue(colour);
}

void FillBox(HDC dc, const RECT& box, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &box, brush.get());
}

void HorizontalLine(HDC dc, int left, int right, int y, COLORREF colour) {
    FillBox(dc, RECT{left, y, right, y + 1}, colour);
}

void DrawLabel(HDC dc, const std::wstring& text, RECT box, UINT format, COLORREF colour) {
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              format | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_VCENTER);
}

void FillDisc(Gdiplus::GpGraphics* graphics, POINT centre, float radius, COLORREF colour) {
    // A polygon of many corners: Wine's GDI+ flattens the curve of a small ellipse to four.
    constexpr int kCorners = 24;
    std::array<Gdiplus::GpPointF, kCorners> corners;
    for (int i = 0; i < kCorners; ++i) {
        const double angle = 2 * 3.14159265358979 * i / kCorners;
        corners[i] = {static_cast<float>(centre.x + radius * std::cos(angle)),
                      static_cast<float>(centre.y + radius * std::sin(angle))};
    }
    OwnedBrush brush = MakeSolidBrush(Argb(colour));
    GF::GdipFillPolygon(graphics, brush.get(), corners.data(), kCorners, Gdiplus::FillModeAlternate);
}

void DrawLines(Gdiplus::GpGraphics* graphics, const std::vector<Gdiplus::GpPoint>& points, COLORREF colour,
               float width) {
    if (points.size() < 2)
        return;
    OwnedPen pen = MakePen(Argb(colour), width);
    GF::GdipSetPenLineJoin(pen.get(), Gdiplus::LineJoinRound);
    GF::GdipSetPenStartCap(pen.get(), Gdiplus::LineCapRound);
    GF::GdipSetPenEndCap(pen.get(), Gdiplus::LineCapRound);
    constexpr std::size_t kChunk = 32;
    for (std::size_t from = 0; from + 1 < points.size(); from += kChunk) {
        const std::size_t count = std::min(kChunk + 1, points.size() - from);
        GF::GdipDrawLinesI(graphics, pen.get(), points.data() + from, static_cast<INT>(count));
    }
}

}  // namespace

void RunChart::Create(HWND parent, int id) {
    RegisterWindowClass(kClassName);
    CreateHandle(WS_EX_CLIENTEDGE, kClassName, kAccessibleName, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void RunChart::SetRuns(std::vector<long long> times) {
    times_ = std::move(times);
    bestSteps_ = BestSteps(times_);
    if (selected_ && *selected_ >= times_.size())
        selected_.reset();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void RunChart::SetSelected(std::optional<std::size_t> run) {
    if (run && *run >= times_.size())
        run.reset();
    if (run == selected_)
        return;
    selected_ = run;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void RunChart::SetDpi(int dpi) {
    dpi_ = dpi;
    InvalidateRect(Handle(), nullptr, FALSE);
}

RunChart::Geometry RunChart::Measure(HDC dc) const {
    SelectedObject font(dc, font_ != nullptr ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT client{};
    GetClientRect(Handle(), &client);
    Geometry g;
    g.lineHeight = metrics.tmHeight;
    const int padding = Scaled(kPadding);
    // The legend takes the top line, the run numbers the bottom one.
    g.frame.top = padding + g.lineHeight + padding / 2;
    g.frame.bottom = client.bottom - padding - g.lineHeight;
    const int inset = Scaled(kInset);
    g.data.top = g.frame.top + inset;
    g.data.bottom = std::max<LONG>(g.data.top + 1, g.frame.bottom - inset);
    if (!times_.empty()) {
        const auto [fastest, slowest] = std::minmax_element(times_.begin(), times_.end());
        g.axis = TimeAxisFor(*fastest, *slowest, (g.data.bottom - g.data.top) / Scaled(kTickSpacing));
    }
    int widest = 0;
    for (long long tick = g.axis.FirstTick(); tick <= g.axis.high; tick += g.axis.step)
        widest = std::max(widest, TextWidth(dc, TimeTickLabel(tick, g.axis.step)));
    g.labelsRight = padding + widest;
    g.frame.left = g.labelsRight + Scaled(kLabelGap);
    g.frame.right = client.right - padding;
    g.data.left = g.frame.left + inset;
    g.data.right = std::max<LONG>(g.data.left + 1, g.frame.right - inset);
    const int numberWidth = TextWidth(dc, std::to_wstring(times_.size())) + Scaled(kRunLabelSpacing);
    g.runStep = RunTickStep(times_.size(), (g.data.right - g.data.left) / std::max(1, numberWidth));
    return g;
}

POINT RunChart::PointAt(const Geometry& g, std::size_t run) const {
    return POINT{RunX(run, times_.size(), g.data.left, g.data.right),
                 TimeY(times_[run], g.axis, g.data.top, g.data.bottom)};
}

std::optional<POINT> RunChart::PointOf(std::size_t run) const {
    if (run >= times_.size())
        return std::nullopt;
    UniqueDC dc(CreateCompatibleDC(nullptr));
    return PointAt(Measure(dc.get()), run);
}

std::optional<std::size_t> RunChart::RunAt(POINT at) const {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    const Geometry g = Measure(dc.get());
    const long long reach = Scaled(kHitReach);
    std::optional<std::size_t> nearest;
    long long nearestDistance = reach * reach + 1;
    for (std::size_t run = 0; run < times_.size(); ++run) {
        const POINT p = PointAt(g, run);
        const long long dx = p.x - at.x;
        const long long dy = p.y - at.y;
        if (dx * dx + dy * dy < nearestDistance) {
            nearestDistance = dx * dx + dy * dy;
            nearest = run;
        }
    }
    return nearest;
}

void RunChart::OnClick(POINT at) {
    const std::optional<std::size_t> run = RunAt(at);
    if (!run)
        return;
    SetSelected(run);
    SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), kRunChosen),
                 reinterpret_cast<LPARAM>(Handle()));
}

void RunChart::PaintContent(HDC dc) const {
    // Drawn off the screen and copied at once, so a repaint never shows half a chart; on a DIB of
    // plain 32-bit pixels, where Wine's GDI+ smooths its lines as Windows' does everywhere.
    RECT client{};
    GetClientRect(Handle(), &client);
    MemoryCanvas buffer(std::max(1L, client.right), std::max(1L, client.bottom));
    PaintChart(buffer.Dc(), client);
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer.Dc(), 0, 0, SRCCOPY);
}

void RunChart::PaintChart(HDC dc, const RECT& client) const {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    FillBox(dc, client, window);
    if (times_.empty())
        return;
    const Geometry g = Measure(dc);
    SelectedObject font(dc, font_ != nullptr ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const COLORREF labelColour = GetSysColor(COLOR_GRAYTEXT);

    // The time ticks: a faint line across and the time at the left.
    for (long long tick = g.axis.FirstTick(); tick <= g.axis.high; tick += g.axis.step) {
        const int y = TimeY(tick, g.axis, g.data.top, g.data.bottom);
        HorizontalLine(dc, g.frame.left + 1, g.frame.right - 1, y, Mix(window, text, 0.12));
        DrawLabel(dc, TimeTickLabel(tick, g.axis.step),
                  RECT{0, y - g.lineHeight, g.labelsRight, y + g.lineHeight}, DT_RIGHT, labelColour);
    }
    // The run numbers, from 1, under the frame.
    for (std::size_t number = 1; number <= times_.size();
         number = number == 1 && g.runStep > 1 ? g.runStep : number + g.runStep) {
        const int x = RunX(number - 1, times_.size(), g.data.left, g.data.right);
        DrawLabel(dc, std::to_wstring(number),
                  RECT{x - Scaled(40), g.frame.bottom, x + Scaled(40), client.bottom}, DT_CENTER,
                  labelColour);
    }
    UniqueBrush frameBrush(CreateSolidBrush(Mix(window, text, 0.35)));
    FrameRect(dc, &g.frame, frameBrush.get());
    // The selected run's column, behind the lines.
    if (selected_) {
        const int x = PointAt(g, *selected_).x;
        FillBox(dc, RECT{x, g.frame.top + 1, x + 1, g.frame.bottom - 1}, Mix(window, highlight, 0.35));
    }

    // The legend at the top right: each entry's sample, then its words.
    int legendRight = g.frame.right;
    const int legendMiddle = Scaled(kPadding) + g.lineHeight / 2;
    std::array<int, kLegend.size()> sampleLeft{};
    for (std::size_t entry = kLegend.size(); entry-- > 0;) {
        const int width = TextWidth(dc, kLegend[entry]);
        DrawLabel(
            dc, kLegend[entry],
            RECT{legendRight - width, legendMiddle - g.lineHeight, legendRight, legendMiddle + g.lineHeight},
            DT_LEFT, text);
        sampleLeft[entry] = legendRight - width - Scaled(4) - Scaled(kLegendSample);
        legendRight = sampleLeft[entry] - Scaled(kLegendGap);
    }

    OwnedGraphics graphics = MakeGraphics(dc);
    if (!graphics)
        return;
    GF::GdipSetSmoothingMode(graphics.get(), Gdiplus::SmoothingModeAntiAlias);
    const float scale = static_cast<float>(dpi_) / kBaseDpi;
    std::vector<Gdiplus::GpPoint> line;
    line.reserve(times_.size());
    for (std::size_t run = 0; run < times_.size(); ++run) {
        const POINT p = PointAt(g, run);
        line.push_back({p.x, p.y});
    }
    // The best so far: level from each new best to the next, dropping there.
    std::vector<Gdiplus::GpPoint> steps;
    for (std::size_t i = 0; i < bestSteps_.size(); ++i) {
        const Gdiplus::GpPoint at = line[bestSteps_[i]];
        if (!steps.empty())
            steps.push_back({at.X, steps.back().Y});
        steps.push_back(at);
    }
    steps.push_back({line.back().X, steps.back().Y});
    DrawLines(graphics.get(), steps, kStepColour, kStepLineWidth * scale);
    DrawLines(graphics.get(), line, kRunColour, kRunLineWidth * scale);
    const bool dots = times_.size() < 2 || line[1].X - line[0].X >= Scaled(kDotsFromSpacing);
    for (std::size_t run = 0; run < times_.size() && dots; ++run)
        FillDisc(graphics.get(), POINT{line[run].X, line[run].Y}, kRunDotRadius * scale, kRunColour);
    FillDisc(graphics.get(), PointAt(g, bestSteps_.back()), kBestRadius * scale, kBestColour);
    if (selected_) {
        const POINT at = PointAt(g, *selected_);
        OwnedPen ring = MakePen(Argb(highlight), kSelectedWidth * scale);
        const float r = kSelectedRadius * scale;
        GF::GdipDrawEllipse(graphics.get(), ring.get(), static_cast<float>(at.x) - r,
                            static_cast<float>(at.y) - r, 2 * r, 2 * r);
    }

    // The legend's samples.
    const int sample = Scaled(kLegendSample);
    DrawLines(graphics.get(), {{sampleLeft[0], legendMiddle}, {sampleLeft[0] + sample, legendMiddle}},
              kRunColour, kRunLineWidth * scale);
    FillDisc(graphics.get(), POINT{sampleLeft[0] + sample / 2, legendMiddle}, kRunDotRadius * scale,
             kRunColour);
    DrawLines(graphics.get(), {{sampleLeft[1], legendMiddle}, {sampleLeft[1] + sample, legendMiddle}},
              kStepColour, kStepLineWidth * scale);
    FillDisc(graphics.get(), POINT{sampleLeft[2] + sample / 2, legendMiddle}, kBestRadius * scale,
             kBestColour);
}

LRESULT RunChart::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wp);
            if (LOWORD(lp) != 0)
                InvalidateRect(Handle(), nullptr, FALSE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PaintScope paint(Handle());
            PaintContent(paint.Dc());
            return 0;
        }
        case WM_PRINTCLIENT:
            PaintContent(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_SIZE:
            InvalidateRect(Handle(), nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
            OnClick(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT) {
                POINT at{};
                GetCursorPos(&at);
                ScreenToClient(Handle(), &at);
                SetCursor(LoadCursorW(nullptr, RunAt(at) ? IDC_HAND : IDC_ARROW));
                return TRUE;
            }
            break;
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vellicot
