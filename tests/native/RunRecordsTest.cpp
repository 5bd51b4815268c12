// The record of runs: its line in the settings file, the lines a hand edit may leave there, the
// hundred kept with the best among them, deleting, the best-time rule and which copies are new.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/RunRecords.h"

namespace vellicot {
namespace {

constexpr std::wstring_view kCaption = L"Vellicot ver.1.40";
const std::string kBom = "\xEF\xBB\xBF";

RunRecord ARun(long long ms, std::wstring name = L"名無し", std::wstring date = L"2024/04/05 21:09") {
    return RunRecord{std::move(date), ms, std::wstring(kCaption), std::move(name)};
}

std::string Line(const RunRecord& record) {
    return "Run=" + Utf8FromWide(FormatRunRecord(record)) + "\r\n";
}

TEST(RunRecordsTest, TheLineKeepsTheCopiedValuesAndGivesTheResultLineBack) {
    const RunRecord example = ARun(187'250);
    EXPECT_EQ(FormatRunRecord(example), L"2024/04/05 21:09 | 03:07.250 | Vellicot ver.1.40 | \"名無し\"");
    EXPECT_EQ(
        ResultLineOf(example),
        L"名無し選手のただいまの記録 『 03分07.250秒 』\u3000(2024/04/05 21:09\u3000Vellicot ver.1.40 調べ)");

    // A record reads back from its line in the file, for halves, runs past an hour, other
    // separators and names with odd characters.
    struct CopyCase {
        double elapsedMs;
        LocalDateTime when;
        Separators separators;
        const wchar_t* name;
    };
    const CopyCase copies[] = {
        {187'250.5, {2024, 4, 5, 21, 9}, {}, L"名無し"},
        {187'251.5, {2024, 12, 31, 23, 59}, {}, L" spaced "},
        {61 * 60'000 + 5'000.4, {2025, 1, 2, 3, 4}, {L".", L"-"}, L"a \"quoted\" | barred"},
        {0, {2024, 4, 5, 0, 0}, {L"h", L"年"}, L""},
        {25 * 3'600'000.0, {2024, 4, 5, 21, 9}, {}, L"テスト　太郎"},
    };
    for (const CopyCase& c : copies) {
        const RunRecord record{FormatRecordDate(c.when, c.separators), RoundedElapsedMs(c.elapsedMs),
                               std::wstring(kCaption), c.name};
        EXPECT_EQ(ParseRunRecord(FormatRunRecord(record)), record) << c.elapsedMs;
    }
}

TEST(RunRecordsTest, HandEditedValuesReadWhenTheyHoldARunAndOnlyThen) {
    struct ValueCase {
        const wchar_t* value;
        std::optional<long long> ms;  // nothing: the line does not read
    };
    const ValueCase cases[] = {
        {L"2024/04/05 21:09 | 03:07.250 | Vellicot ver.1.40 | \"名無し\"", 187'250},
        {L"2024/04/05 21:09|3:07.250|Vellicot ver.1.40|\"x\"", 187'250},  // spacing and one minute digit
        {L"2024.04.05 21h09 | 00:00.000 | v | \"\"", 0},                  // other separators, empty name
        {L"2024/04/05 21:09 | 75:00.000 | v | \"x\"", 4'500'000},         // minutes past the hour
        {L"2024/04/05 21:09 | 999999999:59.999 | v | \"x\"", 59'999'999'999'999},
        // times past an hour written with hours, and other broken times
        {L"2024/04/05 21:09 | 1:02:03.000 | v | \"x\"", std::nullopt},
        {L"2024/04/05 21:09 | 01:60.000 | v | \"x\"", std::nullopt},
        {L"2024/04/05 21:09 | 01:5.000 | v | \"x\"", std::nullopt},
        {L"2024/04/05 21:09 | 01:05.00 | v | \"x\"", std::nullopt},
        {L"2024/04/05 21:09 | 01:05.0000 | v | \"x\"", std::nullopt},
        {L"2024/04/05 21:09 | 1000000000:00.000 | v | \"x\"", std::nullopt},
        {L"2024/04/05 21:09 | 187250 | v | \"x\"", std::nullopt},
        // negative
        {L"2024/04/05 21:09 | -01:05.000 | v | \"x\"", std::nullopt},
        {L"2024/04/05 21:09 | 01:-5.000 | v | \"x\"", std::nullopt},
        // text
        {L"hello", std::nullopt},
        {L"today | 03:07.250 | v | \"x\"", std::nullopt},
        {L"2024/04/05 21:09 | three minutes | v | \"x\"", std::nullopt},
        {L"2024/4/5 21:09 | 03:07.250 | v | \"x\"", std::nullopt},
        {L"2024/04/05/21:09 | 03:07.250 | v | \"x\"", std::nullopt},
        {L"2024/04/05 21:09 | 03:07.250 |  | \"x\"", std::nullopt},
        {L"2024/04/05 21:09 | 03:07.250 | v | x", std::nullopt},
        {L"2024/04/05 21:09 | 03:07.250 | v | \"", std::nullopt},
        {L"2024/04/05 21:09 | 03:07.250 | v", std::nullopt},
        {L"", std::nullopt},
    };
    for (const ValueCase& c : cases) {
        const std::optional<RunRecord> record = ParseRunRecord(c.value);
        ASSERT_EQ(record.has_value(), c.ms.has_value()) << Utf8FromWide(c.value);
        if (record) {
            EXPECT_EQ(record->elapsedMs, *c.ms) << Utf8FromWide(c.value);
        }
    }
}

TEST(RunRecordsTest, TheBestIsTheShortestTimeAndOfEqualTimesTheEarlierRun) {
    struct BestCase {
        std::vector<long long> ms;  // oldest first
        std::optional<std::size_t> best;
    };
    const BestCase cases[] = {
        {{}, std::nullopt},
        {{5'000}, 0},
        {{5'000, 4'999}, 1},
        {{4'999, 5'000}, 0},
        {{5'000, 3'000, 3'000}, 1},
        {{3'000, 5'000, 3'000}, 0},
        {{0, 0}, 0},
        {{9'000, 8'000, 7'000, 7'001}, 2},
    };
    for (const BestCase& c : cases) {
        std::vector<RunRecord> records;
        for (long long ms : c.ms)
            records.push_back(ARun(ms));
        EXPECT_EQ(BestRunIndex(records), c.best) << c.ms.size();
        // The newest run is announced as a new best exactly when it is the best.
        if (records.empty())
            continue;
        const RunRecord newest = records.back();
        records.pop_back();
        EXPECT_EQ(NewBestOf(records, newest).has_value(), *c.best == records.size()) << c.ms.size();
    }
    EXPECT_EQ(NewBestOf({}, ARun(5'000))->previousMs, std::nullopt) << "the first run";
    EXPECT_EQ(NewBestOf({ARun(5'000), ARun(6'000)}, ARun(4'000))->previousMs, 5'000);
    EXPECT_EQ(FormatRunTime(187'250), L"03分07.250秒");
    EXPECT_EQ(FormatRunTime(61 * 60'000), L"61分00.000秒");
}

TEST(RunRecordsTest, RecordsGoInASectionOfTheirOwnAndLeaveEverythingElseAsItWas) {
    IniStore store =
        IniStore::Parse(kBom + "[System]\r\nNAME=名無し\r\nchTopmost=0\r\n\r\n[Other]\r\nkeep=me\r\n\r\n");
    AddRunRecord(store, ARun(187'250));
    AddRunRecord(store, ARun(65'000, L"P2", L"2024/04/05 21:15"));
    EXPECT_EQ(store.Serialise(),
              kBom +
                  "[System]\r\nNAME=名無し\r\nchTopmost=0\r\n\r\n[Other]\r\nkeep=me\r\n\r\n"
                  "[Records]\r\n" +
                  Line(ARun(187'250)) + Line(ARun(65'000, L"P2", L"2024/04/05 21:15")) + "\r\n");
    EXPECT_EQ(ReadRunRecords(IniStore::Parse(store.Serialise())),
              (std::vector<RunRecord>{ARun(187'250), ARun(65'000, L"P2", L"2024/04/05 21:15")}));
}

TEST(RunRecordsTest, LinesThatDoNotReadAreSkippedAndKeptThroughAddsAndDeletes) {
    // Everything a hand edit may leave: broken values, other keys, a key written twice, a line
    // without "=", and a second section of the same name.
    const std::string before = kBom +
                               "[records]\r\n"
                               "Run=hello\r\n" +
                               Line(ARun(3'000, L"a")) +
                               "Run=2024/04/05 21:09 | -00:01.000 | v | \"neg\"\r\n"
                               "note=mine\r\n" +
                               Line(ARun(3'000, L"a")) +  // the same key and value twice: two runs
                               "loose words\r\n" + "RUN=2024/04/05 21:09 | 00:02.000 | v | \"upper\"\r\n" +
                               "\r\n[System]\r\nNAME=x\r\n\r\n[Records]\r\n" +
                               Line(ARun(1, L"second section")) + "\r\n";
    IniStore store = IniStore::Parse(before);
    EXPECT_EQ(ReadRunRecords(store),
              (std::vector<RunRecord>{ARun(3'000, L"a"), ARun(3'000, L"a"),
                                      RunRecord{L"2024/04/05 21:09", 2'000, L"v", L"upper"}}));
    EXPECT_EQ(store.Serialise(), before) << "reading changes nothing";

    AddRunRecord(store, ARun(9'000, L"new"));
    ASSERT_TRUE(DeleteRunRecord(store, 1, ARun(3'000, L"a")));
    EXPECT_FALSE(DeleteRunRecord(store, 1, ARun(3'000, L"a"))) << "index 1 now holds another run";
    EXPECT_FALSE(DeleteRunRecord(store, 7, ARun(3'000, L"a")));
    EXPECT_EQ(store.Serialise(),
              kBom +
                  "[records]\r\n"
                  "Run=hello\r\n" +
                  Line(ARun(3'000, L"a")) +
                  "Run=2024/04/05 21:09 | -00:01.000 | v | \"neg\"\r\n"
                  "note=mine\r\n"
                  "loose words\r\n" +
                  "RUN=2024/04/05 21:09 | 00:02.000 | v | \"upper\"\r\n" + Line(ARun(9'000, L"new")) +
                  "\r\n[System]\r\nNAME=x\r\n\r\n[Records]\r\n" + Line(ARun(1, L"second section")) + "\r\n");

    DeleteAllRunRecords(store);
    EXPECT_TRUE(ReadRunRecords(store).empty());
    EXPECT_EQ(store.Serialise(), kBom +
                                     "[records]\r\nRun=hello\r\n"
                                     "Run=2024/04/05 21:09 | -00:01.000 | v | \"neg\"\r\n"
                                     "note=mine\r\nloose words\r\n"
                                     "\r\n[System]\r\nNAME=x\r\n\r\n[Records]\r\n" +
                                     Line(ARun(1, L"second section")) + "\r\n");
}

// Of ten thousand runs edited in by hand, the oldest the best: the runs kept, shown and counted by the
// deletes are the best and the newest 99, and only a faster run takes the best's place.
TEST(RunRecordsTest, TenThousandLinesKeepTheBestAndTheNewestAndAnAddKeepsAHundredRunsAndEveryOtherLine) {
    std::string text = kBom + "[Records]\r\n";
    for (int i = 0; i < 10'000; ++i) {
        text += Line(ARun(100'000 + i, L"p" + std::to_wstring(i)));
        if (i % 100 == 0)
            text += "Run=broken " + std::to_string(i) + "\r\n";
    }
    text += "\r\n[System]\r\nNAME=x\r\n\r\n";
    IniStore store = IniStore::Parse(text);
    std::vector<RunRecord> shown = ReadRunRecords(store);
    ASSERT_EQ(shown.size(), kMaxRunRecords);
    EXPECT_EQ(shown.front().name, L"p0");
    EXPECT_EQ(shown[1].name, L"p9901");
    EXPECT_EQ(shown.back().name, L"p9999");
    // Deleting the second shown run deletes that one, not the file's second.
    ASSERT_TRUE(DeleteRunRecord(store, 1, ARun(109'901, L"p9901")));
    EXPECT_EQ(AddRunRecord(store, ARun(200'000, L"slower")), std::nullopt) << "no new best";
    EXPECT_EQ(ReadRunRecords(store).front().name, L"p0") << "the best stays";

    EXPECT_EQ(AddRunRecord(store, ARun(1, L"newest"))->previousMs, 100'000);
    const IniStore reread = IniStore::Parse(store.Serialise());
    shown = ReadRunRecords(reread);
    ASSERT_EQ(shown.size(), kMaxRunRecords);
    EXPECT_EQ(shown.front().name, L"p9902") << "the oldest run but the best went";
    EXPECT_EQ(shown.back().name, L"newest");
    const std::vector<std::string> lines = reread.SectionLines(kRecordsSection);
    EXPECT_EQ(lines.size(), kMaxRunRecords + 100) << "the hundred broken lines stay";
    EXPECT_EQ(lines.front(), "Run=broken 0");
    EXPECT_EQ(reread.ReadString(L"System", L"NAME", L""), L"x");
}

TEST(RunRecordsTest, AStoppedTimeCopiedAgainIsNoNewResult) {
    Stopwatch watch;
    const LocalDateTime when{2024, 4, 5, 21, 9};
    auto copy = [&](MonotonicMs now, LocalDateTime at) {
        bool isNew = false;
        watch.Copy(now, at, L"P", kCaption,
                   [&](const ResultCopy& result) { return isNew = result.isNew, true; });
        return isNew;
    };
    watch.Start(0);
    watch.Stop(10'000);
    // A copy whose keep failed on its way (the clipboard or the file held) is not kept.
    EXPECT_THROW(watch.Copy(10'500, when, L"P", kCaption, [](const ResultCopy&) -> bool { throw 1; }), int);
    watch.Copy(10'600, when, L"P", kCaption, [](const ResultCopy&) { return false; });  // given up
    EXPECT_TRUE(copy(11'000, when)) << "the next copy of the stopped time is still new";
    EXPECT_FALSE(copy(80'000, {2024, 4, 5, 21, 10})) << "the same stopped time a minute later";
    watch.Start(90'000);  // resumed: copies while running are each a new time
    EXPECT_TRUE(copy(91'000, when));
    EXPECT_TRUE(copy(92'000, when));
    watch.Stop(93'000);
    EXPECT_TRUE(copy(94'000, when));
    EXPECT_FALSE(copy(95'000, when));
    watch.Reset();
    watch.Start(100'000);
    watch.Stop(103'000);
    EXPECT_TRUE(copy(104'000, when)) << "a new run after a reset";
}

}  // namespace
}  // namespace vellicot
