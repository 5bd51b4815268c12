// The chart's axes: round steps, tick labels and the places of the points.
#include "core/RunChartScale.h"

#include <algorithm>
#include <cmath>

#include "core/RunRecords.h"

namespace vellicot {
namespace {

constexpr long long kRoundSteps[] = {1,       2,       5,       10,      20,        50,       100,    200,
                                     500,     1'000,   2'000,   5'000,   10'000,    15'000,   30'000, 60'000,
                                     120'000, 300'000, 600'000, 900'000, 1'800'000, 3'600'000};
constexpr long long kEqualTimesMargin = 1'000;

}  // namespace

long long TimeAxis::FirstTick() const noexcept {
    return (low + step - 1) / step * step;
}

TimeAxis TimeAxisFor(long long fastest, long long slowest, int maxIntervals) {
    if (fastest == slowest) {
        fastest = std::max(0LL, fastest - kEqualTimesMargin);
        slowest += kEqualTimesMargin;
    }
    const long long intervals = std::max(1, maxIntervals);
    const long long span = slowest - fastest;
    for (long long step : kRoundSteps) {
        if (span <= step * intervals)
            return {fastest, slowest, step};
    }
    long long step = kRoundSteps[std::size(kRoundSteps) - 1] * 2;
    while (span > step * intervals)
        step *= 2;
    return {fastest, slowest, step};
}

std::wstring TimeTickLabel(long long ms, long long step) {
    // FormatRunTime writes "mm分ss.zzz秒"; a tick on a round step drops the zeros it does not need.
    std::wstring text = FormatRunTime(ms);
    std::size_t dropped = 0;
    for (long long unit = 1; dropped < 3 && step % (unit * 10) == 0; unit *= 10)
        ++dropped;
    if (dropped == 3)
        dropped = 4;  // the full stop too
    text.erase(text.size() - 1 - dropped, dropped);
    return text;
}

std::size_t RunTickStep(std::size_t runs, int maxIntervals) {
    const std::size_t intervals = static_cast<std::size_t>(std::max(1, maxIntervals));
    for (std::size_t power = 1;; power *= 10) {
        for (std::size_t step : {power, power * 2, power * 5}) {
            if (runs / step <= intervals)
                return step;
        }
    }
}

int RunX(std::size_t run, std::size_t runs, int left, int right) {
    if (runs < 2)
        return (left + right) / 2;
    return left + static_cast<int>(std::lround(static_cast<double>(right - left) * static_cast<double>(run) /
                                               static_cast<double>(runs - 1)));
}

int TimeY(long long ms, const TimeAxis& axis, int top, int bottom) {
    const double share = static_cast<double>(ms - axis.low) / static_cast<double>(axis.high - axis.low);
    return bottom - static_cast<int>(std::lround(share * (bottom - top)));
}

}  // namespace vellicot
