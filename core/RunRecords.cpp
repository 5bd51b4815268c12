// The record of runs: its text form, its section in the settings store and the best-time rule.
#include "core/RunRecords.h"

#include <algorithm>

namespace vellicot {
namespace {

constexpr std::wstring_view kFieldSeparator = L" | ";
constexpr wchar_t kNameQuote = L'"';
constexpr std::size_t kMaxMinuteDigits = 9;  // far beyond any run, and within RoundedElapsedMs's range

bool IsDigit(wchar_t c) noexcept {
    return c >= L'0' && c <= L'9';
}

std::wstring_view TrimSpaces(std::wstring_view s) noexcept {
    while (!s.empty() && s.front() == L' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == L' ')
        s.remove_suffix(1);
    return s;
}

// The digits at the front of s, taken off it; at most maxDigits, and nothing for none.
std::optional<long long> TakeNumber(std::wstring_view& s, std::size_t maxDigits) noexcept {
    std::size_t count = 0;
    long long value = 0;
    while (count < s.size() && IsDigit(s[count])) {
        if (++count > maxDigits)
            return std::nullopt;
        value = value * 10 + (s[count - 1] - L'0');
    }
    if (count == 0)
        return std::nullopt;
    s.remove_prefix(count);
    return value;
}

// Exactly `digits` digits at the front of s, taken off it, or nothing.
std::optional<long long> TakeDigits(std::wstring_view& s, std::size_t digits) noexcept {
    std::wstring_view rest = s;
    const std::optional<long long> value = TakeNumber(rest, digits);
    if (!value || s.size() - rest.size() != digits)
        return std::nullopt;
    s = rest;
    return value;
}

// "mm:ss.zzz" with minutes of one digit or more: the milliseconds, or nothing.
std::optional<long long> ParseTime(std::wstring_view s) noexcept {
    const std::optional<long long> minutes = TakeNumber(s, kMaxMinuteDigits);
    if (!minutes || !s.starts_with(L':'))
        return std::nullopt;
    s.remove_prefix(1);
    const std::optional<long long> seconds = TakeDigits(s, 2);
    if (!seconds || *seconds >= 60 || !s.starts_with(L'.'))
        return std::nullopt;
    s.remove_prefix(1);
    const std::optional<long long> ms = TakeDigits(s, 3);
    if (!ms || !s.empty())
        return std::nullopt;
    return (*minutes * 60 + *seconds) * 1000 + *ms;
}

// The date and time as FormatRecordDate writes them: runs of 4, 2, 2, 2 and 2 digits, the third
// gap a space and the others any separator without digits.
bool IsRecordDate(std::wstring_view s) noexcept {
    constexpr std::size_t kRuns[] = {4, 2, 2, 2, 2};
    for (std::size_t run = 0; run < std::size(kRuns); ++run) {
        std::size_t digits = 0;
        while (digits < s.size() && IsDigit(s[digits]))
            ++digits;
        if (digits != kRuns[run])
            return false;
        s.remove_prefix(digits);
        if (run + 1 == std::size(kRuns))
            return s.empty();
        std::size_t gap = 0;
        while (gap < s.size() && !IsDigit(s[gap]))
            ++gap;
        if (gap == 0 || (run == 2 && s.substr(0, gap) != L" "))
            return false;
        s.remove_prefix(gap);
    }
    return false;
}

// The value of a stored line when its key is the record's key.
std::optional<std::string_view> RunValueOf(std::string_view line) noexcept {
    const std::size_t equals = line.find('=');
    if (equals != 3)
        return std::nullopt;
    for (std::size_t i = 0; i < 3; ++i) {
        const char c = line[i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != "run"[i])
            return std::nullopt;
    }
    return line.substr(equals + 1);
}

std::optional<RunRecord> RecordOfLine(std::string_view line) {
    const std::optional<std::string_view> value = RunValueOf(line);
    if (!value)
        return std::nullopt;
    return ParseRunRecord(WideFromUtf8(*value));
}

// Where the lines that read as records are, in file order.
std::vector<std::size_t> RecordLinePlaces(const std::vector<std::string>& lines) {
    std::vector<std::size_t> places;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (RecordOfLine(lines[i]))
            places.push_back(i);
    }
    return places;
}

// The lines without those at the places given (ascending).
std::vector<std::string> Without(const std::vector<std::string>& lines,
                                 const std::vector<std::size_t>& places) {
    std::vector<std::string> kept;
    kept.reserve(lines.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (next < places.size() && places[next] == i)
            ++next;
        else
            kept.push_back(lines[i]);
    }
    return kept;
}

}  // namespace

RunRecord RecordOfCopy(std::wstring_view name, double elapsedMs, const LocalDateTime& when,
                       std::wstring_view caption, const Separators& separators) {
    return RunRecord{FormatRecordDate(when, separators), RoundedElapsedMs(elapsedMs), std::wstring(caption),
                     std::wstring(name)};
}

std::wstring ResultLineOf(const RunRecord& record) {
    return ResultLine(record.name, static_cast<double>(record.elapsedMs), record.date, record.caption);
}

std::wstring FormatRunRecord(const RunRecord& record) {
    std::wstring text = record.date;
    text += kFieldSeparator;
    text += FormatElapsed(static_cast<double>(record.elapsedMs), L":");
    text += kFieldSeparator;
    text += record.caption;
    text += kFieldSeparator;
    text += kNameQuote;
    text += record.name;
    text += kNameQuote;
    return text;
}

std::optional<RunRecord> ParseRunRecord(std::wstring_view value) {
    // The name comes last and is quoted, so it may hold the separator itself.
    std::wstring_view fields[3];
    for (std::wstring_view& field : fields) {
        const std::size_t bar = value.find(L'|');
        if (bar == std::wstring_view::npos)
            return std::nullopt;
        field = TrimSpaces(value.substr(0, bar));
        value.remove_prefix(bar + 1);
    }
    const std::wstring_view quoted = TrimSpaces(value);
    if (quoted.size() < 2 || quoted.front() != kNameQuote || quoted.back() != kNameQuote)
        return std::nullopt;
    const std::optional<long long> elapsedMs = ParseTime(fields[1]);
    if (!IsRecordDate(fields[0]) || !elapsedMs || fields[2].empty())
        return std::nullopt;
    return RunRecord{std::wstring(fields[0]), *elapsedMs, std::wstring(fields[2]),
                     std::wstring(quoted.substr(1, quoted.size() - 2))};
}

std::vector<RunRecord> ReadRunRecords(const IniStore& store) {
    std::vector<RunRecord> records;
    for (const std::string& line : store.SectionLines(kRecordsSection)) {
        if (std::optional<RunRecord> record = RecordOfLine(line))
            records.push_back(std::move(*record));
    }
    if (records.size() > kMaxRunRecords)
        records.erase(records.begin(), records.end() - static_cast<std::ptrdiff_t>(kMaxRunRecords));
    return records;
}

void AddRunRecord(IniStore& store, const RunRecord& record) {
    std::vector<std::string> lines = store.SectionLines(kRecordsSection);
    lines.push_back(Utf8FromWide(std::wstring(kRunKey) + L"=" + FormatRunRecord(record)));
    std::vector<std::size_t> places = RecordLinePlaces(lines);
    places.resize(places.size() > kMaxRunRecords ? places.size() - kMaxRunRecords : 0);
    store.ReplaceSectionLines(kRecordsSection, Without(lines, places));
}

bool DeleteRunRecord(IniStore& store, std::size_t index, const RunRecord& record) {
    const std::vector<std::string> lines = store.SectionLines(kRecordsSection);
    const std::vector<std::size_t> places = RecordLinePlaces(lines);
    // The list shows the newest records only; index counts from the first of those.
    const std::size_t shownFrom = places.size() > kMaxRunRecords ? places.size() - kMaxRunRecords : 0;
    if (shownFrom + index >= places.size())
        return false;
    const std::size_t place = places[shownFrom + index];
    if (RecordOfLine(lines[place]) != record)
        return false;
    store.ReplaceSectionLines(kRecordsSection, Without(lines, {place}));
    return true;
}

void DeleteAllRunRecords(IniStore& store) {
    const std::vector<std::string> lines = store.SectionLines(kRecordsSection);
    if (lines.empty())
        return;
    store.ReplaceSectionLines(kRecordsSection, Without(lines, RecordLinePlaces(lines)));
}

std::optional<std::size_t> BestRunIndex(const std::vector<RunRecord>& records) {
    if (records.empty())
        return std::nullopt;
    // min_element keeps the first of equal elements: the earlier run.
    const auto best =
        std::min_element(records.begin(), records.end(),
                         [](const RunRecord& a, const RunRecord& b) { return a.elapsedMs < b.elapsedMs; });
    return static_cast<std::size_t>(best - records.begin());
}

std::optional<NewBest> NewBestOf(const std::vector<RunRecord>& records) {
    if (records.empty() || BestRunIndex(records) != records.size() - 1)
        return std::nullopt;
    const std::vector<RunRecord> before(records.begin(), records.end() - 1);
    const std::optional<std::size_t> previous = BestRunIndex(before);
    return NewBest{previous ? std::optional<long long>(before[*previous].elapsedMs) : std::nullopt};
}

std::wstring FormatRunTime(long long elapsedMs) {
    // The result line's time is "『 " + this + " 』" and an ideographic space.
    const std::wstring bracketed = FormatRecordTime(static_cast<double>(elapsedMs));
    return bracketed.substr(2, bracketed.size() - 5);
}

}  // namespace vellicot
