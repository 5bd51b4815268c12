// The chart of the runs' times, without a platform: its time axis with round steps, the labels of
// its ticks, the steps of its run numbers, and where a run's point falls in the plot.
#pragma once

#include <cstddef>
#include <string>

namespace vellicot {

// A time axis from low (the bottom) to high (the top), with a tick at every multiple of step
// between them.
struct TimeAxis {
    long long low = 0;
    long long high = 1;
    long long step = 1;

    // The lowest tick.
    long long FirstTick() const noexcept;
    bool operator==(const TimeAxis&) const = default;
};

// The axis from the fastest time to the slowest, with ticks of the smallest round step that gives
// at most maxIntervals steps across it: 1, 2 or 5 times a power of ten milliseconds up to 10
// seconds, then 15 and 30 seconds, 1, 2, 5, 10, 15 and 30 minutes, an hour and its doublings. Equal
// times get a second on each side.
TimeAxis TimeAxisFor(long long fastest, long long slowest, int maxIntervals);

// A tick's time as the window writes times, with the decimals the step needs: "02分50秒" for
// whole seconds, "02分50.5秒" for tenths. Minutes count on past the hour, as FormatRunTime's do.
std::wstring TimeTickLabel(long long ms, long long step);

// The step of the run numbers under the chart for that many runs, with at most maxIntervals steps
// across: 1, 2 or 5 times a power of ten.
std::size_t RunTickStep(std::size_t runs, int maxIntervals);

// The x of run (from 0) of runs across a plot from left to right: evenly spread, oldest at the left,
// a single run in the middle.
int RunX(std::size_t run, std::size_t runs, int left, int right);
// The y of a time in a plot whose top shows the axis' high and whose bottom its low.
int TimeY(long long ms, const TimeAxis& axis, int top, int bottom);

}  // namespace vellicot
