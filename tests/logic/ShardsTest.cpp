// Splitting one system into parts for several build agents, over generated
// systems: every project in one part, connected projects together, parts
// balanced, the same parts every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "engine/Shards.h"

using namespace tolvane;

namespace {

struct System {
    std::vector<std::int64_t> costs;
    std::vector<std::vector<std::size_t>> deps;
};

// Clusters of projects, each referencing up to two earlier projects of its
// cluster; build times from 1 to 60 s with a long tail; some loners.
System Generate(unsigned seed, std::size_t projects) {
    std::mt19937 random(seed);
    System s;
    std::vector<std::size_t> clusterOf;
    const std::size_t clusters = std::max<std::size_t>(1, projects / 5);
    for (std::size_t i = 0; i < projects; ++i) {
        const double tail = std::exponential_distribution<double>(0.25)(random);
        s.costs.push_back(1000 * std::min<std::int64_t>(60, 1 + static_cast<std::int64_t>(tail * tail)));
        clusterOf.push_back(random() % clusters);
        std::vector<std::size_t> deps;
        for (std::size_t j = 0; j < i && deps.size() < 2; ++j) {
            if (clusterOf[j] == clusterOf[i] && random() % 3 == 0) deps.push_back(j);
        }
        s.deps.push_back(deps);
    }
    return s;
}

// Each project's group, by the smallest project connected to it.
std::vector<std::size_t> Groups(const System& s) {
    std::vector<std::size_t> group(s.costs.size());
    std::iota(group.begin(), group.end(), std::size_t{0});
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t i = 0; i < s.deps.size(); ++i)
            for (std::size_t d : s.deps[i]) {
                const std::size_t low = std::min(group[i], group[d]);
                if (group[i] != low || group[d] != low) group[i] = group[d] = low, changed = true;
            }
    }
    return group;
}

}  // namespace

TEST(Shards, EveryProjectInOnePartGroupsWholeBalancedAndTheSameEveryTime) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        const System s = Generate(seed, 10 + seed * 25);
        const std::vector<std::size_t> group = Groups(s);
        std::vector<std::int64_t> groupCost(s.costs.size(), 0);
        for (std::size_t i = 0; i < s.costs.size(); ++i) groupCost[group[i]] += s.costs[i];
        const std::int64_t largest = *std::max_element(groupCost.begin(), groupCost.end());
        const std::int64_t total = std::accumulate(s.costs.begin(), s.costs.end(), std::int64_t{0});
        const std::size_t groups = std::count_if(groupCost.begin(), groupCost.end(), [](std::int64_t c) { return c > 0; });

        for (int n = 1; n <= 8; ++n) {
            const std::vector<int> part = SplitIntoShards(s.costs, s.deps, n);
            ASSERT_EQ(part.size(), s.costs.size());
            std::vector<std::int64_t> load(n, 0);
            for (std::size_t i = 0; i < part.size(); ++i) {
                ASSERT_TRUE(part[i] >= 0 && part[i] < n) << seed << " " << n;
                load[part[i]] += s.costs[i];
                for (std::size_t d : s.deps[i]) EXPECT_EQ(part[i], part[d]) << "group split, seed " << seed;
            }
            // Within the largest group's time of the even share, both ways.
            for (std::int64_t l : load) {
                EXPECT_LE(l * n, total + largest * n) << seed << " " << n;
                EXPECT_GE(l * n, total - largest * n) << seed << " " << n;
            }
            // No part is left empty while another holds two groups.
            EXPECT_EQ(std::count_if(load.begin(), load.end(), [](std::int64_t l) { return l > 0; }),
                      static_cast<std::ptrdiff_t>(std::min<std::size_t>(groups, n)));

            // A second run, and the references read in another order, give the same parts.
            System shuffled = s;
            for (auto& d : shuffled.deps) std::reverse(d.begin(), d.end());
            EXPECT_EQ(SplitIntoShards(s.costs, s.deps, n), part);
            EXPECT_EQ(SplitIntoShards(shuffled.costs, shuffled.deps, n), part);
        }
    }
}

TEST(Shards, AGroupLargerThanAShareStaysWholeAndTimesOfNothingSplitByCount) {
    // One chain of three costs more than half: it stays in one part, the rest goes to the other.
    const std::vector<int> chain = SplitIntoShards({50, 50, 50, 10, 10, 10}, {{}, {0}, {1}, {}, {}, {}}, 2);
    EXPECT_EQ(chain, (std::vector<int>{0, 0, 0, 1, 1, 1}));
    // A dependency in the other direction (a later project used by an earlier one) joins them too.
    EXPECT_EQ(SplitIntoShards({5, 5, 5, 5}, {{3}, {}, {}, {}}, 2), (std::vector<int>{0, 1, 1, 0}));
    // Unknown times (0, or negative from a clock step) still spread the projects out.
    EXPECT_EQ(SplitIntoShards({0, 0, -5, 0}, {{}, {}, {}, {}}, 4), (std::vector<int>{0, 1, 2, 3}));
    // More parts than groups: the extra parts are empty; nothing at all, nothing to split.
    EXPECT_EQ(SplitIntoShards({7, 7}, {{1}, {}}, 64), (std::vector<int>{0, 0}));
    EXPECT_TRUE(SplitIntoShards({}, {}, 3).empty());
}

TEST(Shards, PartNumbersAsTyped) {
    for (const auto& [text, part, parts] : std::vector<std::tuple<std::wstring, int, int>>{
             {L"1/1", 1, 1}, {L" 2/3 ", 2, 3}, {L"64/64", 64, 64}, {L"01/08", 1, 8}}) {
        const auto shard = ParseShard(text);
        ASSERT_TRUE(shard) << text.size();
        EXPECT_EQ(shard->part, part);
        EXPECT_EQ(shard->parts, parts);
        EXPECT_EQ(ShardText(*shard), std::to_wstring(part) + L"/" + std::to_wstring(parts));
    }
    for (const wchar_t* bad : {L"0/3", L"4/3", L"1/65", L"1/0", L"3", L"1/2/3", L"/3", L"1/", L"-1/3", L"1 / 3",
                               L"１/3", L"1/3x", L"0001/2", L""})
        EXPECT_FALSE(ParseShard(bad)) << bad;
}
