#pragma once
// The user's regional formats, as a VB program gets them from the platform.
#include <string>

#include "support/DateTime.h"

namespace tolvane {

// The current local date and time.
DateTime LocalNow();

// The general date-and-time form: the regional short date, a space, the
// regional long time; the date alone when the time is exactly 00:00:00.
std::wstring GeneralDateText(const DateTime& t);

}  // namespace tolvane
