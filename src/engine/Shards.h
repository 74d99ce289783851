#pragma once
// One system split into parts for several build agents: each agent runs the
// same command with its own part number, and together they build every
// project once. Projects that depend on one another, in either direction,
// stay in one part, so that each part can be built in dependency order alone.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/BuildPlan.h"

namespace tolvane {

constexpr int kMaxShards = 64;

struct Shard {
    int part = 1;   // 1..parts
    int parts = 1;  // 1..kMaxShards
};

// "k/n" with 1 <= k <= n <= kMaxShards, blanks around it allowed; nothing otherwise.
std::optional<Shard> ParseShard(const std::wstring& text);
std::wstring ShardText(const Shard& shard);

// For every item (item i costs costs[i], dependencies[i] names the items it
// depends on) its part, 0 to parts - 1. Connected groups of items are never
// split; groups are dealt out largest first, each to the part with the least
// cost so far (then the fewest items, then the lowest number), which keeps
// every part within the largest group's cost of the even share. The same
// costs and dependencies give the same parts, in whatever order each item's
// dependencies are given.
std::vector<int> SplitIntoShards(const std::vector<std::int64_t>& costs,
                                 const std::vector<std::vector<std::size_t>>& dependencies, int parts);

// The plan's items split by its costs and dependencies.
std::vector<int> SplitIntoShards(const BuildPlan& plan, int parts);

}  // namespace tolvane
