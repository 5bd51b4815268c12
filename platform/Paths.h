// The program's own path and the long form of a path that the file functions take past MAX_PATH.
#pragma once

#include <string>

namespace vellicot {

// The executable's own full path, however long.
std::wstring ExecutablePath();

// The form of a full path that the file functions accept past MAX_PATH ("\\?\" or "\\?\UNC\").
std::wstring ExtendedLengthPath(const std::wstring& fullPath);

}  // namespace vellicot
