// A fresh folder per test and raw file bytes, through the long-path forms the program uses.
#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include "platform/Win32.h"
#include "shell/SettingsFile.h"

namespace vellicot {

void PrintTo(const WindowPosition& position, std::ostream* out) {
    *out << "{top " << position.top << ", left " << position.left << "}";
}

}  // namespace vellicot

namespace vellicot::test {
namespace {

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

}  // namespace

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    static int count = 0;
    path_ = std::wstring(temp) + L"vellicot-settings-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++count);
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

std::vector<std::wstring> TempFolder::Names() const {
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

}  // namespace vellicot::test
