#include "engine/Shards.h"

#include <algorithm>
#include <numeric>

#include "support/Paths.h"

namespace tolvane {
namespace {

std::optional<int> SmallNumber(const std::wstring& digits) {
    if (digits.empty() || digits.size() > 3) return std::nullopt;
    int value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return value;
}

// The smallest item of its group stands for the group.
std::size_t Root(std::vector<std::size_t>& parent, std::size_t item) {
    while (parent[item] != item) item = parent[item] = parent[parent[item]];
    return item;
}

}  // namespace

std::optional<Shard> ParseShard(const std::wstring& text) {
    const std::wstring t = TrimSpaces(text);
    const std::size_t slash = t.find(L'/');
    if (slash == std::wstring::npos) return std::nullopt;
    const auto part = SmallNumber(t.substr(0, slash));
    const auto parts = SmallNumber(t.substr(slash + 1));
    if (!part || !parts || *part < 1 || *part > *parts || *parts > kMaxShards) return std::nullopt;
    return Shard{*part, *parts};
}

std::wstring ShardText(const Shard& shard) {
    return std::to_wstring(shard.part) + L"/" + std::to_wstring(shard.parts);
}

std::vector<int> SplitIntoShards(const std::vector<std::int64_t>& costs,
                                 const std::vector<std::vector<std::size_t>>& dependencies, int parts) {
    const std::size_t n = costs.size();
    std::vector<std::size_t> parent(n);
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    for (std::size_t i = 0; i < n && i < dependencies.size(); ++i) {
        for (std::size_t d : dependencies[i]) {
            if (d >= n) continue;
            const std::size_t a = Root(parent, i), b = Root(parent, d);
            parent[std::max(a, b)] = std::min(a, b);
        }
    }
    struct Group {
        std::size_t first;
        std::int64_t cost = 0;
        std::size_t items = 0;
    };
    std::vector<Group> groups;
    std::vector<std::size_t> groupOf(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t root = Root(parent, i);
        if (root == i) {
            groupOf[i] = groups.size();
            groups.push_back({i});
        } else {
            groupOf[i] = groupOf[root];  // the root is smaller: already numbered
        }
        Group& group = groups[groupOf[i]];
        group.cost += std::max<std::int64_t>(costs[i], 0);
        ++group.items;
    }
    std::vector<std::size_t> byCost(groups.size());
    std::iota(byCost.begin(), byCost.end(), std::size_t{0});
    std::sort(byCost.begin(), byCost.end(), [&](std::size_t a, std::size_t b) {
        if (groups[a].cost != groups[b].cost) return groups[a].cost > groups[b].cost;
        return groups[a].first < groups[b].first;
    });

    const std::size_t count = static_cast<std::size_t>(std::max(parts, 1));
    std::vector<std::int64_t> load(count, 0);
    std::vector<std::size_t> items(count, 0);
    std::vector<int> partOfGroup(groups.size(), 0);
    for (std::size_t g : byCost) {
        std::size_t best = 0;
        for (std::size_t p = 1; p < count; ++p) {
            if (load[p] < load[best] || (load[p] == load[best] && items[p] < items[best])) best = p;
        }
        load[best] += groups[g].cost;
        items[best] += groups[g].items;
        partOfGroup[g] = static_cast<int>(best);
    }
    std::vector<int> partOf(n);
    for (std::size_t i = 0; i < n; ++i) partOf[i] = partOfGroup[groupOf[i]];
    return partOf;
}

std::vector<int> SplitIntoShards(const BuildPlan& plan, int parts) {
    std::vector<std::int64_t> costs;
    std::vector<std::vector<std::size_t>> dependencies;
    for (std::size_t i = 0; i < plan.Size(); ++i) {
        costs.push_back(plan.Cost(i));
        dependencies.push_back(plan.DependenciesOf(i));
    }
    return SplitIntoShards(costs, dependencies, parts);
}

}  // namespace tolvane
