// The settings file on disk: its name, a missing file, a folder in its place, a file that cannot be
// read, a replace that fails, long paths, and the default window position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ErrorBox.h"
#include "platform/Win32.h"
#include "shell/SettingsFile.h"

namespace vellicot {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

void RemoveTree(const std::wstring& path) {
    const std::wstring api = ExtendedLengthPath(path);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((api + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(ExtendedLengthPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(ExtendedLengthPath(child).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(api.c_str());
}

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        static int count = 0;
        path_ = std::wstring(temp) + L"vellicot-settings-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++count);
        RemoveTree(path_);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { RemoveTree(path_); }

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

    // Names in the folder, to see that no temporary file is left behind.
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(ExtendedLengthPath(path_ + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                names.push_back(name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

private:
    std::wstring path_;
};

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

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

TEST(SettingsFileTest, FileThatCannotBeOpenedRaisesTheOpenMessage) {
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
}

TEST(SettingsFileTest, FailedReplaceLeavesTheOldFileAndNoTemporaryFile) {
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

TEST(SettingsFileTest, WindowIsCentredOnTheWorkAreaIncludingItsOrigin) {
    struct Case {
        RECT area;
        int width, height;
        int top, left;
    };
    const Case cases[] = {
        {{0, 0, 1280, 1024}, 320, 387, 318, 480},
        {{0, 0, 1280, 1024}, 321, 388, 318, 479},     // ⌊(1024 - 388) / 2⌋, ⌊(1280 - 321) / 2⌋
        {{0, 40, 1280, 1024}, 320, 388, 338, 480},    // taskbar at the top
        {{64, 0, 1920, 1080}, 300, 300, 390, 842},    // taskbar at the left
        {{-1920, 0, 0, 1080}, 300, 301, 389, -1110},  // a monitor left of the primary one
        {{0, 0, 200, 100}, 301, 201, -51, -51},       // a window larger than the area
    };
    for (const Case& c : cases) {
        WindowPosition position = CentredIn(c.area, c.width, c.height);
        EXPECT_EQ(position.top, c.top) << c.area.left << "," << c.area.top;
        EXPECT_EQ(position.left, c.left) << c.area.left << "," << c.area.top;
    }

    RECT area{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    WindowPosition position = DefaultWindowPosition(320, 388);
    int above = position.top - area.top, below = area.bottom - (position.top + 388);
    int leftGap = position.left - area.left, rightGap = area.right - (position.left + 320);
    EXPECT_TRUE(above == below || above + 1 == below) << above << " " << below;
    EXPECT_TRUE(leftGap == rightGap || leftGap + 1 == rightGap) << leftGap << " " << rightGap;
}

}  // namespace
}  // namespace vellicot
