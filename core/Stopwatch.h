// The run's stopwatch, its "nn:ss.zzz" display and the result of a copy: the run's record and its
// one-line text, made from one value. Time is pushed in by the caller (a monotonic clock for elapsed
// time, the local wall clock for the record's date).
#pragma once

#include <functional>
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

// A run's time as the result line shows it inside its brackets, "03分07.250秒": minutes as in
// FormatElapsed, 分, seconds, a full stop, milliseconds, 秒.
std::wstring FormatRunTime(double elapsedMs);
// The line's bracketed time, "『 03分07.250秒 』　" (ending in an ideographic space).
std::wstring FormatRecordTime(double elapsedMs);

// "yyyy/MM/dd HH:mm" with the regional separators.
std::wstring FormatRecordDate(const LocalDateTime& when, const Separators& separators);

// One copied result: the values its line is made of, and all that the record of runs keeps of it.
struct RunRecord {
    std::wstring date;        // the date and time as the line shows them, "2024/04/05 21:09"
    long long elapsedMs = 0;  // whole milliseconds, as the line shows them
    std::wstring caption;     // the main window's title the line names, "Vellicot ver.1.40"
    std::wstring name;        // the player's name, as typed

    bool operator==(const RunRecord&) const = default;
};

// The result line of a record, character for character: name + "選手のただいまの記録 " + the
// bracketed time + "(" + date + U+3000 + caption + " 調べ)", no line break.
std::wstring ResultLineOf(const RunRecord& record);

// What 結果COPY gives: the result of the moment as a record, its line, and whether it is a result
// not kept before.
struct ResultCopy {
    RunRecord record;
    std::wstring line;  // ResultLineOf(record)
    bool isNew = false;
};

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

    // 結果COPY: the result at now, handed to keep, which puts it on the clipboard and in the record
    // of runs and answers whether it was kept (it throws when it cannot say). While running, the last
    // instant (and the label) is refreshed first, as a tick does, so the result holds the time at the
    // moment of the copy. A stopped time copied again once a keep of it answered true is the same
    // result (isNew false); a copy while running, or after another start or stop, is a new one, and
    // so is the next copy of a stopped time whose keep threw or answered false.
    void Copy(MonotonicMs now, const LocalDateTime& wallClock, std::wstring_view name,
              std::wstring_view caption, const std::function<bool(const ResultCopy&)>& keep);

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
};

}  // namespace vellicot
