// The runs read as a time-attack player reads them: the averages of the latest five and twelve,
// each without its fastest and slowest run, and the runs at which the best time fell.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/RunRecords.h"

namespace vellicot {

inline constexpr std::size_t kShortAverageRuns = 5;
inline constexpr std::size_t kLongAverageRuns = 12;

// The times of the records, in their order (oldest first).
std::vector<long long> TimesOf(const std::vector<RunRecord>& records);

// The mean of the newest `runs` times (the last ones), the fastest and the slowest of them left out
// (one of each, also when another run equals it), in whole milliseconds rounded to the nearest,
// halves up, as 四捨五入 does. Nothing while there are fewer times than that, or fewer than three.
std::optional<long long> TrimmedMeanOfLatest(const std::vector<long long>& times, std::size_t runs);

// The runs (indices, oldest first) at which the best time so far fell: the first run and every later
// one faster than all before it. Of equal times the earlier stays the best, so the last of them is
// the run BestRunIndex marks.
std::vector<std::size_t> BestSteps(const std::vector<long long>& times);

// The summary's line under the best time: the number of runs kept, then each average once there
// are runs enough for it, "記録 14回　直近5回平均 02分58.123秒　直近12回平均 03分01.456秒".
// Empty when there are no runs.
std::wstring RunStatsLine(const std::vector<long long>& times);

}  // namespace vellicot
