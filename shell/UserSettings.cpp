// The settings file's keys and each of the file's uses that UserSettings.h lists. The order of the
// writes is the order of the keys in a new file.
#include "shell/UserSettings.h"

#include "shell/GlobalHotkeys.h"

namespace vellicot {
namespace {

constexpr wchar_t kForm1Top[] = L"Form1Top2";
constexpr wchar_t kForm1Left[] = L"Form1Left2";
constexpr wchar_t kName[] = L"NAME";
constexpr wchar_t kForm2Top[] = L"Form2Top2";
constexpr wchar_t kForm2Left[] = L"Form2Left2";
constexpr wchar_t kTopmost[] = L"chTopmost";

// The hot keys in their order in the file, indexed by HotkeyAction.
constexpr const wchar_t* kHotkeyKeys[] = {L"HotkeyStartStop", L"HotkeyCopy", L"HotkeyReset"};
static_assert(std::size(kHotkeyKeys) == kHotkeyActions);

}  // namespace

MainWindowSettings LoadMainWindowSettings(WindowPosition centre, const std::wstring& path) {
    const SettingsFile file(path);
    MainWindowSettings settings;
    settings.position.top = file.ReadInteger(kForm1Top, centre.top);
    settings.position.left = file.ReadInteger(kForm1Left, centre.left);
    settings.name = file.ReadString(kName, settings.name);
    for (std::size_t i = 0; i < kDisplaySettings.size(); ++i)
        settings.display[i] = file.ReadInteger(kDisplaySettings[i].name, settings.display[i]);
    settings.topmost = file.ReadBool(kTopmost, settings.topmost);
    for (std::size_t action = 0; action < kHotkeyActions; ++action) {
        // A key that may not be global is no key, as text that names none; the file keeps it as written.
        std::optional<Hotkey> key =
            ParseHotkey(file.ReadString(kHotkeyKeys[action], L""), SystemKeyboardLayout());
        if (key && MayBeGlobalHotkey(*key))
            settings.hotkeys[action] = key;
    }
    return settings;
}

WindowPosition LoadSelectionWindowPosition(WindowPosition centre, const std::wstring& path) {
    const SettingsFile file(path);
    return {file.ReadInteger(kForm2Top, centre.top), file.ReadInteger(kForm2Left, centre.left)};
}

void SaveDisplaySettings(const DisplaySettings& settings, const std::wstring& path) {
    SettingsFile file(path);
    for (std::size_t i = 0; i < kDisplaySettings.size(); ++i)
        file.WriteInteger(kDisplaySettings[i].name, settings[i]);
    file.Flush();
}

void SaveHotkeys(const HotkeySet& before, const HotkeySet& after, const std::wstring& path) {
    if (before == after)
        return;
    SettingsFile file(path);
    for (std::size_t action = 0; action < kHotkeyActions; ++action) {
        if (before[action] != after[action])
            file.WriteString(kHotkeyKeys[action],
                             after[action] ? FormatHotkey(*after[action], SystemKeyboardLayout()) : L"");
    }
    file.Flush();
}

void SaveCloseSettings(const CloseSettings& settings, const std::wstring& path) {
    SettingsFile file(path);
    file.WriteInteger(kForm1Top, settings.mainWindow.top);
    file.WriteInteger(kForm1Left, settings.mainWindow.left);
    file.WriteString(kName, settings.name);
    if (settings.selectionWindow) {
        file.WriteInteger(kForm2Top, settings.selectionWindow->top);
        file.WriteInteger(kForm2Left, settings.selectionWindow->left);
    }
    file.WriteBool(kTopmost, settings.topmost);
    file.Flush();
}

std::optional<NewBest> SaveRunRecord(const RunRecord& record, const std::wstring& path) {
    SettingsFile file(path);
    const std::optional<NewBest> newBest = AddRunRecord(file.Store(), record);
    file.Flush();
    return newBest;
}

std::vector<RunRecord> LoadRunRecords(const std::wstring& path) {
    const SettingsFile file(path);
    return ReadRunRecords(file.Store());
}

std::vector<RunRecord> DeleteRunRecordFromFile(std::size_t index, const RunRecord& record,
                                               const std::wstring& path) {
    SettingsFile file(path);
    if (DeleteRunRecord(file.Store(), index, record))
        file.Flush();
    return ReadRunRecords(file.Store());
}

std::vector<RunRecord> DeleteAllRunRecordsFromFile(const std::wstring& path) {
    SettingsFile file(path);
    if (!ReadRunRecords(file.Store()).empty()) {
        DeleteAllRunRecords(file.Store());
        file.Flush();
    }
    return ReadRunRecords(file.Store());
}

}  // namespace vellicot
