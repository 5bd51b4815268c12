// The record of runs: its line in the settings file, the lines a hand edit may leave there, the
// hundred runs kept with the best among them, deleting and the best-time rule.
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

    // A run's line in the file reads back as the same record, for runs past an hour, other
    // separators and names with odd characters.
    const RunRecord records[] = {
        ARun(187'250),
        ARun(187'252, L" spaced ", L"2024/12/31 23:59"),
        ARun(61 * 60'000 + 5'000, L"a \"quoted\" | barred", L"2025-01-02 03.04"),
        ARun(0, L"", L"2024年04年05 00h00"),
        ARun(25 * 3'600'000LL, L"テスト　太郎"),
    };
    for (const RunRecord& record : records)
        EXPECT_EQ(ParseRunRecord(FormatRunRecord(record)), record) << record.elapsedMs;
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
        if (records.empty())
            continue;
        // The newest run is announced as a new best exactly when it is the best.
        const RunRecord newest = records.back();
        records.pop_back();
        EXPECT_EQ(NewBestOf(records, newest).has_value(), *c.best == records.size()) << c.ms.size();
    }
    EXPECT_EQ(NewBestOf({}, ARun(5'000))->previousMs, std::nullopt) << "the first run";
    EXPECT_EQ(NewBestOf({ARun(5'000), ARun(6'000)}, ARun(4'000))->previousMs, 5'000);
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

// A hand-edited file of ten thousand runs, the oldest the best: the runs kept are the best and the
// 99 newest, which the list shows, the deletes count in and the next add keeps; a slower run is no
// new best, and only a faster one takes the best's place.
TEST(RunRecordsTest, TheBestStaysAmongTheHundredKeptRunsHoweverManyComeAfterIt) {
    std::string text = kBom + "[Records]\r\n";
    for (int i = 0; i < 10'000; ++i) {
        text += Line(ARun(100'000 + i, L"p" + std::to_wstring(i)));
        if (i % 100 == 0)
            text += "Run=broken " + std::to_string(i) + "\r\n";
    }
    text += "\r\n[System]\r\nNAME=x\r\n\r\n";
    IniStore store = IniStore::Parse(text);
    auto names = [&] {
        std::vector<std::wstring> shown;
        for (const RunRecord& record : ReadRunRecords(IniStore::Parse(store.Serialise())))
            shown.push_back(record.name);
        return shown;
    };
    auto newestFrom = [](std::vector<std::wstring> front, int first) {
        for (int i = first; i < 10'000; ++i)
            front.push_back(L"p" + std::to_wstring(i));
        return front;
    };
    ASSERT_EQ(names(), newestFrom({L"p0"}, 9901));
    // Deleting the second run shown deletes that one, not the file's second; the list loses that row.
    EXPECT_FALSE(DeleteRunRecord(store, 1, ARun(100'001, L"p1")));
    ASSERT_TRUE(DeleteRunRecord(store, 1, ARun(109'901, L"p9901")));
    EXPECT_EQ(names(), newestFrom({L"p0"}, 9902));

    EXPECT_EQ(AddRunRecord(store, ARun(200'000, L"slower")), std::nullopt);
    std::vector<std::wstring> expected = newestFrom({L"p0"}, 9902);
    expected.push_back(L"slower");
    EXPECT_EQ(names(), expected);
    EXPECT_EQ(BestRunIndex(ReadRunRecords(store)), 0u) << "the best is still p0";

    const std::optional<NewBest> best = AddRunRecord(store, ARun(1, L"fastest"));
    ASSERT_TRUE(best);
    EXPECT_EQ(best->previousMs, 100'000);
    expected = newestFrom({}, 9902);  // p0 is no longer the best: the oldest of the others goes
    expected.insert(expected.end(), {L"slower", L"fastest"});
    EXPECT_EQ(names(), expected);

    const IniStore reread = IniStore::Parse(store.Serialise());
    const std::vector<std::string> lines = reread.SectionLines(kRecordsSection);
    EXPECT_EQ(lines.size(), kMaxRunRecords + 100) << "the hundred broken lines stay";
    EXPECT_EQ(lines.front(), "Run=broken 0");
    EXPECT_EQ(reread.ReadString(L"System", L"NAME", L""), L"x");
}

}  // namespace
}  // namespace vellicot
