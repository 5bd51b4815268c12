// The settings store: loading, lookups, the integer and boolean rules, writes, the serialiser's
// exact bytes, and bad input.
#include <gtest/gtest.h>

#include <string>

#include "core/IniStore.h"

namespace vellicot {
namespace {

constexpr std::wstring_view kSystem = L"System";
const std::string kBom = "\xEF\xBB\xBF";

struct IntegerCase {
    const char* text;
    std::optional<std::int32_t> value;
};

TEST(IniStoreTest, IntegerReadingRules) {
    const IntegerCase cases[] = {
        {"0", 0},
        {"42", 42},
        {"-42", -42},
        {"+7", 7},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        // "0x" when longer than two characters, in either case
        {"0x1", 1},
        {"0X1a", 26},
        {"0x", std::nullopt},
        {"0x-1", std::nullopt},
        {"0xFFFFFFFF", -1},
        {"0x80000000", INT32_MIN},
        {"0x7FFFFFFF", 2147483647},
        // "$", "x", "X" after an optional sign
        {"$FF", 255},
        {"xff", 255},
        {"X10", 16},
        {"-$10", -16},
        {"+x10", 16},
        {"$FFFFFFFF", -1},
        {"-$FFFFFFFF", 1},
        {"$000000001", 1},
        {"$0000000000FFFFFFFF", -1},
        {"$100000000", std::nullopt},
        {"$", std::nullopt},
        {"-$", std::nullopt},
        {"$G", std::nullopt},
        // leading spaces are skipped; anything else around the digits is not
        {"   12", 12},
        {"  -12", -12},
        {"12 ", std::nullopt},
        {"1.0", std::nullopt},
        {"1e3", std::nullopt},
        {" 0x1", std::nullopt},
        {"-0x1", std::nullopt},
        {"- 1", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"true", std::nullopt},
        {"\t1", std::nullopt},
    };
    for (const IntegerCase& c : cases)
        EXPECT_EQ(ParseIniInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(IniStoreTest, TypedReadsFallBackToTheDefault) {
    IniStore store = IniStore::Parse(
        "[System]\r\niSettingsBtnBGColor=0x1\r\nA=1.0\r\nEmpty=\r\nchTopmost=true\r\nZero=0\r\nTwo=2\r\n"
        "Minus=-1\r\nHexZero=0x0\r\nName=名無し\r\n");
    EXPECT_EQ(store.ReadInteger(kSystem, L"iSettingsBtnBGColor", 0), 1);
    EXPECT_EQ(store.ReadInteger(kSystem, L"A", 0), 0);
    EXPECT_EQ(store.ReadInteger(kSystem, L"A", 77), 77);
    EXPECT_EQ(store.ReadInteger(kSystem, L"Empty", 5), 5);
    EXPECT_EQ(store.ReadInteger(kSystem, L"Missing", -3), -3);
    EXPECT_EQ(store.ReadInteger(L"NoSuchSection", L"Zero", 9), 9);

    // Booleans are integers read with the default's number.
    EXPECT_TRUE(store.ReadBool(kSystem, L"chTopmost", true));
    EXPECT_FALSE(store.ReadBool(kSystem, L"chTopmost", false));
    EXPECT_FALSE(store.ReadBool(kSystem, L"Zero", true));
    EXPECT_TRUE(store.ReadBool(kSystem, L"Two", false));
    EXPECT_TRUE(store.ReadBool(kSystem, L"Minus", false));
    EXPECT_FALSE(store.ReadBool(kSystem, L"HexZero", true));
    EXPECT_TRUE(store.ReadBool(kSystem, L"Empty", true));
    EXPECT_FALSE(store.ReadBool(kSystem, L"Missing", false));

    // A present key with an empty value is the empty string, not the default.
    EXPECT_EQ(store.ReadString(kSystem, L"Empty", L"名無し"), L"");
    EXPECT_EQ(store.ReadString(kSystem, L"Missing", L"名無し"), L"名無し");
    EXPECT_EQ(store.ReadString(kSystem, L"Name", L""), L"名無し");
}

TEST(IniStoreTest, LoadingTrimsDropsCommentsAndSplitsAtTheFirstEquals) {
    const std::string file =
        "stray=before any section\n"
        "; comment\n"
        "  [  System  ]  \r\n"
        "\r\n"
        "   NAME   =   名無し さん   \r"
        "\t; indented comment\n"
        "Formula = a=b=c\r\n"
        "=orphan value\n"
        "no equals here\n"
        "Form1Top2=200";  // no line break at the end
    IniStore store = IniStore::Parse(file);
    ASSERT_EQ(store.Sections().size(), 1u);
    EXPECT_EQ(store.Sections()[0].name, "System");
    EXPECT_EQ(store.Sections()[0].lines,
              (std::vector<std::string>{"NAME=名無し さん", "Formula=a=b=c", "=orphan value",
                                        "no equals here", "Form1Top2=200"}));
    EXPECT_EQ(store.ReadString(kSystem, L"Formula", L""), L"a=b=c");
    EXPECT_EQ(store.ReadInteger(kSystem, L"Form1Top2", 0), 200);
    EXPECT_EQ(store.ReadString(kSystem, L"no equals here", L"default"), L"default");
    EXPECT_EQ(store.ReadString(kSystem, L"stray", L"gone"), L"gone");

    // Comments, blank lines and the spaces around "=" do not survive a rewrite.
    EXPECT_EQ(store.Serialise(), kBom +
                                     "[System]\r\nNAME=名無し さん\r\nFormula=a=b=c\r\n=orphan value\r\n"
                                     "no equals here\r\nForm1Top2=200\r\n\r\n");
}

TEST(IniStoreTest, LineEndsAndByteOrderMarkAreAllAccepted) {
    const std::string bodies[] = {
        "[S]\r\nA=1\r\nB=2\r\n", "[S]\nA=1\nB=2\n",         "[S]\rA=1\rB=2\r",
        "[S]\r\nA=1\nB=2\r",     "[S]\n\r\n\rA=1\r\r\nB=2",
    };
    for (const std::string& body : bodies) {
        for (const std::string& prefix : {std::string(), kBom}) {
            IniStore store = IniStore::Parse(prefix + body);
            EXPECT_EQ(store.Serialise(), kBom + "[S]\r\nA=1\r\nB=2\r\n\r\n") << body;
        }
    }
    // Only one leading mark is skipped; a second is text, which spoils a header on its line.
    EXPECT_EQ(IniStore::Parse(kBom + kBom + "\n[S]\nA=1\n").ReadInteger(L"S", L"A", 0), 1);
    EXPECT_TRUE(IniStore::Parse(kBom + kBom + "[S]\nA=1\n").Sections().empty());
}

TEST(IniStoreTest, SectionsAndKeysMatchWithoutRegardToCase) {
    IniStore store = IniStore::Parse("[system]\nform1top2=300\nname=Ann\n[Other]\nX=1\n");
    EXPECT_EQ(store.ReadInteger(L"SYSTEM", L"Form1Top2", 0), 300);
    EXPECT_EQ(store.ReadString(L"System", L"NAME", L""), L"Ann");

    // Written back in the program's letter case, in place; the section keeps its own spelling.
    store.WriteInteger(kSystem, L"Form1Top2", 310);
    store.WriteString(kSystem, L"NAME", L"Bob");
    EXPECT_EQ(store.Serialise(),
              kBom + "[system]\r\nForm1Top2=310\r\nNAME=Bob\r\n\r\n[Other]\r\nX=1\r\n\r\n");
}

TEST(IniStoreTest, WritesReplaceInPlaceOrAppendAndOtherSectionsSurvive) {
    IniStore store = IniStore::Parse(
        "[Before]\nKeep=me\n[System]\nNAME=Ann\nExtra=hand-written\nchTopmost=0\n[After]\nAlso=kept\n");
    store.WriteBool(kSystem, L"chTopmost", true);
    store.WriteString(kSystem, L"NAME", L"");
    store.WriteInteger(kSystem, L"Form2Left2", -15);
    store.WriteInteger(L"New", L"K", 3);
    EXPECT_EQ(store.Serialise(),
              kBom +
                  "[Before]\r\nKeep=me\r\n\r\n"
                  "[System]\r\nNAME=\r\nExtra=hand-written\r\nchTopmost=1\r\nForm2Left2=-15\r\n\r\n"
                  "[After]\r\nAlso=kept\r\n\r\n"
                  "[New]\r\nK=3\r\n\r\n");
    EXPECT_EQ(store.ReadString(kSystem, L"NAME", L"default"), L"");
    EXPECT_EQ(store.ReadInteger(kSystem, L"Form2Left2", 0), -15);
    EXPECT_EQ(store.ReadInteger(L"new", L"k", 0), 3);
}

TEST(IniStoreTest, FirstCloseWithoutAFileWritesTheKnownBytes) {
    IniStore store = IniStore::Parse("");
    store.WriteInteger(kSystem, L"Form1Top2", 200);
    store.WriteInteger(kSystem, L"Form1Left2", 800);
    store.WriteString(kSystem, L"NAME", L"名無し");
    store.WriteInteger(kSystem, L"Form2Top2", 180);
    store.WriteInteger(kSystem, L"Form2Left2", 800);
    store.WriteBool(kSystem, L"chTopmost", true);
    EXPECT_EQ(store.Serialise(),
              "\xEF\xBB\xBF[System]\r\nForm1Top2=200\r\nForm1Left2=800\r\nNAME="
              "\xE5\x90\x8D\xE7\x84\xA1\xE3\x81\x97\r\n"
              "Form2Top2=180\r\nForm2Left2=800\r\nchTopmost=1\r\n\r\n");
}

TEST(IniStoreTest, SettingsBeforeTheFirstCloseComeFirstInTheFile) {
    IniStore dialog = IniStore::Parse("");
    const wchar_t* settings[] = {L"iSettingsBtnBGColor", L"iSettingsTreeBtnTxtColor",
                                 L"iSettingsTreeBtnTxtBold", L"iSettingsTokuBtnTxtColor",
                                 L"iSettingsTokuBtnTxtBold"};
    for (int i = 0; i < 5; ++i)
        dialog.WriteInteger(kSystem, settings[i], i);
    IniStore close = IniStore::Parse(dialog.Serialise());
    close.WriteInteger(kSystem, L"Form1Top2", 1);
    close.WriteInteger(kSystem, L"Form1Left2", 2);
    close.WriteString(kSystem, L"NAME", L"N");
    close.WriteInteger(kSystem, L"Form2Top2", 3);
    close.WriteInteger(kSystem, L"Form2Left2", 4);
    close.WriteBool(kSystem, L"chTopmost", false);
    EXPECT_EQ(close.Serialise(), kBom +
                                     "[System]\r\niSettingsBtnBGColor=0\r\niSettingsTreeBtnTxtColor=1\r\n"
                                     "iSettingsTreeBtnTxtBold=2\r\niSettingsTokuBtnTxtColor=3\r\n"
                                     "iSettingsTokuBtnTxtBold=4\r\nForm1Top2=1\r\nForm1Left2=2\r\nNAME=N\r\n"
                                     "Form2Top2=3\r\nForm2Left2=4\r\nchTopmost=0\r\n\r\n");
}

TEST(IniStoreTest, WrittenLineBreaksCannotAddKeysOrSections) {
    IniStore store;
    store.WriteString(kSystem, L"NAME", L"Ann\r\n[Evil]\r\nchTopmost=0");
    IniStore reloaded = IniStore::Parse(store.Serialise());
    EXPECT_EQ(reloaded.Sections().size(), 1u);
    EXPECT_EQ(reloaded.ReadString(kSystem, L"NAME", L""), L"Ann  [Evil]  chTopmost=0");
    EXPECT_TRUE(reloaded.ReadBool(kSystem, L"chTopmost", true));
}

TEST(IniStoreTest, RepeatedSectionsAndKeysAnswerWithTheFirstAndSurvive) {
    const std::string file = "[A]\nK=1\nk=2\n[a]\nK=3\nL=4\n";
    IniStore store = IniStore::Parse(file);
    EXPECT_EQ(store.ReadInteger(L"A", L"K", 0), 1);
    EXPECT_EQ(store.ReadInteger(L"A", L"L", 0), 0) << "the second [a] is not searched";
    store.WriteInteger(L"a", L"K", 9);
    EXPECT_EQ(store.Serialise(), kBom + "[A]\r\nK=9\r\nk=2\r\n\r\n[a]\r\nK=3\r\nL=4\r\n\r\n");
}

TEST(IniStoreTest, HeadersNeedBothBrackets) {
    IniStore store = IniStore::Parse("[\n[S\n[]\nx=1\n[ [inner] ]\n[T]]\ny=2\n[S\n");
    ASSERT_EQ(store.Sections().size(), 3u);
    EXPECT_EQ(store.Sections()[0].name, "");
    EXPECT_EQ(store.Sections()[0].lines, std::vector<std::string>{"x=1"});
    EXPECT_EQ(store.Sections()[1].name, "[inner]");
    EXPECT_EQ(store.Sections()[2].name, "T]");
    EXPECT_EQ(store.Sections()[2].lines, (std::vector<std::string>{"y=2", "[S"}));
    EXPECT_EQ(store.ReadInteger(L"", L"x", 0), 1);
}

TEST(IniStoreTest, TextIsUtf8AtTheEdge) {
    EXPECT_EQ(WideFromUtf8("\xE5\x90\x8D\xE7\x84\xA1\xE3\x81\x97"), L"名無し");
    EXPECT_EQ(Utf8FromWide(L"名無し\u3000"), "\xE5\x90\x8D\xE7\x84\xA1\xE3\x81\x97\xE3\x80\x80");
    // Outside the Basic Multilingual Plane: one code point, whatever the size of wchar_t.
    std::wstring clef = WideFromUtf8("\xF0\x9D\x84\x9E");
    EXPECT_EQ(clef.size(), sizeof(wchar_t) == 2 ? 2u : 1u);
    EXPECT_EQ(Utf8FromWide(clef), "\xF0\x9D\x84\x9E");
    // A lone surrogate cannot be written as UTF-8.
    std::wstring lone(1, static_cast<wchar_t>(0xD800));
    EXPECT_EQ(Utf8FromWide(lone + L"a"),
              "\xEF\xBF\xBD"
              "a");
}

TEST(IniStoreTest, InvalidUtf8BecomesReplacementCharacters) {
    struct Case {
        std::string bytes;
        std::string valid;
    };
    const Case cases[] = {
        {"\xFF", "\xEF\xBF\xBD"},
        {"a\x80z", "a\xEF\xBF\xBDz"},
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                                  // overlong "/"
        {"\xE0\x80\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},                  // an encoded surrogate
        {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // past U+10FFFF
        {"\xE5\x90", "\xEF\xBF\xBD"},                                              // cut short at the end
        {"\xE5\x90=", "\xEF\xBF\xBD="},                                            // cut short before "="
        {"\xE5\x90\x8D", "\xE5\x90\x8D"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValidUtf8(c.bytes), c.valid);

    IniStore store = IniStore::Parse(
        "[System]\nNAME=A\xFF\xFE"
        "B\n\xE5\x90=1\n");
    EXPECT_EQ(store.ReadString(kSystem, L"NAME", L""), L"A\uFFFD\uFFFDB");
    EXPECT_EQ(store.ReadInteger(kSystem, L"\uFFFD", 0), 1);
    EXPECT_EQ(IniStore::Parse(store.Serialise()), store);
}

TEST(IniStoreTest, SmallOddFilesGiveSoundStores) {
    EXPECT_TRUE(IniStore::Parse("").Sections().empty());
    EXPECT_TRUE(IniStore::Parse(kBom).Sections().empty());
    EXPECT_TRUE(IniStore::Parse("[").Sections().empty());
    EXPECT_TRUE(IniStore::Parse("]").Sections().empty());
    EXPECT_TRUE(IniStore::Parse("\r\n\r\n\n\r").Sections().empty());
    EXPECT_EQ(IniStore::Parse("").Serialise(), kBom);

    // NUL bytes are trimmed at a line's ends like spaces; inside it they read as U+FFFD, so the
    // file never gets one back.
    constexpr char kWithNuls[] = "[S]\n\0K=a\0b\0\n";
    IniStore nul = IniStore::Parse(std::string(kWithNuls, sizeof kWithNuls - 1));
    EXPECT_EQ(nul.ReadString(L"S", L"K", L""), L"a\uFFFDb");
    EXPECT_EQ(nul.Serialise().find('\0'), std::string::npos);
    EXPECT_EQ(IniStore::Parse(nul.Serialise()), nul);
}

// The text as UTF-16 code units in the byte order asked for, with its byte-order mark first.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    auto append = [&](char16_t unit) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    };
    append(u'\uFEFF');
    for (char16_t unit : text)
        append(unit);
    return bytes;
}

TEST(IniStoreTest, FileSavedAsUtf16IsReadAsUtf16AndWrittenBackAsUtf8) {
    for (bool bigEndian : {false, true}) {
        IniStore store = IniStore::Parse(
            Utf16(u"; saved as Unicode\r\n[System]\r\nNAME=テスト　太郎\r\nForm1Top2=120\r\nchTopmost=0\r\n",
                  bigEndian));
        EXPECT_EQ(store.ReadString(kSystem, L"NAME", L""), L"テスト　太郎") << bigEndian;
        EXPECT_EQ(store.ReadInteger(kSystem, L"Form1Top2", 0), 120) << bigEndian;
        EXPECT_FALSE(store.ReadBool(kSystem, L"chTopmost", true)) << bigEndian;
        store.WriteInteger(kSystem, L"Form2Top2", 5);
        EXPECT_EQ(
            store.Serialise(),
            kBom + "[System]\r\nNAME=テスト　太郎\r\nForm1Top2=120\r\nchTopmost=0\r\nForm2Top2=5\r\n\r\n")
            << bigEndian;
    }
}

TEST(IniStoreTest, BrokenUtf16BecomesReplacementCharactersAndNoNul) {
    struct Case {
        std::string bytes;
        std::wstring name;
    };
    const std::string head = Utf16(u"[S]\nK=", false);
    const Case cases[] = {
        {head + std::string("a\0\x00\xD8"
                            "b\0",
                            6),
         L"a\uFFFDb"},  // a lone high surrogate
        {head + std::string("a\0\x00\xDC"
                            "b\0",
                            6),
         L"a\uFFFDb"},                                       // a lone low surrogate
        {head + std::string("a\0\0\0b\0", 6), L"a\uFFFDb"},  // U+0000
        {head + std::string("a\0b", 3), L"a\uFFFD"},         // an odd last byte
        {head + std::string("\x34\xD8\x1E\xDD", 4), WideFromUtf8("\xF0\x9D\x84\x9E")},  // a pair
    };
    for (const Case& c : cases) {
        IniStore store = IniStore::Parse(c.bytes);
        EXPECT_EQ(store.ReadString(L"S", L"K", L"<none>"), c.name);
        EXPECT_EQ(store.Serialise().find('\0'), std::string::npos);
    }
    // A mark alone, or with half a code unit, is an empty file.
    EXPECT_TRUE(IniStore::Parse("\xFF\xFE").Sections().empty());
    EXPECT_TRUE(IniStore::Parse("\xFE\xFF\x00").Sections().empty());
}

TEST(IniStoreTest, WrittenNulsNeverReachTheFile) {
    IniStore store;
    store.WriteString(std::wstring(L"S\0", 2), std::wstring(L"K\0", 2), std::wstring(L"a\0b", 3));
    const std::string bytes = store.Serialise();
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
    EXPECT_EQ(IniStore::Parse(bytes), store);
    EXPECT_EQ(store.ReadString(L"S\uFFFD", L"K\uFFFD", L""), L"a\uFFFDb");
}

TEST(IniStoreTest, MegabyteLinesHundredThousandSectionsAndFiftyMebibytes) {
    const std::string megabyte(1 << 20, 'v');
    IniStore wide = IniStore::Parse("[S]\nK=" + megabyte + "\n" + megabyte + "\n");
    EXPECT_EQ(wide.ReadString(L"S", L"K", L"").size(), megabyte.size());
    EXPECT_EQ(wide.Sections()[0].lines.size(), 2u);

    std::string many;
    for (int i = 0; i < 100'000; ++i)
        many += "[Section" + std::to_string(i) + "]\nKey=" + std::to_string(i) + "\n";
    IniStore sections = IniStore::Parse(many);
    EXPECT_EQ(sections.Sections().size(), 100'000u);
    EXPECT_EQ(sections.ReadInteger(L"section99999", L"key", -1), 99'999);
    EXPECT_EQ(sections.ReadInteger(L"Section50000", L"Key", -1), 50'000);
    sections.WriteInteger(L"Section0", L"Key", 7);
    EXPECT_EQ(IniStore::Parse(sections.Serialise()), sections);

    std::string big;
    big.reserve(50u << 20);
    big += "[System]\r\n";
    const std::string line = "Key" + std::string(90, 'x') + "=" + std::string(20, '7') + "\r\n";
    while (big.size() + line.size() < (50u << 20))
        big += line;
    big += "Last=5\r\n";
    IniStore large = IniStore::Parse(big);
    EXPECT_EQ(large.ReadInteger(kSystem, L"Last", 0), 5);
    EXPECT_EQ(large.Serialise(), kBom + big + "\r\n");
}

}  // namespace
}  // namespace vellicot
