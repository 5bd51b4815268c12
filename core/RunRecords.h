// The record of runs: each result the player copied (a RunRecord, core/Stopwatch.h), kept in the
// settings file's own section as text a person can read and edit, and the best time among them
// (自己ベスト), which the limit on kept runs never removes.
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

// The value of a record's "Run=" line: date and time, time, title and the name in double quotes,
// each after " | ": 2024/04/05 21:09 | 03:07.250 | Vellicot ver.1.40 | "名無し". The time is
// minutes (counting past the hour), seconds and milliseconds; the name is everything between the
// quotes, so it may hold spaces at its ends, quotes and bars.
std::wstring FormatRunRecord(const RunRecord& record);
// The record a value reads as, or nothing: a date and time of digits yyyy?MM?dd HH?mm (any
// separators), a time whose seconds are below 60, a title, and a quoted name.
std::optional<RunRecord> ParseRunRecord(std::wstring_view value);

// The runs kept: of the section's lines that read as records ("Run=" in any letter case, as the
// store reads keys), at most kMaxRunRecords, oldest first: the best of them all (BestRunIndex) and
// the newest of the others. Only a file edited by hand holds more; the next add or delete leaves it
// with these alone. The record window lists exactly these, and DeleteRunRecord's index counts in
// them, so the best shown is the best of every run that reads and a delete takes one row away.
std::vector<RunRecord> ReadRunRecords(const IniStore& store);

// A record that beats every run kept before it, or is the first: the best time before it.
struct NewBest {
    std::optional<long long> previousMs;
};
// Whether record is a new best over the runs kept before it (oldest first): strictly faster than
// their best, since of equal times the earlier run is the best.
std::optional<NewBest> NewBestOf(const std::vector<RunRecord>& before, const RunRecord& record);

// Adds a record as the newest; the section then keeps only the runs ReadRunRecords gives, so past
// kMaxRunRecords the oldest run that is not the best goes. Lines that do not read as records stay
// where they are. Whether the record is a new best (NewBestOf against the runs kept before).
std::optional<NewBest> AddRunRecord(IniStore& store, const RunRecord& record);
// Removes the run at index in ReadRunRecords when it is still that record, the best too, and keeps
// the runs ReadRunRecords gave but that one; false when it is not there.
bool DeleteRunRecord(IniStore& store, std::size_t index, const RunRecord& record);
// Removes every line that reads as a record; the others stay.
void DeleteAllRunRecords(IniStore& store);

// The best time's index: the shortest time, and of equal times the earlier run. Nothing when empty.
std::optional<std::size_t> BestRunIndex(const std::vector<RunRecord>& records);

}  // namespace vellicot
