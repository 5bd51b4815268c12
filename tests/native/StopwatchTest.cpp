// The stopwatch's start, stop, tick, reset and copy rules, its display format and the result record.
#include <gtest/gtest.h>

#include <limits>

#include "core/Stopwatch.h"

namespace vellicot {
namespace {

constexpr std::wstring_view kCaption = L"Vellicot ver.1.40";
constexpr LocalDateTime kApril5 = {2024, 4, 5, 21, 9};

// 結果COPY with a keep that takes the result as it comes.
ResultCopy CopyOf(Stopwatch& watch, MonotonicMs now, const LocalDateTime& when = kApril5,
                  std::wstring_view name = L"P") {
    ResultCopy kept;
    watch.Copy(now, when, name, kCaption, [&](const ResultCopy& copy) {
        kept = copy;
        return true;
    });
    return kept;
}

struct ElapsedCase {
    double ms;
    const wchar_t* text;
};

TEST(StopwatchTest, DisplayFormatMinutesSecondsMilliseconds) {
    const ElapsedCase cases[] = {
        {0, L"00:00.000"},
        {1, L"00:00.001"},
        {999, L"00:00.999"},
        {59'999, L"00:59.999"},
        {60'000, L"01:00.000"},
        {187'250, L"03:07.250"},
        {59 * 60'000 + 59'999, L"59:59.999"},
        // Minutes go on counting past the hour (and past a day).
        {61 * 60'000 + 5'000, L"61:05.000"},
        {100 * 60'000, L"100:00.000"},
        {25 * 3'600'000.0, L"1500:00.000"},
        // A negative difference shows as its absolute value.
        {-5'000, L"00:05.000"},
        {-187'250, L"03:07.250"},
    };
    for (const ElapsedCase& c : cases)
        EXPECT_EQ(FormatElapsed(c.ms, L":"), c.text) << "ms " << c.ms;
}

TEST(StopwatchTest, DisplayRoundsToTheNearestMillisecondHalvesToEven) {
    const ElapsedCase cases[] = {
        {0.4, L"00:00.000"},  {0.5, L"00:00.000"},  {0.5000001, L"00:00.001"}, {1.5, L"00:00.002"},
        {2.5, L"00:00.002"},  {2.6, L"00:00.003"},  {59'999.5, L"01:00.000"},  {59'998.5, L"00:59.998"},
        {-1.5, L"00:00.002"}, {-0.5, L"00:00.000"}, {1'000.49, L"00:01.000"},
    };
    for (const ElapsedCase& c : cases)
        EXPECT_EQ(FormatElapsed(c.ms, L":"), c.text) << "ms " << c.ms;
    EXPECT_EQ(RoundedElapsedMs(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundedElapsedMs(std::numeric_limits<double>::infinity()), 0);
}

TEST(StopwatchTest, DisplayUsesTheRegionalTimeSeparator) {
    EXPECT_EQ(FormatElapsed(187'250, L"."), L"03.07.250");
    EXPECT_EQ(FormatElapsed(187'250, L"h"), L"03h07.250");
}

TEST(StopwatchTest, RecordOfThePublishedExampleCharacterForCharacter) {
    std::wstring record = ResultLineOf({L"2024/04/05 21:09", 187'250, std::wstring(kCaption), L"名無し"});
    EXPECT_EQ(
        record,
        L"名無し選手のただいまの記録 『 03分07.250秒 』\u3000(2024/04/05 21:09\u3000Vellicot ver.1.40 調べ)");
    // The pieces that are easy to get wrong: ASCII spaces inside the brackets, U+3000 after them
    // and before the caption, an ASCII space before 調べ, and no line break at the end.
    EXPECT_NE(record.find(L"記録 \u300E 03"), std::wstring::npos);
    EXPECT_NE(record.find(L"秒 \u300F\u3000("), std::wstring::npos);
    EXPECT_NE(record.find(L"21:09\u3000Vellicot"), std::wstring::npos);
    EXPECT_NE(record.back(), L'\n');
    EXPECT_EQ(record.back(), L')');
}

TEST(StopwatchTest, RecordDateAndTimeUseTheRegionalSeparatorsAndPadding) {
    Separators dotted{L".", L"-"};
    EXPECT_EQ(FormatRecordDate({2025, 1, 2, 3, 4}, dotted), L"2025-01-02 03.04");
    EXPECT_EQ(FormatRecordDate({2024, 12, 31, 23, 59}, Separators{}), L"2024/12/31 23:59");
    // The record's own time always reads 分 and 秒, whatever the separators.
    EXPECT_EQ(
        ResultLineOf({FormatRecordDate({2025, 1, 2, 3, 4}, dotted), 61 * 60'000 + 5'000,
                      std::wstring(kCaption), L"A"}),
        L"A選手のただいまの記録 『 61分05.000秒 』\u3000(2025-01-02 03.04\u3000Vellicot ver.1.40 調べ)");
    EXPECT_EQ(FormatRecordTime(0), L"『 00分00.000秒 』\u3000");
}

TEST(StopwatchTest, NewStopwatchIsInTheResetState) {
    Stopwatch watch;
    EXPECT_EQ(watch.LabelText(), L"00:00.000");
    EXPECT_FALSE(watch.TimerEnabled());
    EXPECT_TRUE(watch.StartEnabled());
    EXPECT_FALSE(watch.StopEnabled());
    EXPECT_FALSE(watch.CopyEnabled());
    EXPECT_EQ(watch.ElapsedMs(), 0);
}

TEST(StopwatchTest, StartTickStopSetTheLabelAndEnabledStates) {
    Stopwatch watch;
    watch.Start(10'000);
    EXPECT_TRUE(watch.TimerEnabled());
    EXPECT_FALSE(watch.StartEnabled());
    EXPECT_TRUE(watch.StopEnabled());
    EXPECT_FALSE(watch.CopyEnabled()) << "start keeps the copy button as it was";
    EXPECT_EQ(watch.LabelText(), L"00:00.000") << "the label changes at the first tick";

    watch.Tick(10'300);
    EXPECT_EQ(watch.LabelText(), L"00:00.300");
    watch.Tick(13'456.7);
    EXPECT_EQ(watch.LabelText(), L"00:03.457");

    watch.Stop(197'250);
    EXPECT_EQ(watch.LabelText(), L"03:07.250");
    EXPECT_EQ(watch.LastElapsedMs(), 187'250);
    EXPECT_FALSE(watch.TimerEnabled());
    EXPECT_TRUE(watch.StartEnabled());
    EXPECT_FALSE(watch.StopEnabled());
    EXPECT_TRUE(watch.CopyEnabled());
}

TEST(StopwatchTest, TickWhileStoppedLeavesTheLabel) {
    Stopwatch watch;
    watch.Start(0);
    watch.Stop(5'000);
    watch.Tick(9'000);  // a timer message that arrives after the stop
    EXPECT_EQ(watch.LabelText(), L"00:05.000");
    EXPECT_EQ(watch.ElapsedMs(), 5'000);
}

TEST(StopwatchTest, StopStartStopShowsTheSumOfBothRunningPeriods) {
    Stopwatch watch;
    watch.Start(1'000);
    watch.Stop(4'000);  // 3 s
    watch.Start(60'000);
    EXPECT_TRUE(watch.CopyEnabled()) << "a resumed run keeps the copy button";
    watch.Tick(60'300);
    EXPECT_EQ(watch.LabelText(), L"00:03.300") << "resumes from the time shown";
    watch.Stop(62'500);  // 2.5 s more
    EXPECT_EQ(watch.LabelText(), L"00:05.500");
}

TEST(StopwatchTest, ResetThenStartBeginsAtZeroThoughTheInstantsStay) {
    Stopwatch watch;
    watch.Start(0);
    watch.Stop(7'000);
    watch.Reset();
    EXPECT_EQ(watch.LabelText(), L"00:00.000");
    EXPECT_FALSE(watch.CopyEnabled());
    EXPECT_TRUE(watch.StartEnabled());
    EXPECT_FALSE(watch.StopEnabled());
    EXPECT_FALSE(watch.TimerEnabled());
    EXPECT_EQ(watch.LastElapsedMs(), 7'000) << "reset leaves the instants";
    EXPECT_EQ(watch.ElapsedMs(), 7'000);

    watch.Start(100'000);
    watch.Tick(101'000);
    EXPECT_EQ(watch.LabelText(), L"00:01.000");
}

TEST(StopwatchTest, ResetWhileRunningStopsTheTimer) {
    Stopwatch watch;
    watch.Start(0);
    watch.Tick(900);
    watch.Reset();
    EXPECT_FALSE(watch.TimerEnabled());
    watch.Tick(1'200);
    EXPECT_EQ(watch.LabelText(), L"00:00.000");
}

TEST(StopwatchTest, StopShorterThanAMillisecondMakesTheNextStartBeginAtZero) {
    Stopwatch watch;
    watch.Start(500);
    watch.Stop(500.4);
    EXPECT_EQ(watch.LabelText(), L"00:00.000");
    watch.Start(2'000);
    watch.Stop(2'010);
    EXPECT_DOUBLE_EQ(watch.LastElapsedMs(), 10) << "the 0.4 ms before is not carried over";
}

TEST(StopwatchTest, ElapsedTimeIsTheMonotonicDifferenceAcrossMidnight) {
    // Readings that straddle what was midnight on the wall clock: a 6 s run reads 6 s.
    constexpr double kDay = 86'400'000;
    Stopwatch watch;
    watch.Start(kDay - 1'000);
    watch.Stop(kDay + 5'000);
    EXPECT_EQ(watch.LabelText(), L"00:06.000");
}

TEST(StopwatchTest, RunOfOverAnHourKeepsCountingMinutes) {
    Stopwatch watch;
    watch.Start(0);
    watch.Stop(61 * 60'000 + 5'000);
    EXPECT_EQ(watch.LabelText(), L"61:05.000");
    EXPECT_NE(CopyOf(watch, 0).line.find(L"『 61分05.000秒 』"), std::wstring::npos);
}

TEST(StopwatchTest, CopyAfterAStopReportsTheStoppedTimeAsOneRecordAndItsLine) {
    Stopwatch watch;
    watch.Start(1'000);
    watch.Tick(100'000);
    watch.Stop(188'250);
    const ResultCopy copy = CopyOf(watch, 999'999, kApril5, L"名無し");
    EXPECT_EQ(copy.record, (RunRecord{L"2024/04/05 21:09", 187'250, L"Vellicot ver.1.40", L"名無し"}));
    EXPECT_EQ(
        copy.line,
        L"名無し選手のただいまの記録 『 03分07.250秒 』\u3000(2024/04/05 21:09\u3000Vellicot ver.1.40 調べ)");
    EXPECT_EQ(watch.LabelText(), L"03:07.250") << "a copy of a stopped watch leaves the label";
}

TEST(StopwatchTest, CopyWhileRunningReportsTheTimeAtTheCopy) {
    Stopwatch watch;
    watch.Start(0);
    watch.Stop(10'000);   // 10 s measured
    watch.Start(50'000);  // resumed after a 40 s pause, no tick yet
    std::wstring record = CopyOf(watch, 51'234).line;
    EXPECT_NE(record.find(L"『 00分11.234秒 』"), std::wstring::npos);
    EXPECT_EQ(watch.LabelText(), L"00:11.234") << "the copy refreshes like a tick";
    EXPECT_TRUE(watch.TimerEnabled());

    watch.Tick(51'500);
    record = CopyOf(watch, 51'700).line;
    EXPECT_NE(record.find(L"『 00分11.700秒 』"), std::wstring::npos) << "not the lagging tick's time";
}

TEST(StopwatchTest, SeparatorsApplyToLabelAndRecord) {
    Stopwatch watch(Separators{L".", L"-"});
    EXPECT_EQ(watch.LabelText(), L"00.00.000");
    watch.Start(0);
    watch.Stop(65'000);
    EXPECT_EQ(watch.LabelText(), L"01.05.000");
    EXPECT_EQ(CopyOf(watch, 0).record.date, L"2024-04-05 21.09");

    // A label at zero still counts as zero after the separator changes, so a start begins anew.
    Stopwatch fresh;
    fresh.SetSeparators(Separators{L".", L"/"});
    EXPECT_EQ(fresh.LabelText(), L"00.00.000");
    fresh.Start(1'000);
    fresh.Stop(3'000);
    EXPECT_EQ(fresh.LabelText(), L"00.02.000");
}

}  // namespace
}  // namespace vellicot
