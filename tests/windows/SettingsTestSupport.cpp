// A fresh folder per test and raw file bytes, through the long-path forms the program uses.
#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include "outside/Outside.h"
#include "platform/Win32.h"
#include "platform/Paths.h"
#include "shell/SettingsFile.h"

namespace vellicot {

void PrintTo(const WindowPosition& position, std::ostream* out) {
    *out << "{top " << position.top << ", left " << position.left << "}";
}

}  // namespace vellicot

namespace vellicot::test {

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    static int count = 0;
    path_ = std::wstring(temp) + L"vellicot-settings-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++count);
    outside::FreshFolder(path_);
}

TempFolder::~TempFolder() {
    outside::RemoveTree(path_);
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
    return outside::ReadWholeFile(path).value_or("<missing>");
}

}  // namespace vellicot::test
