// The user's regional settings that the stopwatch's texts use.
#pragma once

#include <string>

namespace vellicot {

// The time separator of the user's regional settings; ":" when the system gives none.
std::wstring UserTimeSeparator();
// The date separator of the user's regional settings; "/" when the system gives none.
std::wstring UserDateSeparator();

}  // namespace vellicot
