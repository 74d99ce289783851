#pragma once
// A build plan as lines a person reads: the run taken through with every
// build ending after its expected time and none failing.
#include <string>
#include <vector>

#include "engine/BuildPlan.h"

namespace tolvane {

// The steps of the plan as a run would take them, each build ending after its cost.
std::vector<BuildPlan::Step> SimulatedSteps(BuildPlan& plan);

// The header, one line for each project in that order with its waits, why
// it is built or skipped, and whether it builds alone, then the compilers at once.
std::vector<std::wstring> PlanLines(BuildPlan& plan);

}  // namespace tolvane
