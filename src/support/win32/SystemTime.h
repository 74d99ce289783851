#pragma once
// The platform's calendar record and ours, field for field.
#include <windows.h>

#include "support/DateTime.h"

namespace tolvane {

SYSTEMTIME ToSystemTime(const DateTime& t);
DateTime FromSystemTime(const SYSTEMTIME& st);

}  // namespace tolvane
