// Whether the program runs under Wine rather than on Windows: the one switch for the few places
// where Wine behaves differently and the program makes up for it.
#pragma once

namespace vellicot {

// True under Wine (its ntdll exports wine_get_version), false on Windows. Asked once.
bool RunsUnderWine();

}  // namespace vellicot
