// The record of runs: each result the player copied, kept in the settings file's own section as
// text a person can read and edit, and the best time among them (自己ベスト).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/IniStore.h"
#include "core/Stopwatch.h"

namespace vellicot {

inline constexpr std::wstring_view kRecordsSection = L"Records";
inline constexpr std::wstring_view kRunKey = L"Run";
inline constexpr std::size_t kMaxRunRecords = 100;

// One copied result, with exactly the values of its line.
struct RunRecord {
    std::wstring date;        // the date and time as the line shows them, "2024/04/05 21:09"
    long long elapsedMs = 0;  // whole milliseconds, as the line shows them
    std::wstring caption;     // the main window's title the line names, "Vellicot ver.1.40"
    std::wstring name;        // the player's name, as typed

    bool operator==(const RunRecord&) const = default;
};

// The record of a copy: the same values the result line is made of.
RunRecord RecordOfCopy(std::wstring_view name, double elapsedMs, const LocalDateTime& when,
                       std::wstring_view caption, const Separators& separators);

// The line 結果COPY put on the clipboard for this record, character for character.
std::wstring ResultLineOf(const RunRecord& record);

// The value of a record's "Run=" line: date and time, time, title and the name in double quotes,
// each after " | ": 2024/04/05 21:09 | 03:07.250 | Vellicot ver.1.40 | "名無し". The time is
// minutes (counting past the hour), seconds and milliseconds; the name is everything between the
// quotes, so it may hold spaces at its ends, quotes and bars.
std::wstring FormatRunRecord(const RunRecord& record);
// The record a value reads as, or nothing: a date and time of digits yyyy?MM?dd HH?mm (any
// separators), a time whose seconds are below 60, a title, and a quoted name.
std::optional<RunRecord> ParseRunRecord(std::wstring_view value);

// The records of the section that read, oldest first: the newest kMaxRunRecords of them.
std::vector<RunRecord> ReadRunRecords(const IniStore& store);

// Adds a record as the newest; the oldest records past kMaxRunRecords go. Lines that do not read
// as records stay where they are.
void AddRunRecord(IniStore& store, const RunRecord& record);
// Removes the record shown at index (oldest first, as ReadRunRecords gives them), when it is still
// that record; false when it is not there.
bool DeleteRunRecord(IniStore& store, std::size_t index, const RunRecord& record);
// Removes every line that reads as a record; the others stay.
void DeleteAllRunRecords(IniStore& store);

// The best time's index: the shortest time, and of equal times the earlier run. Nothing when empty.
std::optional<std::size_t> BestRunIndex(const std::vector<RunRecord>& records);

// A newest record (the last) that is the best: the best time before it, when there was one.
struct NewBest {
    std::optional<long long> previousMs;
};
std::optional<NewBest> NewBestOf(const std::vector<RunRecord>& records);

// A time as the result line shows it, without its brackets: "03分07.250秒".
std::wstring FormatRunTime(long long elapsedMs);

}  // namespace vellicot
