// The settings store: INI text parsed from bytes into sections and keys, typed reads with defaults,
// in-place writes and serialising back to bytes. It never touches the file system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellicot {

// One section as the store holds it: its name and its lines ("key=value", or a line without "="
// kept as it was), all in UTF-8. Sections() hands them out in this form for inspection.
struct IniSection {
    std::string name;
    std::vector<std::string> lines;

    bool operator==(const IniSection&) const = default;
};

// The integer reading of a stored value: decimal in the signed 32-bit range, or hexadecimal
// ("0x" prefix, or "$", "x", "X" after an optional sign; at most eight significant digits taken as a
// signed 32-bit pattern). Nothing for any other text.
std::optional<std::int32_t> ParseIniInteger(std::string_view text) noexcept;

// UTF-8 to wide text and back; invalid sequences (and lone surrogates) become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
// The bytes with every invalid UTF-8 sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view bytes);

class IniStore {
public:
    // UTF-8 with or without a byte-order mark, or UTF-16 of either byte order when it starts with
    // its byte-order mark; lines end at CR, LF or CR LF. Lines are trimmed of characters up to
    // U+0020; blank lines, ";" comments and everything before the first section are dropped; spaces
    // around the first "=" are removed. Invalid text and NUL characters inside a line are kept as
    // U+FFFD. The store takes about as much memory as the text it keeps, however short its lines.
    static IniStore Parse(std::string_view bytes);
    // The byte-order mark, then each section's "[name]", its lines and one empty line, all ending
    // in CR LF.
    std::string Serialise() const;

    // Sections and keys are matched without regard to (ASCII) letter case; the first match counts.
    // A key present with an empty value reads as the empty string.
    std::wstring ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view def) const;
    std::int32_t ReadInteger(std::wstring_view section, std::wstring_view key, std::int32_t def) const;
    // An integer read with the default's number: 0 is false, any other integer true.
    bool ReadBool(std::wstring_view section, std::wstring_view key, bool def) const;

    // Replaces an existing key in place (written in the caller's letter case) or appends it to its
    // section, a new section going at the end. Line breaks in the text become spaces, so a value
    // can never add lines or sections to the file, and NUL characters become U+FFFD.
    void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    void WriteInteger(std::wstring_view section, std::wstring_view key, std::int32_t value);
    void WriteBool(std::wstring_view section, std::wstring_view key, bool value);

    // The lines of the first section of that name ("key=value" with key and value trimmed, or a line
    // without "=" as it was), in file order; none when there is no such section.
    std::vector<std::string> SectionLines(std::wstring_view section) const;
    // Puts lines in place of the first section of that name's lines, the section going at the end
    // when there is none; every other section and line stays. Each line is made one line as a
    // written value is; it must be a line the store keeps as it is (not empty, not a comment or a
    // header, no spaces at its ends), such as one SectionLines gave or a "key=value" line.
    void ReplaceSectionLines(std::wstring_view section, const std::vector<std::string>& lines);

    // The value of a section line, as SectionLines gives it, when its key is key (UTF-8), matched as
    // every read and write here matches keys; nothing for another key or a line without "=".
    static std::optional<std::string_view> ValueOfLine(std::string_view line, std::string_view key) noexcept;

    // A copy of the sections with their lines, in file order.
    std::vector<IniSection> Sections() const;
    bool operator==(const IniStore& other) const { return text_ == other.text_; }

private:
    // A range of text_.
    struct Span {
        std::size_t begin;
        std::size_t end;
    };
    // The lines of the first section of that name (the range past its header), or nothing.
    std::optional<Span> FindSection(std::string_view name) const;
    // The stored value text of a key, or nothing.
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;

    // Every section in one string, so a file of many short lines costs no more than its text: a
    // section is its header line, CR and the name, followed by its own lines; every line ends in
    // LF. Neither CR nor LF can occur inside a name or a line.
    std::string text_;
};

}  // namespace vellicot
