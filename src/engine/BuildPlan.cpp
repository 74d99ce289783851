#include "engine/BuildPlan.h"

#include <algorithm>
#include <map>
#include <set>

#include "support/PathNames.h"
#include "support/Paths.h"
#include "support/VbError.h"

namespace tolvane {

namespace {

constexpr const wchar_t* kSource = L"clsTolvane";

void AddAll(std::vector<std::size_t>& to, const std::vector<std::size_t>& from) { to.insert(to.end(), from.begin(), from.end()); }

}  // namespace

std::optional<int> ParseParallel(const std::wstring& text) {
    const std::wstring t = TrimSpaces(text);
    if (t.empty() || t.size() > 1 || t[0] < L'1' || t[0] > L'0' + kMaxParallel) return std::nullopt;
    return t[0] - L'0';
}

BuildPlan::BuildPlan(std::vector<PlanEntry> entries, const PlanOptions& options, ProjectFiles& files,
                     const std::wstring& outFolder)
    : options_(options), files_(files) {
    items_.reserve(entries.size());
    for (auto& entry : entries) {
        Item item;
        item.vbpKey = PathKey(entry.vbp);
        if (auto text = files_.ReadText(entry.vbp)) {
            item.project = ParseVbp(*text, entry.vbp, outFolder);
            item.outputKey = PathKey(item.project->output);
        }
        item.entry = std::move(entry);
        items_.push_back(std::move(item));
    }
    FindDependencies();
    order_.resize(items_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = i;
    if (options_.order) SortByDependencies();
}

// A project depends on every other listed project whose output it references
// by path, whose project file it names (*\A), or, for a control, whose output
// has that file name when no other listed output shares the name. Entries of
// the same project file never depend on each other.
void BuildPlan::FindDependencies() {
    std::map<std::wstring, std::vector<std::size_t>> byOutput, byVbp;
    std::map<std::wstring, std::set<std::wstring>> outputsByName;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        byVbp[items_[i].vbpKey].push_back(i);
        if (!items_[i].project) continue;
        byOutput[items_[i].outputKey].push_back(i);
        outputsByName[GetFileName(items_[i].outputKey)].insert(items_[i].outputKey);
    }
    const auto lookup = [](const auto& map, const std::wstring& key) {
        const auto it = map.find(key);
        return it == map.end() ? std::vector<std::size_t>() : it->second;
    };
    for (auto& item : items_) {
        if (!item.project) continue;
        const VbpProject& p = *item.project;
        std::vector<std::size_t> deps;
        for (const auto& lib : p.typeLibs) AddAll(deps, lookup(byOutput, PathKey(lib)));
        if (!p.compatible.empty()) AddAll(deps, lookup(byOutput, PathKey(p.compatible)));
        for (const auto& vbp : p.projects) AddAll(deps, lookup(byVbp, PathKey(vbp)));
        for (const auto& control : p.controls) {
            const auto named = outputsByName.find(PathKey(control));
            if (named != outputsByName.end() && named->second.size() == 1) {
                AddAll(deps, lookup(byOutput, *named->second.begin()));
            }
        }
        std::sort(deps.begin(), deps.end());
        deps.erase(std::unique(deps.begin(), deps.end()), deps.end());
        deps.erase(std::remove_if(deps.begin(), deps.end(),
                                  [&](std::size_t d) { return items_[d].vbpKey == item.vbpKey; }),
                   deps.end());
        item.deps = std::move(deps);
    }
}

// Depth first in list order, each project after its dependencies: the list
// order stays wherever no reference asks otherwise. A reference back into the
// path being followed is a cycle, reported with its projects in order.
void BuildPlan::SortByDependencies() {
    enum Mark { Unseen, OnPath, Placed };
    std::vector<Mark> marks(items_.size(), Unseen);
    order_.clear();
    for (std::size_t root = 0; root < items_.size(); ++root) {
        if (marks[root] != Unseen) continue;
        std::vector<std::pair<std::size_t, std::size_t>> path{{root, 0}};  // item, next dependency
        marks[root] = OnPath;
        while (!path.empty()) {
            auto& [item, next] = path.back();
            if (next == items_[item].deps.size()) {
                marks[item] = Placed;
                order_.push_back(item);
                path.pop_back();
                continue;
            }
            const std::size_t dep = items_[item].deps[next++];
            if (marks[dep] == Placed) continue;
            if (marks[dep] == OnPath) {
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
}

bool BuildPlan::UpToDate(const Item& item) {
    if (!item.project || item.entry.failedBefore) return false;
    const auto output = files_.WriteTime(item.project->output);
    if (!output) return false;
    const auto older = [&](const std::wstring& path, bool mayBeMissing) {
        const auto t = files_.WriteTime(path);
        return t ? *t < *output : mayBeMissing;
    };
    if (!older(item.entry.vbp, false)) return false;
    for (const auto& source : item.project->sources) {
        if (!older(source.path, source.companion)) return false;
    }
    for (std::size_t d : item.deps) {
        // A dependency rebuilt in this run makes its dependants out of date,
        // whatever the clock's resolution says.
        if (items_[d].state == State::Built || !items_[d].project || !older(items_[d].project->output, false)) {
            return false;
        }
    }
    return true;
}

bool BuildPlan::ConflictsWithRunning(const Item& item) const {
    return std::any_of(running_.begin(), running_.end(), [&](std::size_t i) {
        const Item& other = items_[i];
        return other.vbpKey == item.vbpKey || (!item.outputKey.empty() && other.outputKey == item.outputKey);
    });
}

std::optional<BuildPlan::Step> BuildPlan::Next() {
    if (running_.size() >= static_cast<std::size_t>(std::max(options_.parallel, 1))) return std::nullopt;
    for (std::size_t i : order_) {
        Item& item = items_[i];
        if (item.state != State::Waiting) continue;
        if (options_.order) {
            const auto failed = std::find_if(item.deps.begin(), item.deps.end(),
                                             [&](std::size_t d) { return items_[d].state == State::Failed; });
            if (failed != item.deps.end()) {
                item.state = State::Failed;
                return Step{i, Action::DependencyFailed, *failed};
            }
            const bool waiting = std::any_of(item.deps.begin(), item.deps.end(), [&](std::size_t d) {
                return items_[d].state == State::Waiting || items_[d].state == State::Running;
            });
            if (waiting) continue;
        }
        if (ConflictsWithRunning(item)) continue;
        if (options_.skip && UpToDate(item)) {
            item.state = State::Skipped;
            return Step{i, Action::Skip};
        }
        item.state = State::Running;
        running_.push_back(i);
        return Step{i, Action::Build};
    }
    return std::nullopt;
}

void BuildPlan::Ended(std::size_t item, bool failed) {
    if (item >= items_.size() || items_[item].state != State::Running) return;
    items_[item].state = failed ? State::Failed : State::Built;
    running_.erase(std::find(running_.begin(), running_.end(), item));
}

}  // namespace tolvane
