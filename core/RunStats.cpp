// The runs' trimmed averages, the best time's steps and the summary line made of them.
#include "core/RunStats.h"

#include <algorithm>
#include <numeric>

namespace vellicot {

std::vector<long long> TimesOf(const std::vector<RunRecord>& records) {
    std::vector<long long> times;
    times.reserve(records.size());
    for (const RunRecord& record : records)
        times.push_back(record.elapsedMs);
    return times;
}

std::optional<long long> TrimmedMeanOfLatest(const std::vector<long long>& times, std::size_t runs) {
    if (runs < 3 || times.size() < runs)
        return std::nullopt;
    const auto latest = times.end() - static_cast<std::ptrdiff_t>(runs);
    const auto [fastest, slowest] = std::minmax_element(latest, times.end());
    const long long sum = std::accumulate(latest, times.end(), 0LL) - *fastest - *slowest;
    // Times are never negative, so adding half the divisor rounds halves up.
    const long long kept = static_cast<long long>(runs - 2);
    return (sum + kept / 2) / kept;
}

std::vector<std::size_t> BestSteps(const std::vector<long long>& times) {
    std::vector<std::size_t> steps;
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (steps.empty() || times[i] < times[steps.back()])
            steps.push_back(i);
    }
    return steps;
}

std::wstring RunStatsLine(const std::vector<long long>& times) {
    if (times.empty())
        return L"";
    std::wstring line = L"記録 " + std::to_wstring(times.size()) + L"回";
    for (std::size_t runs : {kShortAverageRuns, kLongAverageRuns}) {
        if (const std::optional<long long> mean = TrimmedMeanOfLatest(times, runs))
            line += L"　直近" + std::to_wstring(runs) + L"回平均 " + FormatRunTime(*mean);
    }
    return line;
}

}  // namespace vellicot
