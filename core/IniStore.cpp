// The settings store's parser, lookups, writes and serialiser, and its UTF-8 edge.
#include "core/IniStore.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <type_traits>

#include "core/Text.h"

namespace vellicot {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
constexpr char32_t kReplacement = 0xFFFD;

// One code point from s at i, moving i past it. An invalid sequence yields U+FFFD and moves past
// its longest valid beginning (at least one byte), so the next sequence starts cleanly.
char32_t DecodeOne(std::string_view s, std::size_t& i) noexcept {
    auto lead = static_cast<unsigned char>(s[i++]);
    if (lead < 0x80)
        return lead;
    int continuations = 0;
    char32_t cp = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;  // overlong
        if (lead == 0xED)
            high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        cp = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;  // overlong
        if (lead == 0xF4)
            high = 0x8F;  // beyond U+10FFFF
    } else {
        return kReplacement;
    }
    for (int k = 0; k < continuations; ++k) {
        if (i >= s.size())
            return kReplacement;
        auto next = static_cast<unsigned char>(s[i]);
        if (next < low || next > high)
            return kReplacement;
        low = 0x80;
        high = 0xBF;
        cp = (cp << 6) | (next & 0x3F);
        ++i;
    }
    return cp;
}

// The UTF-8 form of a code point, in the buffer given.
std::string_view EncodeUtf8(char32_t cp, char (&buffer)[4]) noexcept {
    if (cp < 0x80) {
        buffer[0] = static_cast<char>(cp);
        return {buffer, 1};
    }
    if (cp < 0x800) {
        buffer[0] = static_cast<char>(0xC0 | (cp >> 6));
        buffer[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return {buffer, 2};
    }
    if (cp < 0x10000) {
        buffer[0] = static_cast<char>(0xE0 | (cp >> 12));
        buffer[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        buffer[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return {buffer, 3};
    }
    buffer[0] = static_cast<char>(0xF0 | (cp >> 18));
    buffer[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    buffer[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    buffer[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return {buffer, 4};
}

bool IsSurrogate(char32_t cp) noexcept {
    return cp >= 0xD800 && cp <= 0xDFFF;
}

std::string_view Trim(std::string_view s) noexcept {
    std::size_t begin = 0, end = s.size();
    while (begin < end && static_cast<unsigned char>(s[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(s[end - 1]) <= 0x20)
        --end;
    return s.substr(begin, end - begin);
}

// The name part of a "key=value" line, or nothing for a line without "=".
std::optional<std::string_view> KeyOf(std::string_view line) noexcept {
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return line.substr(0, equals);
}

// Written text is one line: a CR or LF would otherwise start new keys or sections in the file. A NUL
// has no place in a text file either.
std::string OneLineUtf8(std::wstring_view text) {
    const std::string utf8 = Utf8FromWide(text);
    std::string line;
    line.reserve(utf8.size());
    for (char c : utf8) {
        if (c == '\r' || c == '\n')
            line += ' ';
        else if (c == '\0')
            line += kReplacementUtf8;
        else
            line += c;
    }
    return line;
}

// Where text goes: only counted, or appended to a string, so that a long text can be measured
// first and then built in a buffer of exactly its size.
struct CountingOut {
    std::size_t size = 0;
    void operator()(std::string_view piece) noexcept { size += piece.size(); }
};
struct AppendingOut {
    std::string& text;
    void operator()(std::string_view piece) { text.append(piece); }
};

// The text that fill gives, built in a string of exactly its size.
template <class Fill>
std::string ExactlySized(const Fill& fill) {
    CountingOut counter;
    fill(counter);
    std::string text;
    text.reserve(counter.size);
    AppendingOut appender{text};
    fill(appender);
    return text;
}

// The bytes with each invalid UTF-8 sequence, and each NUL when nulIsInvalid, as U+FFFD.
template <class Out>
void EmitValidUtf8(std::string_view bytes, bool nulIsInvalid, Out& out) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t begin = i;
        while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80 &&
               (bytes[i] != '\0' || !nulIsInvalid))
            ++i;
        if (i > begin) {
            out(bytes.substr(begin, i - begin));
            continue;
        }
        if (bytes[i] == '\0') {
            out(kReplacementUtf8);
            ++i;
        } else if (DecodeOne(bytes, i) == kReplacement) {
            out(kReplacementUtf8);
        } else {
            out(bytes.substr(begin, i - begin));
        }
    }
}

// The byte order of text that starts with a UTF-16 byte-order mark: true for big-endian.
std::optional<bool> Utf16ByteOrder(std::string_view bytes) noexcept {
    if (bytes.starts_with("\xFF\xFE"))
        return false;
    if (bytes.starts_with("\xFE\xFF"))
        return true;
    return std::nullopt;
}

// UTF-16 code units as UTF-8; a lone surrogate, and an odd byte at the end, become U+FFFD.
template <class Out>
void EmitUtf8FromUtf16(std::string_view units, bool bigEndian, Out& out) {
    auto unit = [&](std::size_t k) -> char32_t {
        const auto first = static_cast<unsigned char>(units[2 * k]);
        const auto second = static_cast<unsigned char>(units[2 * k + 1]);
        return bigEndian ? (char32_t{first} << 8) | second : (char32_t{second} << 8) | first;
    };
    const std::size_t count = units.size() / 2;
    char buffer[4];
    for (std::size_t k = 0; k < count; ++k) {
        char32_t cp = unit(k);
        if (cp >= 0xD800 && cp <= 0xDBFF && k + 1 < count && unit(k + 1) >= 0xDC00 && unit(k + 1) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(k + 1) - 0xDC00);
            ++k;
        } else if (IsSurrogate(cp)) {
            cp = kReplacement;
        }
        out(EncodeUtf8(cp, buffer));
    }
    if (units.size() % 2 != 0)
        out(kReplacementUtf8);
}

// Calls the sink for each section header (with its trimmed name) and for each line kept in a
// section (the trimmed line, or the trimmed key and value around its first "="), in file order.
template <class Sink>
void ScanLines(std::string_view all, Sink& sink) {
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < all.size()) {
        std::size_t end = all.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = all.size();
        std::string_view line = Trim(all.substr(pos, end - pos));
        pos = end;
        if (pos < all.size())
            pos += all.compare(pos, 2, "\r\n") == 0 ? 2 : 1;

        if (line.empty() || line.front() == ';')
            continue;
        // A lone "[" starts with "[" but does not end with "]", so a header has two characters at least.
        if (line.front() == '[' && line.back() == ']') {
            sink.Header(Trim(line.substr(1, line.size() - 2)));
            inSection = true;
            continue;
        }
        if (!inSection)
            continue;
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            sink.Line(line);
        else
            sink.Entry(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
}

// Puts the scanned lines into the store's own form (see IniStore::text_), as valid UTF-8 without NUL.
template <class Out>
struct StoredForm {
    Out& out;
    void Header(std::string_view name) {
        out("\r");
        EmitValidUtf8(name, true, out);
        out("\n");
    }
    void Line(std::string_view line) {
        EmitValidUtf8(line, true, out);
        out("\n");
    }
    void Entry(std::string_view key, std::string_view value) {
        EmitValidUtf8(key, true, out);
        out("=");
        EmitValidUtf8(value, true, out);
        out("\n");
    }
};

std::string StoredText(std::string_view utf8) {
    return ExactlySized([&](auto& out) {
        StoredForm<std::remove_reference_t<decltype(out)>> form{out};
        ScanLines(utf8, form);
    });
}

int HexDigit(char c) noexcept {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) noexcept {
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool negative = false;
    bool hex = false;
    if (n > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        i = 2;
        hex = true;
    } else {
        while (i < n && text[i] == ' ')
            ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            ++i;
        }
        if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
            hex = true;
            ++i;
        }
    }
    if (i >= n)
        return std::nullopt;
    if (hex) {
        std::uint32_t pattern = 0;
        int significant = 0;
        for (; i < n; ++i) {
            int digit = HexDigit(text[i]);
            if (digit < 0)
                return std::nullopt;
            if ((pattern != 0 || digit != 0) && ++significant > 8)
                return std::nullopt;
            pattern = (pattern << 4) | static_cast<std::uint32_t>(digit);
        }
        if (negative)
            pattern = 0u - pattern;
        return static_cast<std::int32_t>(pattern);
    }
    constexpr std::int64_t kMagnitudeLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kMagnitudeLimit)
            return std::nullopt;
    }
    std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::string ValidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    AppendingOut appender{out};
    EmitValidUtf8(bytes, false, appender);
    return out;
}

std::wstring WideFromUtf8(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t cp = DecodeOne(text, i);
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0x10000) {
                cp -= 0x10000;
                wide += static_cast<wchar_t>(0xD800 + (cp >> 10));
                wide += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
                continue;
            }
        }
        wide += static_cast<wchar_t>(cp);
    }
    return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto cp = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            cp &= 0xFFFF;
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
                auto low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if (IsSurrogate(cp) || cp > 0x10FFFF)
            cp = kReplacement;
        char buffer[4];
        utf8 += EncodeUtf8(cp, buffer);
    }
    return utf8;
}

IniStore IniStore::Parse(std::string_view bytes) {
    IniStore store;
    if (std::optional<bool> bigEndian = Utf16ByteOrder(bytes)) {
        const std::string_view units = bytes.substr(2);
        const std::string utf8 = ExactlySized([&](auto& out) { EmitUtf8FromUtf16(units, *bigEndian, out); });
        store.text_ = StoredText(utf8);
        return store;
    }
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    store.text_ = StoredText(bytes);
    return store;
}

std::string IniStore::Serialise() const {
    // A header's CR becomes "[" and its LF "]" CR LF, every other LF becomes CR LF, and each
    // section ends with an empty line.
    const auto headers = static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\r'));
    const auto lineEnds = static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\n'));
    std::string out;
    out.reserve(kByteOrderMark.size() + text_.size() + lineEnds + 3 * headers);
    out += kByteOrderMark;
    const std::string_view text = text_;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = text.find('\n', pos);
        const std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.front() == '\r') {
            if (pos != 0)
                out += "\r\n";
            out += '[';
            out += line.substr(1);
            out += "]\r\n";
        } else {
            out += line;
            out += "\r\n";
        }
        pos = end + 1;
    }
    if (!text.empty())
        out += "\r\n";
    return out;
}

std::vector<IniSection> IniStore::Sections() const {
    std::vector<IniSection> sections;
    const std::string_view text = text_;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = text.find('\n', pos);
        const std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.front() == '\r')
            sections.push_back(IniSection{std::string(line.substr(1)), {}});
        else
            sections.back().lines.emplace_back(line);
        pos = end + 1;
    }
    return sections;
}

std::vector<std::string> IniStore::SectionLines(std::wstring_view section) const {
    std::vector<std::string> lines;
    const std::optional<Span> span = FindSection(OneLineUtf8(section));
    if (!span)
        return lines;
    const std::string_view text = text_;
    for (std::size_t pos = span->begin; pos < span->end;) {
        const std::size_t end = text.find('\n', pos);
        lines.emplace_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

void IniStore::ReplaceSectionLines(std::wstring_view section, const std::vector<std::string>& lines) {
    std::string replacement;
    for (const std::string& line : lines) {
        const std::string kept = OneLineUtf8(WideFromUtf8(line));
        assert(!kept.empty() && kept.front() != ';' && Trim(kept) == kept &&
               !(kept.front() == '[' && kept.back() == ']') &&
               "a section line must read back as itself: pass lines the store keeps");
        replacement += kept;
        replacement += '\n';
    }
    const std::string sectionName = OneLineUtf8(section);
    if (const std::optional<Span> span = FindSection(sectionName)) {
        text_.replace(span->begin, span->end - span->begin, replacement);
        return;
    }
    text_ += '\r';
    text_ += sectionName;
    text_ += '\n';
    text_ += replacement;
}

std::optional<std::string_view> IniStore::ValueOfLine(std::string_view line, std::string_view key) noexcept {
    const std::optional<std::string_view> name = KeyOf(line);
    if (!name || !SameIgnoringAsciiCase(*name, key))
        return std::nullopt;
    return line.substr(name->size() + 1);
}

std::optional<IniStore::Span> IniStore::FindSection(std::string_view name) const {
    const std::string_view text = text_;
    std::size_t pos = 0;
    while (pos < text.size()) {
        // pos is at the CR that opens a header.
        const std::size_t nameEnd = text.find('\n', pos);
        const std::size_t linesBegin = nameEnd + 1;
        const std::size_t next = std::min(text.find('\r', linesBegin), text.size());
        if (SameIgnoringAsciiCase(text.substr(pos + 1, nameEnd - pos - 1), name))
            return Span{linesBegin, next};
        pos = next;
    }
    return std::nullopt;
}

std::optional<std::string_view> IniStore::FindValue(std::string_view section, std::string_view key) const {
    const std::optional<Span> lines = FindSection(section);
    if (!lines)
        return std::nullopt;
    const std::string_view text = text_;
    for (std::size_t pos = lines->begin; pos < lines->end;) {
        const std::size_t end = text.find('\n', pos);
        if (std::optional<std::string_view> value = ValueOfLine(text.substr(pos, end - pos), key))
            return value;
        pos = end + 1;
    }
    return std::nullopt;
}

std::wstring IniStore::ReadString(std::wstring_view section, std::wstring_view key,
                                  std::wstring_view def) const {
    std::optional<std::string_view> value = FindValue(Utf8FromWide(section), Utf8FromWide(key));
    return value ? WideFromUtf8(*value) : std::wstring(def);
}

std::int32_t IniStore::ReadInteger(std::wstring_view section, std::wstring_view key, std::int32_t def) const {
    std::optional<std::string_view> value = FindValue(Utf8FromWide(section), Utf8FromWide(key));
    if (!value)
        return def;
    return ParseIniInteger(*value).value_or(def);
}

bool IniStore::ReadBool(std::wstring_view section, std::wstring_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniStore::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    const std::string sectionName = OneLineUtf8(section);
    std::string line = OneLineUtf8(key);
    assert(line.find('=') == std::string::npos && "a key cannot hold '=': it would read back as another key");
    const std::size_t keySize = line.size();
    line += '=';
    line += OneLineUtf8(value);

    const std::optional<Span> lines = FindSection(sectionName);
    if (!lines) {
        text_ += '\r';
        text_ += sectionName;
        text_ += '\n';
        text_ += line;
        text_ += '\n';
        return;
    }
    const std::string_view key8 = std::string_view(line).substr(0, keySize);
    for (std::size_t pos = lines->begin; pos < lines->end;) {
        const std::size_t end = text_.find('\n', pos);
        if (ValueOfLine(std::string_view(text_).substr(pos, end - pos), key8)) {
            text_.replace(pos, end - pos, line);
            return;
        }
        pos = end + 1;
    }
    line += '\n';
    text_.insert(lines->end, line);
}

void IniStore::WriteInteger(std::wstring_view section, std::wstring_view key, std::int32_t value) {
    WriteString(section, key, std::to_wstring(value));
}

void IniStore::WriteBool(std::wstring_view section, std::wstring_view key, bool value) {
    WriteString(section, key, value ? L"1" : L"0");
}

}  // namespace vellicot
