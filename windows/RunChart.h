// The record window's chart of the runs' times, oldest at the left: a line through every run's
// time, the best time so far as a step line that drops at each new best, the best run's point in
// red and the selected run ringed in the selection colour. A click on a point chooses its run.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/RunChartScale.h"
#include "platform/Window.h"

namespace vellicot {

class RunChart : public Window {
public:
    static constexpr wchar_t kClassName[] = L"TRunChart";
    // The notification code of the WM_COMMAND a click on a point sends the parent; Selected() then
    // names the run.
    static constexpr int kRunChosen = 1;
    // The best run's point.
    static constexpr COLORREF kBestColour = RGB(204, 0, 0);

    // Makes the chart, empty, as a child of parent with a control id. It never takes the keyboard:
    // the list beside it is the keyboard's way to the same runs.
    void Create(HWND parent, int id);

    // The times of the runs, oldest first. The selection goes when its run is no longer there.
    void SetRuns(std::vector<long long> times);
    void SetSelected(std::optional<std::size_t> run);
    std::optional<std::size_t> Selected() const noexcept { return selected_; }
    // Draws at a DPI: the chart's sizes are written at 96 DPI. Its font comes with WM_SETFONT.
    void SetDpi(int dpi);

    // Where a run's point is drawn, in the chart's client coordinates; nothing for no such run.
    std::optional<POINT> PointOf(std::size_t run) const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Where everything goes in the client area as it is now.
    struct Geometry {
        RECT frame{};             // the plot's frame
        RECT data{};              // inside it, where the points go
        TimeAxis axis;            // the time axis, bottom to top
        std::size_t runStep = 1;  // between two run numbers under the chart
        int labelsRight = 0;      // the time labels end here
        int lineHeight = 0;
    };
    // Lays the chart out in its client area, measuring the texts in dc with the chart's font.
    Geometry Measure(HDC dc) const;
    POINT PointAt(const Geometry& geometry, std::size_t run) const;
    // The run whose point is within reach of the client point, the nearest of them; or nothing.
    std::optional<std::size_t> RunAt(POINT at) const;
    void PaintContent(HDC dc) const;
    void PaintChart(HDC dc, const RECT& client) const;
    void OnClick(POINT at);
    // A length written at 96 DPI, at the DPI the window gave the chart.
    int Scaled(int value) const noexcept { return ScaleToDpi(value, dpi_); }

    std::vector<long long> times_;
    std::vector<std::size_t> bestSteps_;
    std::optional<std::size_t> selected_;
    int dpi_ = kBaseDpi;
    HFONT font_ = nullptr;  // not owned: the window's font
};

}  // namespace vellicot
