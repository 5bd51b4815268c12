// The one place that pulls in the Windows and GDI+ headers, so every unit sees the same settings.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <windowsx.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string_view>

#include "core/Text.h"

// Whether two names are the same but for letter case (control, window class and font names), with
// every letter the platform knows a case of, as the platform compares such names: fonts report
// names in any script (full-width Latin, Greek, Cyrillic), not only A-Z.
inline bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
    constexpr auto kSamePlatformLetter = [](wchar_t x, wchar_t y) {
        return CompareStringOrdinal(&x, 1, &y, 1, TRUE) == CSTR_EQUAL;
    };
    return vellicot::SameIgnoringCase(a, b, kSamePlatformLetter);
}
