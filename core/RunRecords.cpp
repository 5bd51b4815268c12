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

// The record a stored line reads as, when its key is the record's key (UTF-8).
std::optional<RunRecord> RecordOfLine(std::string_view line, std::string_view runKey) {
    const std::optional<std::string_view> value = IniStore::ValueOfLine(line, runKey);
    if (!value)
        return std::nullopt;
    return ParseRunRecord(WideFromUtf8(*value));
}

// The section's lines and the runs among them.
struct SectionRuns {
    std::vector<std::string> lines;
    std::vector<std::size_t> places;  // the lines that read as records, in file order
    std::vector<RunRecord> records;   // what each of them reads as
    std::string runKey = Utf8FromWide(kRunKey);

    explicit SectionRuns(const IniStore& store) : lines(store.SectionLines(kRecordsSection)) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            Take(i);
    }
    // Counts the line at place among the runs when it reads as one.
    void Take(std::size_t place) {
        if (std::optional<RunRecord> record = RecordOfLine(lines[place], runKey)) {
            places.push_back(place);
            records.push_back(std::move(*record));
        }
    }
};

// The runs the limit keeps, as ascending indices into records: all of them up to kMaxRunRecords,
// past it the best and the newest of the others.
std::vector<std::size_t> KeptRuns(const std::vector<RunRecord>& records) {
    std::vector<std::size_t> kept;
    std::size_t from = 0;
    if (records.size() > kMaxRunRecords) {
        from = records.size() - kMaxRunRecords;
        const std::size_t best = *BestRunIndex(records);
        if (best < from) {
            kept.push_back(best);
            ++from;
        }
    }
    for (std::size_t i = from; i < records.size(); ++i)
        kept.push_back(i);
    return kept;
}

std::vector<RunRecord> RecordsAt(const SectionRuns& section, const std::vector<std::size_t>& kept) {
    std::vector<RunRecord> records;
    records.reserve(kept.size());
    for (std::size_t index : kept)
        records.push_back(section.records[index]);
    return records;
}

// Writes the section back with the kept runs (ascending indices into its records) and every line
// that is no run.
void KeepRuns(IniStore& store, const SectionRuns& section, const std::vector<std::size_t>& kept) {
    std::vector<bool> goes(section.lines.size(), false);
    for (std::size_t place : section.places)
        goes[place] = true;
    for (std::size_t index : kept)
        goes[section.places[index]] = false;
    std::vector<std::string> lines;
    lines.reserve(section.lines.size());
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        if (!goes[i])
            lines.push_back(section.lines[i]);
    }
    store.ReplaceSectionLines(kRecordsSection, lines);
}

}  // namespace

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
    const SectionRuns section(store);
    return RecordsAt(section, KeptRuns(section.records));
}

std::optional<NewBest> NewBestOf(const std::vector<RunRecord>& before, const RunRecord& record) {
    const std::optional<std::size_t> best = BestRunIndex(before);
    if (!best)
        return NewBest{};
    if (record.elapsedMs < before[*best].elapsedMs)
        return NewBest{before[*best].elapsedMs};
    return std::nullopt;
}

std::optional<NewBest> AddRunRecord(IniStore& store, const RunRecord& record) {
    SectionRuns section(store);
    const std::optional<NewBest> newBest = NewBestOf(RecordsAt(section, KeptRuns(section.records)), record);
    section.lines.push_back(Utf8FromWide(std::wstring(kRunKey) + L"=" + FormatRunRecord(record)));
    section.Take(section.lines.size() - 1);
    KeepRuns(store, section, KeptRuns(section.records));
    return newBest;
}

bool DeleteRunRecord(IniStore& store, std::size_t index, const RunRecord& record) {
    const SectionRuns section(store);
    std::vector<std::size_t> kept = KeptRuns(section.records);
    if (index >= kept.size() || section.records[kept[index]] != record)
        return false;
    kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(index));
    KeepRuns(store, section, kept);
    return true;
}

void DeleteAllRunRecords(IniStore& store) {
    const SectionRuns section(store);
    if (!section.places.empty())
        KeepRuns(store, section, {});
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

}  // namespace vellicot
