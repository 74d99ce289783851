// Splitting one system into parts for several build agents, over generated
// systems: every project in one part, connected projects together, parts
// balanced, the same parts every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "engine/Shards.h"

using namespace tolvane;

TEST(Shards, EveryProjectInOnePartGroupsWholeBalancedAndTheSameEveryTime) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        // Clusters of projects, each referencing up to two earlier ones of its
        // cluster; 1 to 60 s a build with a long tail.
        std::mt19937 random(seed);
        const std::size_t projects = 10 + seed * 25, clusters = projects / 5;
        std::vector<std::int64_t> costs;
        std::vector<std::vector<std::size_t>> deps(projects);
        std::vector<std::size_t> clusterOf;
        for (std::size_t i = 0; i < projects; ++i) {
            const double tail = std::exponential_distribution<double>(0.25)(random);
            costs.push_back(1000 * std::min<std::int64_t>(60, 1 + static_cast<std::int64_t>(tail * tail)));
            clusterOf.push_back(random() % clusters);
            for (std::size_t j = 0; j < i && deps[i].size() < 2; ++j)
                if (clusterOf[j] == clusterOf[i] && random() % 3 == 0) deps[i].push_back(j);
        }
        const std::int64_t total = std::accumulate(costs.begin(), costs.end(), std::int64_t{0});
        std::int64_t largest = 0;  // with a part for each project, each group stands alone
        const std::vector<int> alone = SplitIntoShards(costs, deps, static_cast<int>(projects));
        for (std::size_t p = 0; p < projects; ++p) {
            std::int64_t load = 0;
            for (std::size_t i = 0; i < projects; ++i) load += alone[i] == static_cast<int>(p) ? costs[i] : 0;
            largest = std::max(largest, load);
        }
        for (int n = 1; n <= 8; ++n) {
            const std::vector<int> part = SplitIntoShards(costs, deps, n);
            ASSERT_EQ(part.size(), projects);
            std::vector<std::int64_t> load(n, 0);
            for (std::size_t i = 0; i < projects; ++i) {
                ASSERT_TRUE(part[i] >= 0 && part[i] < n) << seed << " " << n;
                load[part[i]] += costs[i];
                for (std::size_t d : deps[i]) EXPECT_EQ(part[i], part[d]) << "group split, seed " << seed;
            }
            // Within the largest group's time of the even share, both ways.
            for (std::int64_t l : load) EXPECT_LE(std::abs(l * n - total), largest * n) << seed << " " << n;
            // A second run, and the references read in another order, give the same parts.
            EXPECT_EQ(SplitIntoShards(costs, deps, n), part);
            auto reversed = deps;
            for (auto& d : reversed) std::reverse(d.begin(), d.end());
            EXPECT_EQ(SplitIntoShards(costs, reversed, n), part);
        }
    }
}

TEST(Shards, AGroupLargerThanAShareStaysWholeAndUnknownTimesSplitByCount) {
    EXPECT_EQ(SplitIntoShards({50, 50, 50, 10, 10, 10}, {{}, {0}, {1}, {}, {}, {}}, 2), (std::vector<int>{0, 0, 0, 1, 1, 1}));
    // A later project used by an earlier one joins them too.
    EXPECT_EQ(SplitIntoShards({5, 5, 5, 5}, {{3}, {}, {}, {}}, 2), (std::vector<int>{0, 1, 1, 0}));
    // Times of 0 (or negative, from a clock step) still spread the projects out.
    EXPECT_EQ(SplitIntoShards({0, 0, -5, 0}, {{}, {}, {}, {}}, 4), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(SplitIntoShards({7, 7}, {{1}, {}}, 64), (std::vector<int>{0, 0}));
}

TEST(Shards, PartNumbersAsTyped) {
    const auto shard = ParseShard(L" 02/64 ");
    EXPECT_TRUE(shard && shard->part == 2 && shard->parts == 64 && ShardText(*shard) == L"2/64");
    for (const wchar_t* bad : {L"0/3", L"4/3", L"1/65", L"3", L"1/2/3", L"/3", L"1/", L"-1/3", L"1 / 3", L"１/3", L"0001/2"})
        EXPECT_FALSE(ParseShard(bad)) << bad;
}
