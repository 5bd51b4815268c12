// The stopwatch's rules and the display and record formats.
#include "core/Stopwatch.h"

#include <cmath>
#include <utility>

namespace vellicot {
namespace {

constexpr long long kMsPerSecond = 1000;
constexpr long long kMsPerMinute = 60 * kMsPerSecond;

struct Parts {
    long long minutes;
    int seconds;
    int milliseconds;
};

Parts SplitElapsed(double elapsedMs) noexcept {
    long long ms = RoundedElapsedMs(elapsedMs);
    return {ms / kMsPerMinute, static_cast<int>(ms % kMsPerMinute / kMsPerSecond),
            static_cast<int>(ms % kMsPerSecond)};
}

// At least `width` digits, zero-padded. Every field shown is a count, never negative.
std::wstring Digits(long long value, int width) {
    if (value < 0)
        value = 0;
    std::wstring text;
    do {
        text.insert(text.begin(), static_cast<wchar_t>(L'0' + value % 10));
        value /= 10;
    } while (value > 0);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), L'0');
    return text;
}

}  // namespace

long long RoundedElapsedMs(double elapsedMs) noexcept {
    if (!std::isfinite(elapsedMs))
        return 0;
    double magnitude = std::fabs(elapsedMs);
    // Far beyond any run; keeps the conversion defined.
    constexpr double kLimit = 1e15;
    if (magnitude >= kLimit)
        return static_cast<long long>(kLimit);
    double whole = std::floor(magnitude);
    double fraction = magnitude - whole;
    auto rounded = static_cast<long long>(whole);
    if (fraction > 0.5 || (fraction == 0.5 && rounded % 2 != 0))
        ++rounded;
    return rounded;
}

std::wstring FormatElapsed(double elapsedMs, std::wstring_view timeSeparator) {
    Parts parts = SplitElapsed(elapsedMs);
    std::wstring text = Digits(parts.minutes, 2);
    text += timeSeparator;
    text += Digits(parts.seconds, 2);
    text += L'.';
    text += Digits(parts.milliseconds, 3);
    return text;
}

std::wstring FormatRunTime(double elapsedMs) {
    Parts parts = SplitElapsed(elapsedMs);
    std::wstring text = Digits(parts.minutes, 2);
    text += L"分";
    text += Digits(parts.seconds, 2);
    text += L'.';
    text += Digits(parts.milliseconds, 3);
    text += L"秒";
    return text;
}

std::wstring FormatRecordTime(double elapsedMs) {
    return L"『 " + FormatRunTime(elapsedMs) + L" 』\u3000";
}

std::wstring FormatRecordDate(const LocalDateTime& when, const Separators& separators) {
    std::wstring text = Digits(when.year, 4);
    text += separators.date;
    text += Digits(when.month, 2);
    text += separators.date;
    text += Digits(when.day, 2);
    text += L' ';
    text += Digits(when.hour, 2);
    text += separators.time;
    text += Digits(when.minute, 2);
    return text;
}

std::wstring ResultLineOf(const RunRecord& record) {
    std::wstring text = record.name;
    text += kRecordMiddle;
    text += FormatRecordTime(static_cast<double>(record.elapsedMs));
    text += L'(';
    text += record.date;
    text += L'\u3000';
    text += record.caption;
    text += kRecordEnd;
    return text;
}

Stopwatch::Stopwatch(Separators separators) : separators_(std::move(separators)) {
    Reset();
}

void Stopwatch::SetSeparators(Separators separators) {
    // A label showing zero keeps meaning "not started" under the new separator.
    bool atZero = label_ == ZeroText();
    separators_ = std::move(separators);
    if (atZero)
        label_ = ZeroText();
}

std::wstring Stopwatch::ZeroText() const {
    return FormatElapsed(0, separators_.time);
}

void Stopwatch::Start(MonotonicMs now) {
    // A label at zero (after a reset, or after a stop too short to show) begins a new run even
    // though the last elapsed time still holds the old value.
    if (label_ == ZeroText())
        startInstant_ = now;
    else
        startInstant_ = now - lastElapsed_;
    timerEnabled_ = true;
    stopEnabled_ = true;
    startEnabled_ = false;
    stoppedTimeCopied_ = false;
}

void Stopwatch::Stop(MonotonicMs now) {
    lastInstant_ = now;
    lastElapsed_ = lastInstant_ - startInstant_;
    label_ = FormatElapsed(lastElapsed_, separators_.time);
    timerEnabled_ = false;
    stopEnabled_ = false;
    copyEnabled_ = true;
    startEnabled_ = true;
    stoppedTimeCopied_ = false;
}

void Stopwatch::Tick(MonotonicMs now) {
    if (!timerEnabled_)
        return;
    lastInstant_ = now;
    label_ = FormatElapsed(lastInstant_ - startInstant_, separators_.time);
}

void Stopwatch::Reset() {
    timerEnabled_ = false;
    label_ = ZeroText();
    copyEnabled_ = false;
    startEnabled_ = true;
    stopEnabled_ = false;
}

void Stopwatch::Copy(MonotonicMs now, const LocalDateTime& wallClock, std::wstring_view name,
                     std::wstring_view caption, const std::function<bool(const ResultCopy&)>& keep) {
    Tick(now);
    ResultCopy copy;
    copy.record = RunRecord{FormatRecordDate(wallClock, separators_), RoundedElapsedMs(ElapsedMs()),
                            std::wstring(caption), std::wstring(name)};
    copy.line = ResultLineOf(copy.record);
    copy.isNew = timerEnabled_ || !stoppedTimeCopied_;
    // Kept only once keep said so: a copy that failed on its way leaves the stopped time new.
    if (keep(copy) && !timerEnabled_)
        stoppedTimeCopied_ = true;
}

}  // namespace vellicot
