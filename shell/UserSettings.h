// What the program keeps in its settings file: the key names, their defaults, and the reads and
// writes of the file's users (main window creation, selection window creation, the settings and
// hot-key dialogs' OK, main window close, 結果COPY and the record window). Each call is one use of the file:
// it opens the file, reads or writes the keys in their fixed order, flushes when it wrote, and lets the store
// go. Errors are thrown as AppError (SettingsFile). How the window places among them are used:
// shell/Placement.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Board.h"
#include "core/Hotkey.h"
#include "core/RunRecords.h"
#include "shell/Placement.h"
#include "shell/SettingsFile.h"

namespace vellicot {

inline constexpr std::wstring_view kDefaultPlayerName = L"名無し";

// What the main window reads when it is created; as constructed, the defaults.
struct MainWindowSettings {
    WindowPosition position;  // the window's top-left corner; the caller's centre by default
    std::wstring name{kDefaultPlayerName};
    DisplaySettings display{};  // the five display settings (kDisplaySettings)
    bool topmost = true;
    HotkeySet hotkeys;  // no keys by default: nothing is taken from other programs until chosen
};

// What the main window's close writes.
struct CloseSettings {
    WindowPosition mainWindow;
    std::wstring name;
    std::optional<WindowPosition> selectionWindow;  // nothing when there is no selection window
    bool topmost = true;
};

// Main window creation: "Form1Top2", "Form1Left2", "NAME", the five settings, "chTopmost" and the
// three hot keys, with centre standing in for a missing position. A hot key whose text does not
// parse in the player's keyboard layout, or names a key that may not be global (MayBeGlobalHotkey),
// reads as no key.
MainWindowSettings LoadMainWindowSettings(WindowPosition centre,
                                          const std::wstring& path = SettingsFileName());

// Selection window creation: "Form2Top2" and "Form2Left2", with centre standing in for them.
WindowPosition LoadSelectionWindowPosition(WindowPosition centre,
                                           const std::wstring& path = SettingsFileName());

// The settings dialog's OK: the five settings, then the file is rewritten.
void SaveDisplaySettings(const DisplaySettings& settings, const std::wstring& path = SettingsFileName());

// The hot-key dialog's OK: "HotkeyStartStop", "HotkeyCopy" and "HotkeyReset", each written only when
// its key differs from before (an empty value for no key; a key named as the player's keyboard
// layout shows it, FormatHotkey), so a value a player wrote that did not parse stays as it is until
// that key is chosen or cleared. The file is rewritten when a key changed.
void SaveHotkeys(const HotkeySet& before, const HotkeySet& after,
                 const std::wstring& path = SettingsFileName());

// Main window close: "Form1Top2", "Form1Left2", "NAME", "Form2Top2", "Form2Left2", "chTopmost",
// then the file is rewritten.
void SaveCloseSettings(const CloseSettings& settings, const std::wstring& path = SettingsFileName());

// 結果COPY: the record is added to the [Records] section (AddRunRecord: a hundred runs kept, the
// best among them), then the file is rewritten. Whether the record is a new best.
std::optional<NewBest> SaveRunRecord(const RunRecord& record, const std::wstring& path = SettingsFileName());

// The record window: the runs kept (ReadRunRecords), oldest first.
std::vector<RunRecord> LoadRunRecords(const std::wstring& path = SettingsFileName());
// The record window's deletes, each rewriting the file when it removed something; the records
// afterwards. One record goes only while it is still the one shown at index.
std::vector<RunRecord> DeleteRunRecordFromFile(std::size_t index, const RunRecord& record,
                                               const std::wstring& path = SettingsFileName());
std::vector<RunRecord> DeleteAllRunRecordsFromFile(const std::wstring& path = SettingsFileName());

}  // namespace vellicot
