// The settings store's parser, lookups, writes and serialiser, and its UTF-8 edge.
#include "shell/IniStore.h"

#include <cassert>
#include <limits>

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

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
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

char FoldCase(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string_view s) {
    std::string folded(s);
    for (char& c : folded)
        c = FoldCase(c);
    return folded;
}

bool EqualFolded(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

// The name part of a "key=value" line, or nothing for a line without "=".
std::optional<std::string_view> KeyOf(std::string_view line) noexcept {
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return line.substr(0, equals);
}

// Written text is one line: a CR or LF would otherwise start new keys or sections in the file.
std::string OneLineUtf8(std::wstring_view text) {
    std::string utf8 = Utf8FromWide(text);
    for (char& c : utf8) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return utf8;
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
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t begin = i;
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80)
                ++i;
            out.append(bytes.substr(begin, i - begin));
            continue;
        }
        if (DecodeOne(bytes, i) == kReplacement)
            out += kReplacementUtf8;
        else
            out.append(bytes.substr(begin, i - begin));
    }
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
        AppendUtf8(utf8, cp);
    }
    return utf8;
}

IniStore IniStore::Parse(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    const std::string text = ValidUtf8(bytes);
    const std::string_view all = text;

    IniStore store;
    IniSection* current = nullptr;
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
            current = &store.AddSection(std::string(Trim(line.substr(1, line.size() - 2))));
            continue;
        }
        if (current == nullptr)
            continue;
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            current->lines.emplace_back(line);
            continue;
        }
        std::string stored(Trim(line.substr(0, equals)));
        stored += '=';
        stored += Trim(line.substr(equals + 1));
        current->lines.push_back(std::move(stored));
    }
    return store;
}

std::string IniStore::Serialise() const {
    std::size_t size = kByteOrderMark.size();
    for (const IniSection& section : sections_) {
        size += section.name.size() + 6;
        for (const std::string& line : section.lines)
            size += line.size() + 2;
    }
    std::string out;
    out.reserve(size);
    out += kByteOrderMark;
    for (const IniSection& section : sections_) {
        out += '[';
        out += section.name;
        out += "]\r\n";
        for (const std::string& line : section.lines) {
            out += line;
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

const IniSection* IniStore::FindSection(std::string_view name) const {
    auto found = index_.find(Folded(name));
    return found == index_.end() ? nullptr : &sections_[found->second];
}

std::optional<std::string_view> IniStore::FindValue(std::string_view section, std::string_view key) const {
    const IniSection* found = FindSection(section);
    if (found == nullptr)
        return std::nullopt;
    for (const std::string& line : found->lines) {
        std::optional<std::string_view> name = KeyOf(line);
        if (name && EqualFolded(*name, key))
            return std::string_view(line).substr(name->size() + 1);
    }
    return std::nullopt;
}

IniSection& IniStore::AddSection(std::string name) {
    index_.try_emplace(Folded(name), sections_.size());
    sections_.push_back(IniSection{std::move(name), {}});
    return sections_.back();
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
    std::string sectionName = OneLineUtf8(section);
    std::string line = OneLineUtf8(key);
    assert(line.find('=') == std::string::npos && "a key cannot hold '=': it would read back as another key");
    const std::size_t keySize = line.size();
    line += '=';
    line += OneLineUtf8(value);

    auto found = index_.find(Folded(sectionName));
    IniSection& target =
        found == index_.end() ? AddSection(std::move(sectionName)) : sections_[found->second];
    std::string_view key8 = std::string_view(line).substr(0, keySize);
    for (std::string& existing : target.lines) {
        std::optional<std::string_view> name = KeyOf(existing);
        if (name && EqualFolded(*name, key8)) {
            existing = std::move(line);
            return;
        }
    }
    target.lines.push_back(std::move(line));
}

void IniStore::WriteInteger(std::wstring_view section, std::wstring_view key, std::int32_t value) {
    WriteString(section, key, std::to_wstring(value));
}

void IniStore::WriteBool(std::wstring_view section, std::wstring_view key, bool value) {
    WriteString(section, key, value ? L"1" : L"0");
}

}  // namespace vellicot
