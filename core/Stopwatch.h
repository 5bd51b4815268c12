// The run's stopwatch, its "nn:ss.zzz" display and the one-line result record. Time is pushed in by
// the caller (a monotonic clock for elapsed time, the local wall clock for the record's date).
#pragma once

#include <string>
#include <string_view>

namespace vellicot {

// A reading of a monotonic clock in milliseconds; fractions are kept and rounded only for display.
// On Windows: QueryPerformanceCounter scaled by its frequency.
using MonotonicMs = double;

// The local wall-clock date and time of a copy, as the result record shows it.
struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

// The user's regional separators (normally ":" and "/").
struct Separators {
    std::wstring time = L":";
    std::wstring date = L"/";
};

inline constexpr std::wstring_view kRecordMiddle = L"選手のただいまの記録 ";
inline constexpr std::wstring_view kRecordEnd = L" 調べ)";

// Whole milliseconds of an elapsed time: rounded to the nearest, halves to even, sign dropped.
long long RoundedElapsedMs(double elapsedMs) noexcept;

// "nn:ss.zzz": minutes (two digits at least; they go on counting past 59), the time separator,
// seconds, a full stop, milliseconds.
std::wstring FormatElapsed(double elapsedMs, std::wstring_view timeSeparator);

// "『 nn分ss.zzz秒 』　" (ending in an ideographic space), minutes as in FormatElapsed.
std::wstring FormatRecordTime(double elapsedMs);

// "yyyy/MM/dd HH:mm" with the regional separators.
std::wstring FormatRecordDate(const LocalDateTime& when, const Separators& separators);

// name + "選手のただいまの記録 " + record time + "(" + date + U+3000 + caption + " 調べ)", no line break,
// with the date already in its shown form (FormatRecordDate).
std::wstring ResultLine(std::wstring_view name, double elapsedMs, std::wstring_view date,
                        std::wstring_view caption);

// ResultLine with the date formatted from the wall clock.
std::wstring ResultRecord(std::wstring_view name, double elapsedMs, const LocalDateTime& when,
                          std::wstring_view caption, const Separators& separators);

// The stopwatch's instants, its label text and the enabled states of the timer and of the start,
// stop and copy buttons. A new stopwatch is in the reset state with all instants zero.
class Stopwatch {
public:
    explicit Stopwatch(Separators separators = {});

    // Takes effect at the next label update.
    void SetSeparators(Separators separators);

    // Begins at zero when the label shows zero, else resumes from the time shown.
    void Start(MonotonicMs now);
    // Fixes the elapsed time and shows it; the copy button becomes available.
    void Stop(MonotonicMs now);
    // The timer's refresh; ignored while the timer is off, so a late tick cannot move a stopped label.
    void Tick(MonotonicMs now);
    // Timer off, label zero, copy disabled, start enabled, stop disabled. The instants stay.
    void Reset();

    // The result record. While running, the last instant (and the label) is refreshed first, as a
    // tick does, so the record holds the time at the moment of the copy.
    std::wstring CopyRecord(MonotonicMs now, const LocalDateTime& wallClock, std::wstring_view name,
                            std::wstring_view caption);

    // Whether the last CopyRecord gave a result not kept before: a stopped time copied again once
    // its copy was kept is the same result; a copy while running, or after another start or stop,
    // is a new one.
    bool LastCopyWasNew() const noexcept { return lastCopyWasNew_; }
    // The last CopyRecord's result is kept (on the clipboard and in the record of runs). Until then
    // a copy that failed on its way leaves the stopped time new, so the next copy keeps it.
    void CopyKept() noexcept;
    const Separators& RegionalSeparators() const noexcept { return separators_; }

    const std::wstring& LabelText() const noexcept { return label_; }
    bool TimerEnabled() const noexcept { return timerEnabled_; }
    bool StartEnabled() const noexcept { return startEnabled_; }
    bool StopEnabled() const noexcept { return stopEnabled_; }
    bool CopyEnabled() const noexcept { return copyEnabled_; }

    // Last instant minus start instant: what the record shows.
    double ElapsedMs() const noexcept { return lastInstant_ - startInstant_; }
    double LastElapsedMs() const noexcept { return lastElapsed_; }

private:
    std::wstring ZeroText() const;

    Separators separators_;
    MonotonicMs startInstant_ = 0;
    MonotonicMs lastInstant_ = 0;
    double lastElapsed_ = 0;
    std::wstring label_;
    bool timerEnabled_ = false;
    bool startEnabled_ = true;
    bool stopEnabled_ = false;
    bool copyEnabled_ = false;
    bool stoppedTimeCopied_ = false;
    bool lastCopyWasNew_ = false;
};

}  // namespace vellicot
