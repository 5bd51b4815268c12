// The settings file next to the executable: its name, loading and atomic rewriting.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/IniStore.h"
#include "platform/Win32.h"

namespace vellicot {

inline constexpr std::wstring_view kSettingsSuffix = L"_ユーザー設定.ini";
inline constexpr std::wstring_view kSystemSection = L"System";

// The executable's full path (any length, ExecutablePath) followed by "_ユーザー設定.ini".
std::wstring SettingsFileName();

// One use of the settings file: loaded when opened, read and written in memory, rewritten by Flush.
// Errors are thrown as AppError with the messages the player sees; a file that cannot be loaded,
// for want of memory too, raises the message of a file that cannot be opened.
class SettingsFile {
public:
    // The program's own file (SettingsFileName()).
    SettingsFile();
    // Another file, for tests; a relative path is taken from the current folder.
    explicit SettingsFile(const std::wstring& path);

    // The file's full name as the messages show it.
    const std::wstring& Path() const noexcept { return path_; }

    std::int32_t ReadInteger(std::wstring_view key, std::int32_t def) const {
        return store_.ReadInteger(kSystemSection, key, def);
    }
    std::wstring ReadString(std::wstring_view key, std::wstring_view def) const {
        return store_.ReadString(kSystemSection, key, def);
    }
    bool ReadBool(std::wstring_view key, bool def) const { return store_.ReadBool(kSystemSection, key, def); }
    void WriteInteger(std::wstring_view key, std::int32_t value) {
        store_.WriteInteger(kSystemSection, key, value);
    }
    void WriteString(std::wstring_view key, std::wstring_view value) {
        store_.WriteString(kSystemSection, key, value);
    }
    void WriteBool(std::wstring_view key, bool value) { store_.WriteBool(kSystemSection, key, value); }

    IniStore& Store() noexcept { return store_; }
    const IniStore& Store() const noexcept { return store_; }

    // Writes the whole store to a temporary file in the same folder, flushes it to disk and puts it
    // in place of the old file in one step. On failure the old file is left as it was.
    void Flush();

private:
    void Load();

    std::wstring path_;     // full path, as shown in messages
    std::wstring apiPath_;  // the same, extended past MAX_PATH when needed
    IniStore store_;
};

}  // namespace vellicot
