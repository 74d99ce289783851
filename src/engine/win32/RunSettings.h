#pragma once
// The run's settings as Tolvane.ini keeps them (section COMMON), for both
// programs: the planner's "Order" and "Skip" as 1 or 0 and "Parallel" as the
// number of compilers at once (absent or unreadable: all off).
#include <string>

#include "engine/BuildPlan.h"

namespace tolvane {

PlanOptions ReadPlanOptions(const std::wstring& iniFile);
// False when a value could not be written.
bool WritePlanOptions(const std::wstring& iniFile, const PlanOptions& options);

}  // namespace tolvane
