#include "platform/Wine.h"

#include <windows.h>

namespace vellicot {

bool RunsUnderWine() {
    static const bool underWine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return underWine;
}

}  // namespace vellicot
