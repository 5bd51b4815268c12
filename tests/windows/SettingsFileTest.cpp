// The settings file on disk: its name, a missing file, a folder in its place, a file that cannot be
// read or loaded, a replace that fails, long paths, and a file saved as UTF-16.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "SettingsTestSupport.h"
#include "platform/ErrorBox.h"
#include "platform/Paths.h"
#include "platform/Win32.h"
#include "shell/SettingsFile.h"
#include "tests/ReplacedNew.h"

namespace vellicot {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// While it lives, allocations on this thread larger than the limit fail.
class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t largest) noexcept { replaced_new::tLargestAllocation = largest; }
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
    ~AllocationLimit() { replaced_new::tLargestAllocation = SIZE_MAX; }
};

const std::string kBom = "\xEF\xBB\xBF";

std::string Narrow(const std::wstring& text) {
    return Utf8FromWide(text);
}

// What the main window's close writes.
void WriteCloseKeys(SettingsFile& file) {
    file.WriteInteger(L"Form1Top2", 200);
    file.WriteInteger(L"Form1Left2", 800);
    file.WriteString(L"NAME", L"名無し");
    file.WriteInteger(L"Form2Top2", 180);
    file.WriteInteger(L"Form2Left2", 800);
    file.WriteBool(L"chTopmost", true);
}

const std::string kFirstCloseBytes = kBom +
                                     "[System]\r\nForm1Top2=200\r\nForm1Left2=800\r\nNAME=名無し\r\n"
                                     "Form2Top2=180\r\nForm2Left2=800\r\nchTopmost=1\r\n\r\n";

TEST(SettingsFileTest, FileNameIsTheExecutablesFullPathPlusTheSuffix) {
    wchar_t image[4096];
    DWORD size = 4096;
    ASSERT_TRUE(QueryFullProcessImageNameW(GetCurrentProcess(), 0, image, &size));
    std::wstring name = SettingsFileName();
    EXPECT_EQ(name, std::wstring(image, size) + L"_ユーザー設定.ini");
    EXPECT_TRUE(name.ends_with(L".exe_ユーザー設定.ini")) << Narrow(name);
    EXPECT_EQ(name[1], L':') << "a full path: " << Narrow(name);
}

TEST(SettingsFileTest, ExtendedLengthPathsOnlyWhereNeeded) {
    EXPECT_EQ(ExtendedLengthPath(L"C:\\Tools\\orchard.exe_ユーザー設定.ini"),
              L"C:\\Tools\\orchard.exe_ユーザー設定.ini");
    std::wstring deep = L"C:\\" + std::wstring(300, L'a');
    EXPECT_EQ(ExtendedLengthPath(deep), L"\\\\?\\" + deep);
    std::wstring share = L"\\\\server\\share\\" + std::wstring(300, L'b');
    EXPECT_EQ(ExtendedLengthPath(share), L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'b'));
    EXPECT_EQ(ExtendedLengthPath(L"\\\\?\\" + deep), L"\\\\?\\" + deep);
}

TEST(SettingsFileTest, MissingFileIsAnEmptyStoreAndTheFirstFlushCreatesIt) {
    TempFolder folder;
    const std::wstring path = folder / L"orchard.exe_ユーザー設定.ini";
    SettingsFile file(path);
    EXPECT_EQ(file.Path(), path);
    EXPECT_TRUE(file.Store().Sections().empty());
    EXPECT_EQ(file.ReadString(L"NAME", L"名無し"), L"名無し");
    EXPECT_TRUE(file.ReadBool(L"chTopmost", true));
    EXPECT_EQ(file.ReadInteger(L"iSettingsBtnBGColor", 0), 0);
    EXPECT_EQ(ReadBytes(path), "<missing>") << "opening does not create the file";

    WriteCloseKeys(file);
    file.Flush();
    EXPECT_EQ(ReadBytes(path), kFirstCloseBytes);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"orchard.exe_ユーザー設定.ini"});
}

TEST(SettingsFileTest, ExistingFileIsLoadedAndRewrittenWithItsOtherKeys) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    WriteBytes(path,
               "; mine\n[Other]\nKeep=1\n[system]\nname=Ann\niSettingsBtnBGColor=0x1\nchTopmost=true\n");
    SettingsFile file(path);
    EXPECT_EQ(file.ReadString(L"NAME", L""), L"Ann");
    EXPECT_EQ(file.ReadInteger(L"iSettingsBtnBGColor", 0), 1);
    EXPECT_TRUE(file.ReadBool(L"chTopmost", false) == false) << "\"true\" reads as the default";
    file.WriteString(L"NAME", L"Bob");
    file.WriteBool(L"chTopmost", false);
    file.Flush();
    EXPECT_EQ(ReadBytes(path),
              kBom +
                  "[Other]\r\nKeep=1\r\n\r\n[system]\r\nNAME=Bob\r\niSettingsBtnBGColor=0x1\r\n"
                  "chTopmost=0\r\n\r\n");

    // A second use of the file sees the first one's writes.
    SettingsFile again(path);
    EXPECT_EQ(again.ReadString(L"NAME", L""), L"Bob");
    EXPECT_FALSE(again.ReadBool(L"chTopmost", true));
}

TEST(SettingsFileTest, RelativePathIsShownAsAFullPath) {
    TempFolder folder;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
    SettingsFile file(L"relative.ini");
    file.WriteInteger(L"Form1Top2", 1);
    file.Flush();
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(file.Path(), folder / L"relative.ini");
    EXPECT_EQ(ReadBytes(folder / L"relative.ini"), kBom + "[System]\r\nForm1Top2=1\r\n\r\n");
}

TEST(SettingsFileTest, FolderInTheFilesPlaceReadsAsEmptyAndCannotBeWritten) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    SettingsFile file(path);
    EXPECT_TRUE(file.Store().Sections().empty());
    WriteCloseKeys(file);
    try {
        file.Flush();
        FAIL() << "a folder cannot be replaced by the file";
    } catch (const AppError& error) {
        const std::wstring prefix = L"ファイル \"" + path + L"\" を作成できません。";
        ASSERT_TRUE(error.Message().starts_with(prefix)) << Narrow(error.Message());
        EXPECT_FALSE(error.Message().substr(prefix.size()).empty()) << "the system's error text follows";
        EXPECT_NE(error.Message().back(), L'\n');
    }
    EXPECT_NE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << "the folder is still there";
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"settings.ini"}) << "no temporary file is left";
}

// Closes the handle after a while on a thread of its own, as another program lets go of a file.
class LetGoAfter {
public:
    LetGoAfter(HANDLE handle, DWORD ms)
        : thread_([handle, ms] {
              Sleep(ms);
              CloseHandle(handle);
          }) {}
    LetGoAfter(const LetGoAfter&) = delete;
    LetGoAfter& operator=(const LetGoAfter&) = delete;
    ~LetGoAfter() { thread_.join(); }

private:
    std::thread thread_;
};

TEST(SettingsFileTest, FileHeldForAMomentIsReadAndOneHeldForGoodRaisesTheOpenMessage) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    WriteBytes(path, "[System]\nNAME=Ann\n");
    HANDLE exclusive =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    try {
        SettingsFile file(path);
        FAIL() << "a file held exclusively by another handle cannot be read";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Message(), L"ファイル " + path + L" は開けません。 " +
                                       SystemErrorText(ERROR_SHARING_VIOLATION) + L" ");
    }
    CloseHandle(exclusive);
    EXPECT_EQ(SettingsFile(path).ReadString(L"NAME", L""), L"Ann");

    // Written by another program that lets go 300 ms later: read once it has.
    exclusive =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    LetGoAfter letGo(exclusive, 300);
    EXPECT_EQ(SettingsFile(path).ReadString(L"NAME", L""), L"Ann");
}

TEST(SettingsFileTest, ReplaceWaitsForAMomentsReaderAndFailsOnOneThatStaysLeavingTheOldFile) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    const std::string old = kBom + "[System]\r\nNAME=Old\r\n\r\n";
    WriteBytes(path, old);
    SettingsFile file(path);
    file.WriteString(L"NAME", L"New");

    // Held open without delete sharing: the file can be read but not replaced.
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    try {
        file.Flush();
        ADD_FAILURE() << "the held file was replaced";
    } catch (const AppError& error) {
        const std::wstring prefix = L"ファイル \"" + path + L"\" を作成できません。";
        ASSERT_TRUE(error.Message().starts_with(prefix)) << Narrow(error.Message());
        EXPECT_FALSE(error.Message().substr(prefix.size()).empty());
    }
    CloseHandle(holder);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"settings.ini"});

    // Once the other handle is gone the same store is written.
    file.Flush();
    EXPECT_EQ(ReadBytes(path), kBom + "[System]\r\nNAME=New\r\n\r\n");

    // A reader that lets go 300 ms later: the replace waits for it.
    holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    LetGoAfter letGo(holder, 300);
    file.WriteString(L"NAME", L"Newer");
    file.Flush();
    EXPECT_EQ(ReadBytes(path), kBom + "[System]\r\nNAME=Newer\r\n\r\n");
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"settings.ini"});
}

TEST(SettingsFileTest, ReadOnlyFileIsNotOverwritten) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    const std::string old = kBom + "[System]\r\nNAME=Old\r\n\r\n";
    WriteBytes(path, old);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    SettingsFile file(path);
    file.WriteString(L"NAME", L"New");
    try {
        file.Flush();
        ADD_FAILURE() << "the read-only file was replaced";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Message(),
                  L"ファイル \"" + path + L"\" を作成できません。" + SystemErrorText(ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"settings.ini"});
}

TEST(SettingsFileTest, LongPathsAreReadAndWritten) {
    TempFolder folder;
    std::wstring deep = folder.Path();
    while (deep.size() < 320) {
        deep += L"\\" + std::wstring(60, L'd');
        ASSERT_TRUE(CreateDirectoryW(ExtendedLengthPath(deep).c_str(), nullptr)) << GetLastError();
    }
    const std::wstring path = deep + L"\\Vellicot.exe_ユーザー設定.ini";
    ASSERT_GT(path.size(), static_cast<std::size_t>(MAX_PATH));
    {
        SettingsFile file(path);
        EXPECT_EQ(file.Path(), path);
        WriteCloseKeys(file);
        file.Flush();
    }
    EXPECT_EQ(ReadBytes(path), kFirstCloseBytes);
    SettingsFile again(path);
    EXPECT_EQ(again.ReadInteger(L"Form2Top2", 0), 180);
    EXPECT_EQ(again.ReadString(L"NAME", L""), L"名無し");
}

TEST(SettingsFileTest, FileSavedAsUtf16IsReadAndRewrittenAsUtf8) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    const std::wstring text = L"[System]\r\nNAME=テスト\r\nchTopmost=0\r\n";
    std::string utf16 = "\xFF\xFE";
    for (wchar_t unit : text) {
        utf16 += static_cast<char>(unit & 0xFF);
        utf16 += static_cast<char>(unit >> 8);
    }
    WriteBytes(path, utf16);
    SettingsFile file(path);
    EXPECT_EQ(file.ReadString(L"NAME", L""), L"テスト");
    EXPECT_FALSE(file.ReadBool(L"chTopmost", true));
    file.WriteInteger(L"Form1Top2", 7);
    file.Flush();
    EXPECT_EQ(ReadBytes(path), kBom + "[System]\r\nNAME=テスト\r\nchTopmost=0\r\nForm1Top2=7\r\n\r\n");
}

TEST(SettingsFileTest, RunningOutOfMemoryWhileLoadingRaisesTheOpenMessage) {
    TempFolder folder;
    const std::wstring path = folder / L"settings.ini";
    WriteBytes(path, "[System]\r\n" + std::string(1 << 20, 'a') + "\r\nNAME=Ann\r\n");
    const std::wstring expected =
        L"ファイル " + path + L" は開けません。 " + SystemErrorText(ERROR_NOT_ENOUGH_MEMORY) + L" ";
    std::wstring message;
    {
        AllocationLimit limit(64 * 1024);
        try {
            SettingsFile file(path);
        } catch (const AppError& error) {
            message = error.Message();
        }
    }
    EXPECT_EQ(message, expected);
    // With memory to spare the same file loads.
    EXPECT_EQ(SettingsFile(path).ReadString(L"NAME", L""), L"Ann");
}

}  // namespace
}  // namespace vellicot
