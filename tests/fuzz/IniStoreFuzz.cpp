// Fuzzes the settings store with any bytes (UTF-8 or, after its byte-order mark, UTF-16): parse,
// serialise and parse again must agree, no NUL is ever written, typed reads must answer (and agree
// with each other), and writes must survive a reload; a record of runs added to whatever the record
// section holds comes back as the newest, and every line that is not a run stays in its order.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/IniStore.h"
#include "core/RunRecords.h"

namespace {

using namespace vellicot;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

std::string_view TrimmedLikeTheLoader(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20)
        s.remove_suffix(1);
    return s;
}

void CheckReads(const IniStore& store) {
    int reads = 0;
    for (const IniSection& section : store.Sections()) {
        const std::wstring name = WideFromUtf8(section.name);
        for (const std::string& line : section.lines) {
            if (++reads > 64)
                return;
            const std::size_t equals = line.find('=');
            const std::wstring key = WideFromUtf8(std::string_view(line).substr(0, equals));

            (void)store.ReadString(name, key, L"default");
            const std::int32_t a = store.ReadInteger(name, key, 11);
            const std::int32_t b = store.ReadInteger(name, key, -22);
            // Either the stored text is an integer (both reads give it) or both give their defaults.
            Require(a == b || (a == 11 && b == -22));
            Require(store.ReadBool(name, key, true) == (store.ReadInteger(name, key, 1) != 0));
            Require(store.ReadBool(name, key, false) == (store.ReadInteger(name, key, 0) != 0));

            if (equals != std::string::npos) {
                std::optional<std::int32_t> value =
                    ParseIniInteger(std::string_view(line).substr(equals + 1));
                // Whatever form it was read from, its decimal form reads back the same.
                if (value)
                    Require(ParseIniInteger(std::to_string(*value)) == value);
            }
        }
    }
}

void CheckWrites(const IniStore& original, std::string_view bytes) {
    IniStore edited = original;
    const std::wstring name = WideFromUtf8(bytes.substr(0, 64));
    const std::int32_t number =
        ParseIniInteger(bytes.substr(0, 12)).value_or(static_cast<std::int32_t>(bytes.size()));
    edited.WriteString(L"System", L"NAME", name);
    edited.WriteInteger(L"System", L"Form1Top2", number);
    edited.WriteBool(L"System", L"chTopmost", number % 2 != 0);

    const std::string rewritten = edited.Serialise();
    Require(rewritten.find('\0') == std::string::npos);
    IniStore reloaded = IniStore::Parse(rewritten);
    Require(IniStore::Parse(reloaded.Serialise()) == reloaded);
    Require(reloaded.ReadInteger(L"SYSTEM", L"form1top2", number == 0 ? 1 : 0) == number);
    Require(reloaded.ReadBool(L"System", L"chTopmost", number % 2 == 0) == (number % 2 != 0));

    // The name comes back as one line without NUL, trimmed like any loaded value.
    std::string expected;
    for (char c : Utf8FromWide(name)) {
        if (c == '\r' || c == '\n')
            expected += ' ';
        else if (c == '\0')
            expected += "\xEF\xBF\xBD";
        else
            expected += c;
    }
    Require(Utf8FromWide(reloaded.ReadString(L"System", L"NAME", L"")) == TrimmedLikeTheLoader(expected));
}

// The section's lines that are not runs, in order.
std::vector<std::string> OtherLines(const IniStore& store) {
    std::vector<std::string> others;
    for (const std::string& line : store.SectionLines(kRecordsSection)) {
        const std::size_t equals = line.find('=');
        const bool run = equals == 3 && (line[0] | 0x20) == 'r' && (line[1] | 0x20) == 'u' &&
                         (line[2] | 0x20) == 'n' && ParseRunRecord(WideFromUtf8(line.substr(4)));
        if (!run)
            others.push_back(line);
    }
    return others;
}

void CheckRunRecords(const IniStore& original, std::string_view bytes) {
    const std::vector<RunRecord> before = ReadRunRecords(original);
    Require(before.size() <= kMaxRunRecords);
    const RunRecord record{L"2024/04/05 21:09", static_cast<long long>(bytes.size()) * 997,
                           L"Vellicot ver.1.40", WideFromUtf8(bytes.substr(0, 16))};
    IniStore edited = original;
    AddRunRecord(edited, record);
    const IniStore reloaded = IniStore::Parse(edited.Serialise());
    const std::vector<RunRecord> after = ReadRunRecords(reloaded);
    Require(OtherLines(reloaded) == OtherLines(original));
    // A name with a line break or a NUL is written as one line, and may read as another name.
    const bool plainName = record.name.find_first_of(std::wstring(L"\r\n\0", 3)) == std::wstring::npos;
    if (plainName && ParseRunRecord(FormatRunRecord(record)) == record) {
        Require(!after.empty() && after.back() == record);
        Require(after.size() == std::min(before.size() + 1, kMaxRunRecords));
    }
    DeleteAllRunRecords(edited);
    Require(ReadRunRecords(edited).empty());
    Require(OtherLines(edited) == OtherLines(original));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const IniStore first = IniStore::Parse(bytes);
    const std::string written = first.Serialise();
    const IniStore second = IniStore::Parse(written);
    Require(second == first);
    Require(second.Serialise() == written);
    // The file is text: whatever came in, and whatever was written, no NUL goes out.
    Require(written.find('\0') == std::string::npos);

    // Whatever came in, what is stored is valid UTF-8 and converts both ways unchanged.
    for (const IniSection& section : first.Sections()) {
        Require(ValidUtf8(section.name) == section.name);
        Require(Utf8FromWide(WideFromUtf8(section.name)) == section.name);
    }

    CheckReads(first);
    CheckWrites(first, bytes);
    CheckRunRecords(first, bytes);
    return 0;
}
