// Trying a file or clipboard operation again while another program holds what it needs for a
// moment.
#pragma once

#include "platform/Win32.h"

namespace vellicot {

// Virus scanners, the search indexer, backup and cloud-sync clients and clipboard viewers open a
// file or the clipboard right after it changes and let go within a moment. An operation refused
// for that reason is tried again after growing pauses (10 ms doubling to 250 ms, about 2 s in all);
// any other failure, or one that outlasts the pauses, is final. Returns whether the operation
// succeeded; on failure GetLastError() holds the last attempt's error.
template <class Operation>
bool SucceedsWithinMoments(Operation operation) {
    constexpr DWORD kLongestPause = 250;
    constexpr DWORD kAllPauses = 2000;
    DWORD pause = 10;
    DWORD waited = 0;
    for (;;) {
        if (operation())
            return true;
        const DWORD error = GetLastError();
        const bool held =
            error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
        if (!held || waited >= kAllPauses) {
            SetLastError(error);
            return false;
        }
        Sleep(pause);
        waited += pause;
        pause = pause * 2 < kLongestPause ? pause * 2 : kLongestPause;
    }
}

}  // namespace vellicot
