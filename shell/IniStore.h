// The settings store: INI text parsed from bytes into sections and keys, typed reads with defaults,
// in-place writes and serialising back to bytes. It never touches the file system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vellicot {

// One section as stored: its name and its lines ("key=value", or a line without "=" kept as it
// was), all in UTF-8.
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
    // UTF-8 with or without a byte-order mark; lines end at CR, LF or CR LF. Lines are trimmed of
    // characters up to U+0020; blank lines, ";" comments and everything before the first section
    // are dropped; spaces around the first "=" are removed.
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
    // can never add lines or sections to the file.
    void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    void WriteInteger(std::wstring_view section, std::wstring_view key, std::int32_t value);
    void WriteBool(std::wstring_view section, std::wstring_view key, bool value);

    const std::vector<IniSection>& Sections() const noexcept { return sections_; }
    bool operator==(const IniStore& other) const { return sections_ == other.sections_; }

private:
    const IniSection* FindSection(std::string_view name) const;
    // The stored value text of a key, or nothing.
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;
    IniSection& AddSection(std::string name);

    std::vector<IniSection> sections_;
    // Lower-cased section name to the index of its first section.
    std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace vellicot
