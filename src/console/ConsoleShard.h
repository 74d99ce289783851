#pragma once
// The console runner's part of a system split across build agents (/shard).
#include <string>
#include <vector>

#include "engine/BuildPlan.h"
#include "engine/Shards.h"
#include "engine/clsTolvane.h"

namespace tolvane {

// Unchecks every checked entry outside the part and returns the part's
// projects in list order. The split is made from the projects' files alone
// (estimated times, not remembered ones): each agent remembers only the
// builds it ran, and the agents must agree on the parts. A cycle of
// references, with order on, is the engine error.
std::vector<std::wstring> KeepOnlyShard(clsTolvane& engine, const Shard& shard, const PlanOptions& planning,
                                        ProjectFiles& files);

// What the output says before the part's builds: which part, how many
// projects, each project on a line of its own; one line for an empty part.
std::vector<std::wstring> ShardLines(const Shard& shard, const std::vector<std::wstring>& projects);

}  // namespace tolvane
