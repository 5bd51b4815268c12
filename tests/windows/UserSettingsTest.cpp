// The four uses of the settings file: what the main window and the selection window read at
// creation (defaults included), and what the settings dialog's OK and the main window's close write,
// key by key and in their order.
#include <gtest/gtest.h>

#include <string>

#include "SettingsTestSupport.h"
#include "platform/ErrorBox.h"
#include "platform/Win32.h"
#include "shell/UserSettings.h"

namespace vellicot {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

const std::string kBom = "\xEF\xBB\xBF";
constexpr WindowPosition kCentre{318, 480};

TEST(UserSettingsTest, MissingFileGivesTheDefaults) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    const MainWindowSettings main = LoadMainWindowSettings(kCentre, path);
    EXPECT_EQ(main.position, kCentre);
    EXPECT_EQ(main.name, L"名無し");
    EXPECT_EQ(main.display, DisplaySettings{});
    EXPECT_EQ(main.display, (DisplaySettings{0, 0, 0, 0, 0}));
    EXPECT_TRUE(main.topmost);
    EXPECT_EQ(LoadSelectionWindowPosition({180, 800}, path), (WindowPosition{180, 800}));
    EXPECT_EQ(ReadBytes(path), "<missing>") << "reading creates no file";
}

TEST(UserSettingsTest, EveryKeyIsReadInAnyLetterCaseAndOddValuesFallBack) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    WriteBytes(
        path,
        "[system]\r\nform1top2=120\r\nFORM1LEFT2=-60\r\nname=テスト　太郎\r\niSettingsBtnBGColor=0x1\r\n"
        "iSettingsTreeBtnTxtColor=7\r\niSettingsTreeBtnTxtBold=1.0\r\niSettingsTokuBtnTxtColor=$10\r\n"
        "iSettingsTokuBtnTxtBold=-1\r\nchTopmost=0\r\nForm2Top2=40000\r\nForm2Left2=x\r\n");
    const MainWindowSettings main = LoadMainWindowSettings(kCentre, path);
    EXPECT_EQ(main.position, (WindowPosition{120, -60}));
    EXPECT_EQ(main.name, L"テスト　太郎");
    EXPECT_EQ(main.display, (DisplaySettings{1, 7, 0, 16, -1}));
    EXPECT_FALSE(main.topmost);
    // A stored value is used as it is; a text that is no integer gives the centre.
    EXPECT_EQ(LoadSelectionWindowPosition({180, 800}, path), (WindowPosition{40000, 800}));

    WriteBytes(path, "[System]\r\nchTopmost=true\r\nNAME=\r\n");
    EXPECT_TRUE(LoadMainWindowSettings(kCentre, path).topmost) << "\"true\" is no integer: the default";
    EXPECT_EQ(LoadMainWindowSettings(kCentre, path).name, L"") << "an empty name stays empty";
}

TEST(UserSettingsTest, CloseWritesTheSixKeysInTheirOrder) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    SaveCloseSettings({{200, 800}, L"名無し", WindowPosition{180, 800}, true}, path);
    EXPECT_EQ(ReadBytes(path), kBom +
                                   "[System]\r\nForm1Top2=200\r\nForm1Left2=800\r\nNAME=名無し\r\n"
                                   "Form2Top2=180\r\nForm2Left2=800\r\nchTopmost=1\r\n\r\n");

    // Without a selection window its two keys are left as they are.
    SaveCloseSettings({{-5, 7}, L"Ann", std::nullopt, false}, path);
    EXPECT_EQ(ReadBytes(path), kBom +
                                   "[System]\r\nForm1Top2=-5\r\nForm1Left2=7\r\nNAME=Ann\r\n"
                                   "Form2Top2=180\r\nForm2Left2=800\r\nchTopmost=0\r\n\r\n");
}

TEST(UserSettingsTest, SettingsSavedBeforeTheFirstCloseComeFirstInTheFile) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    SaveDisplaySettings({1, 0, 1, 0, 1}, path);
    EXPECT_EQ(ReadBytes(path), kBom +
                                   "[System]\r\niSettingsBtnBGColor=1\r\niSettingsTreeBtnTxtColor=0\r\n"
                                   "iSettingsTreeBtnTxtBold=1\r\niSettingsTokuBtnTxtColor=0\r\n"
                                   "iSettingsTokuBtnTxtBold=1\r\n\r\n");
    SaveCloseSettings({{1, 2}, L"N", WindowPosition{3, 4}, false}, path);
    SaveDisplaySettings({0, 1, 0, 1, 0}, path);
    EXPECT_EQ(ReadBytes(path), kBom +
                                   "[System]\r\niSettingsBtnBGColor=0\r\niSettingsTreeBtnTxtColor=1\r\n"
                                   "iSettingsTreeBtnTxtBold=0\r\niSettingsTokuBtnTxtColor=1\r\n"
                                   "iSettingsTokuBtnTxtBold=0\r\nForm1Top2=1\r\nForm1Left2=2\r\nNAME=N\r\n"
                                   "Form2Top2=3\r\nForm2Left2=4\r\nchTopmost=0\r\n\r\n");

    const MainWindowSettings main = LoadMainWindowSettings(kCentre, path);
    EXPECT_EQ(main.position, (WindowPosition{1, 2}));
    EXPECT_EQ(main.name, L"N");
    EXPECT_EQ(main.display, (DisplaySettings{0, 1, 0, 1, 0}));
    EXPECT_FALSE(main.topmost);
    EXPECT_EQ(LoadSelectionWindowPosition(kCentre, path), (WindowPosition{3, 4}));
}

TEST(UserSettingsTest, HotkeysAreReadAsTextAndOnlyChangedOnesAreWrittenInPlace) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    WriteBytes(path,
               "[System]\r\nNAME=Ann\r\nHotkeyStartStop=ctrl + alt + f9\r\nHotkeyCopy=Ctrl+Banana\r\n"
               "chTopmost=0\r\n");
    const Hotkey ctrlAltF9{kHotkeyCtrl | kHotkeyAlt, 0x78};
    const HotkeySet loaded = LoadMainWindowSettings(kCentre, path).hotkeys;
    EXPECT_EQ(loaded, (HotkeySet{ctrlAltF9, std::nullopt, std::nullopt}))
        << "a text that does not parse is no key";
    EXPECT_EQ(LoadMainWindowSettings(kCentre, folder / L"none.ini").hotkeys, HotkeySet{})
        << "no keys by default";

    // Nothing changed: the file is not touched.
    SaveHotkeys(loaded, loaded, path);
    EXPECT_EQ(ReadBytes(path),
              "[System]\r\nNAME=Ann\r\nHotkeyStartStop=ctrl + alt + f9\r\nHotkeyCopy=Ctrl+Banana\r\n"
              "chTopmost=0\r\n");
    // A changed key is written in its place in the program's own form, a new one at the end; the key
    // that did not parse and was not chosen again stays as the player wrote it.
    // A punctuation key is named by its cap in the player's layout (Wine's US keyboard here).
    const HotkeySet chosen{Hotkey{kHotkeyCtrl | kHotkeyAlt, VK_OEM_2}, std::nullopt, Hotkey{0, 0x7A}};
    SaveHotkeys(loaded, chosen, path);
    EXPECT_EQ(ReadBytes(path),
              kBom +
                  "[System]\r\nNAME=Ann\r\nHotkeyStartStop=Ctrl+Alt+/\r\nHotkeyCopy=Ctrl+Banana\r\n"
                  "chTopmost=0\r\nHotkeyReset=F11\r\n\r\n");
    EXPECT_EQ(LoadMainWindowSettings(kCentre, path).hotkeys, chosen);
    // A cleared key is kept as an empty value, which reads as no key.
    SaveHotkeys(chosen, {}, path);
    EXPECT_EQ(ReadBytes(path), kBom +
                                   "[System]\r\nNAME=Ann\r\nHotkeyStartStop=\r\nHotkeyCopy=Ctrl+Banana\r\n"
                                   "chTopmost=0\r\nHotkeyReset=\r\n\r\n");
    EXPECT_EQ(LoadMainWindowSettings(kCentre, path).hotkeys, HotkeySet{});

    // A key that may not be taken from every program reads as no key and stays as written.
    WriteBytes(
        path,
        "[System]\r\nHotkeyStartStop=Ctrl+C\r\nHotkeyCopy=Alt+F4\r\nHotkeyReset=Ctrl + Alt + Num +\r\n");
    const HotkeySet bare = LoadMainWindowSettings(kCentre, path).hotkeys;
    EXPECT_EQ(bare, (HotkeySet{std::nullopt, std::nullopt, Hotkey{kHotkeyCtrl | kHotkeyAlt, VK_ADD}}));
    SaveHotkeys(bare, {std::nullopt, std::nullopt, ctrlAltF9}, path);
    EXPECT_EQ(ReadBytes(path), kBom +
                                   "[System]\r\nHotkeyStartStop=Ctrl+C\r\nHotkeyCopy=Alt+F4\r\n"
                                   "HotkeyReset=Ctrl+Alt+F9\r\n\r\n");
}

TEST(UserSettingsTest, EveryUseRaisesTheFilesErrors) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    WriteBytes(path, "[System]\r\nNAME=Ann\r\n");
    HANDLE exclusive =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_THROW(LoadMainWindowSettings(kCentre, path), AppError);
    EXPECT_THROW(LoadSelectionWindowPosition(kCentre, path), AppError);
    EXPECT_THROW(SaveDisplaySettings({}, path), AppError);
    EXPECT_THROW(SaveCloseSettings({}, path), AppError);
    CloseHandle(exclusive);
    EXPECT_EQ(ReadBytes(path), "[System]\r\nNAME=Ann\r\n");
}

}  // namespace
}  // namespace vellicot
