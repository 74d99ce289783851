// Which listed project waits for which, the order that follows, and how long
// each build is expected to take.
#include <algorithm>
#include <map>
#include <set>

#include "engine/BuildPlan.h"
#include "support/PathNames.h"
#include "support/Paths.h"
#include "support/VbError.h"

namespace tolvane {

namespace {

constexpr const wchar_t* kSource = L"clsTolvane";

// A project never built: a second to start the compiler and one more per
// 50 KB of project and source files.
constexpr std::int64_t kStartMs = 1000;
constexpr std::int64_t kBytesPerMs = 50;

}  // namespace

// A project depends on every other listed project whose output it references
// (Reference=, CompatibleEXE32), whose project file it names (*\A), or whose
// control it uses (Object=). A path that resolves to a listed output names
// it; otherwise, as the compiler finds libraries through the registry and not
// by their stale hint paths, the file name names the one listed output of that
// name (none when two share it). A reference to its own output, which its
// variants write too, is the previous release: no dependency. Entries of the
// same project file never depend on each other.
void BuildPlan::FindDependencies() {
    std::map<std::wstring, std::vector<std::size_t>> byOutput, byVbp;
    std::map<std::wstring, std::set<std::wstring>> outputsByName;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        byVbp[items_[i].vbpKey].push_back(i);
        if (!items_[i].project) continue;
        byOutput[items_[i].outputKey].push_back(i);
        outputsByName[GetFileName(items_[i].outputKey)].insert(items_[i].outputKey);
    }
    for (std::size_t i = 0; i < items_.size(); ++i) {
        Item& item = items_[i];
        for (std::size_t j = 0; j < i; ++j) {
            if (!item.outputKey.empty() && items_[j].outputKey == item.outputKey) item.after.push_back(j);
        }
        if (!item.project) continue;
        std::vector<PlanLink> links;
        const auto add = [&](const std::vector<std::size_t>& found, PlanLink::Kind kind, const std::wstring& written,
                             bool byName) {
            for (std::size_t d : found) {
                if (items_[d].vbpKey != item.vbpKey && items_[d].outputKey != item.outputKey) {
                    links.push_back({d, kind, written, byName});
                }
            }
        };
        const auto byName = [&](const std::wstring& name, PlanLink::Kind kind, const std::wstring& written) {
            const auto named = outputsByName.find(PathKey(GetFileName(name)));
            if (named != outputsByName.end() && named->second.size() == 1) {
                add(byOutput[*named->second.begin()], kind, written, true);
            }
        };
        const auto byPathOrName = [&](const std::wstring& path, PlanLink::Kind kind) {
            const auto exact = byOutput.find(PathKey(path));
            if (exact != byOutput.end()) {
                add(exact->second, kind, path, false);
            } else {
                byName(path, kind, path);
            }
        };
        const VbpProject& p = *item.project;
        for (const auto& lib : p.typeLibs) byPathOrName(lib, PlanLink::Kind::Reference);
        if (!p.compatible.empty()) byPathOrName(p.compatible, PlanLink::Kind::Compatible);
        for (const auto& vbp : p.projects) {
            const auto it = byVbp.find(PathKey(vbp));
            if (it != byVbp.end()) add(it->second, PlanLink::Kind::Project, vbp, false);
        }
        for (const auto& control : p.controls) byName(control, PlanLink::Kind::Control, control);
        // One line per dependency, the first that names it.
        std::stable_sort(links.begin(), links.end(), [](const PlanLink& a, const PlanLink& b) { return a.item < b.item; });
        links.erase(std::unique(links.begin(), links.end(),
                                [](const PlanLink& a, const PlanLink& b) { return a.item == b.item; }),
                    links.end());
        for (const auto& link : links) item.deps.push_back(link.item);
        item.links = std::move(links);
    }
}

// Depth first in list order, each project after its dependencies and after
// the earlier projects writing its output: the list order stays wherever no
// reference asks otherwise. A reference back into the path being followed
// is a cycle, reported with its projects in order; the list order of
// variants gives way where references ask for the opposite.
void BuildPlan::SortByDependencies() {
    enum Mark { Unseen, OnPath, Placed };
    std::vector<Mark> marks(items_.size(), Unseen);
    order_.clear();
    const auto edges = [&](std::size_t item) { return items_[item].deps.size() + items_[item].after.size(); };
    const auto edge = [&](std::size_t item, std::size_t k) {
        const Item& it = items_[item];
        return k < it.deps.size() ? it.deps[k] : it.after[k - it.deps.size()];
    };
    for (std::size_t root = 0; root < items_.size(); ++root) {
        if (marks[root] != Unseen) continue;
        std::vector<std::pair<std::size_t, std::size_t>> path{{root, 0}};  // item, next edge
        marks[root] = OnPath;
        while (!path.empty()) {
            auto& [item, next] = path.back();
            if (next == edges(item)) {
                marks[item] = Placed;
                order_.push_back(item);
                path.pop_back();
                continue;
            }
            const bool soft = next >= items_[item].deps.size();
            const std::size_t dep = edge(item, next++);
            if (marks[dep] == Placed) continue;
            if (marks[dep] == OnPath) {
                if (soft) continue;
                std::wstring names;
                auto from = std::find_if(path.begin(), path.end(), [&](const auto& p) { return p.first == dep; });
                for (; from != path.end(); ++from) names += GetFileName(items_[from->first].entry.vbp) + L"→";
                throw TolvaneError(kSource, names + GetFileName(items_[dep].entry.vbp) +
                                                L"の参照が循環しているためｺﾝﾊﾟｲﾙできません");
            }
            marks[dep] = OnPath;
            path.emplace_back(dep, 0);
        }
    }
    // A variant placed before an earlier-listed one does not wait for it.
    std::vector<std::size_t> rank(items_.size());
    for (std::size_t r = 0; r < order_.size(); ++r) rank[order_[r]] = r;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        auto& after = items_[i].after;
        after.erase(std::remove_if(after.begin(), after.end(), [&](std::size_t a) { return rank[a] > rank[i]; }),
                    after.end());
    }
}

// The remembered time of the last good build, else an estimate from the
// sizes of the files; then, backwards through the plan, the longest chain of
// builds that wait for each one.
void BuildPlan::EstimateCosts(const BuildTimes* times) {
    for (Item& item : items_) {
        if (const auto known = times ? times->Find(item.entry.vbp) : std::nullopt) {
            item.cost = *known;
            continue;
        }
        std::int64_t bytes = files_.Size(item.entry.vbp).value_or(0);
        if (item.project) {
            for (const auto& source : item.project->sources) bytes += files_.Size(source.path).value_or(0);
        }
        item.cost = kStartMs + bytes / kBytesPerMs;
    }
    std::vector<std::vector<std::size_t>> waiting(items_.size());
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (options_.order) {
            for (std::size_t d : items_[i].deps) waiting[d].push_back(i);
        }
        for (std::size_t a : items_[i].after) waiting[a].push_back(i);
    }
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        std::int64_t longest = 0;
        for (std::size_t w : waiting[*it]) longest = std::max(longest, items_[w].chain);
        items_[*it].chain = items_[*it].cost + longest;
    }
}

}  // namespace tolvane
