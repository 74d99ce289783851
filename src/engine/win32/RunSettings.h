#pragma once
// The run's settings as Tolvane.ini keeps them (section COMMON), for both
// programs: the planner's "Order" and "Skip" as 1 or 0 and "Parallel" as the
// number of compilers at once (absent or unreadable: all off), and the time
// limit of one build.
#include <chrono>
#include <optional>
#include <string>

#include "engine/BuildPlan.h"

namespace tolvane {

PlanOptions ReadPlanOptions(const std::wstring& iniFile);
// False when a value could not be written.
bool WritePlanOptions(const std::wstring& iniFile, const PlanOptions& options);

// The longest time one build may take, in whole minutes; 0 means no limit.
// Written out with the default when absent, so that users find it; a value
// that is not a whole number counts as the default.
std::chrono::minutes ReadTimeLimit(const std::wstring& iniFile);
// A time limit as typed: a whole number of minutes up to kMaxTimeLimit.
std::optional<std::chrono::minutes> ParseTimeLimit(const std::wstring& text);
constexpr long kMaxTimeLimit = 9999;

}  // namespace tolvane
