// The regional separators are the ones the system's own time and date formats use.
#include <gtest/gtest.h>

#include "platform/Locale.h"
#include "platform/Win32.h"

namespace vellicot {
namespace {

TEST(LocaleTest, SeparatorsAreTheOnesOfTheUsersTimeAndDateFormats) {
    const std::wstring time = UserTimeSeparator();
    const std::wstring date = UserDateSeparator();
    ASSERT_FALSE(time.empty());
    ASSERT_FALSE(date.empty());

    SYSTEMTIME when{};
    when.wYear = 2024;
    when.wMonth = 11;
    when.wDay = 25;
    when.wHour = 13;
    when.wMinute = 45;
    wchar_t text[64];
    ASSERT_GT(GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS | TIME_FORCE24HOURFORMAT, &when,
                              nullptr, text, 64),
              0);
    EXPECT_NE(std::wstring(text).find(time + L"45"), std::wstring::npos) << "time separator in the time";
    ASSERT_GT(GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, text, 64, nullptr),
              0);
    EXPECT_NE(std::wstring(text).find(date), std::wstring::npos) << "date separator in the date";
}

}  // namespace
}  // namespace vellicot
