#pragma once
// The planner's options as Tolvane.ini keeps them (section COMMON), for both
// programs: "Order" and "Skip" as 1 or 0, "Parallel" as the number of
// compilers at once. Absent or unreadable values are the defaults, all off.
#include <string>

#include "engine/BuildPlan.h"

namespace tolvane {

PlanOptions ReadPlanOptions(const std::wstring& iniFile);
// False when a value could not be written.
bool WritePlanOptions(const std::wstring& iniFile, const PlanOptions& options);

}  // namespace tolvane
