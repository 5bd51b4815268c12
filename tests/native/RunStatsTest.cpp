// The runs as a time-attack player reads them: the trimmed averages of the latest 5 and 12, their
// rounding, the summary line and the runs at which the best fell.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/RunStats.h"

namespace vellicot {
namespace {

TEST(RunStatsTest, TheAveragesLeaveOutTheFastestAndSlowestOfTheLatestRunsAndRoundHalvesUp) {
    const std::vector<long long> twelve = {0,     100'000, 1'000, 1'000, 1'000, 1'000,
                                           1'000, 1'000,   1'000, 1'000, 1'000, 1'005};
    std::vector<long long> twelveBelowHalf = twelve;
    twelveBelowHalf.back() = 1'004;
    struct Case {
        std::vector<long long> times;
        std::optional<long long> mean5, mean12;
        const wchar_t* line;
    };
    const Case cases[] = {
        {{}, {}, {}, L""},
        {{9'000, 8'000, 7'000, 6'000}, {}, {}, L"記録 4回"},
        {{10'000, 12'000, 11'000, 9'000, 15'000}, 11'000, {}, L"記録 5回　直近5回平均 00分11.000秒"},
        // Only the latest five count: the first, far faster, is not among them.
        {{1, 5'000, 5'000, 5'000, 5'000, 5'000}, 5'000, {}, L"記録 6回　直近5回平均 00分05.000秒"},
        // A third of a millisecond goes down, two thirds up.
        {{1'000, 1'000, 1'001, 0, 5'000}, 1'000, {}, nullptr},
        {{1'000, 1'001, 1'001, 0, 5'000}, 1'001, {}, nullptr},
        // Twelve: a half goes up, four tenths down; the latest five are 1000 1000 1000 1000 1005.
        {twelve, 1'000, 1'001, L"記録 12回　直近5回平均 00分01.000秒　直近12回平均 00分01.001秒"},
        {twelveBelowHalf, 1'000, 1'000, nullptr},
        {{3'000, 3'000, 3'000, 3'000, 3'000}, 3'000, {}, nullptr},
        // Past an hour the minutes count on.
        {{4'500'000, 4'500'004, 4'500'001, 4'500'003, 4'500'002},
         4'500'002,
         {},
         L"記録 5回　直近5回平均 75分00.002秒"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.times.size());
        EXPECT_EQ(TrimmedMeanOfLatest(c.times, kShortAverageRuns), c.mean5);
        EXPECT_EQ(TrimmedMeanOfLatest(c.times, kLongAverageRuns), c.mean12);
        if (c.line != nullptr) {
            EXPECT_EQ(RunStatsLine(c.times), c.line);
        }
    }
}

TEST(RunStatsTest, TheBestFallsAtTheFirstRunAndAtEachFasterOneAndStaysWithTheEarlierOfEqualTimes) {
    EXPECT_EQ(BestSteps({}), std::vector<std::size_t>{});
    EXPECT_EQ(BestSteps({5'000, 3'000, 3'000, 4'000, 1'000, 2'000, 1'000}),
              (std::vector<std::size_t>{0, 1, 4}));
}

}  // namespace
}  // namespace vellicot
