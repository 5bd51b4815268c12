// Shared pieces of the settings and placement tests: a fresh folder for each test, a file's bytes
// written and read as they are, and window positions in messages.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "shell/Placement.h"

namespace vellicot {

// For gtest's messages.
void PrintTo(const WindowPosition& position, std::ostream* out);

}  // namespace vellicot

namespace vellicot::test {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

    // Names in the folder, to see that no temporary file is left behind.
    std::vector<std::wstring> Names() const;

private:
    std::wstring path_;
};

// Writes the bytes as the whole file (a failed write fails the test).
void WriteBytes(const std::wstring& path, const std::string& bytes);
// The file's bytes, or "<missing>".
std::string ReadBytes(const std::wstring& path);

}  // namespace vellicot::test
