// Regional separators from the user's locale.
#include "platform/Locale.h"

#include "platform/Win32.h"

namespace vellicot {
namespace {

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
    // LOCALE_STIME and LOCALE_SDATE hold at most four characters and the terminator.
    wchar_t buffer[16] = {};
    int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, static_cast<int>(std::size(buffer)));
    if (length <= 1)
        return fallback;
    return std::wstring(buffer, static_cast<std::size_t>(length - 1));
}

}  // namespace

std::wstring UserTimeSeparator() {
    return LocaleText(LOCALE_STIME, L":");
}

std::wstring UserDateSeparator() {
    return LocaleText(LOCALE_SDATE, L"/");
}

}  // namespace vellicot
