// The executable's path and the extended-length form of long paths.
#include "platform/Paths.h"

#include "platform/Win32.h"

namespace vellicot {

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        // A truncated name fills the whole buffer; try again with a larger one.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ExtendedLengthPath(const std::wstring& fullPath) {
    // Directories are limited to MAX_PATH - 12, so switch a little before MAX_PATH.
    constexpr std::size_t kShortLimit = MAX_PATH - 12;
    if (fullPath.size() < kShortLimit || fullPath.starts_with(L"\\\\?\\") || fullPath.starts_with(L"\\\\.\\"))
        return fullPath;
    if (fullPath.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + fullPath.substr(2);
    return L"\\\\?\\" + fullPath;
}

}  // namespace vellicot
