#include "engine/BuildPlan.h"

#include <algorithm>

#include "support/PathNames.h"
#include "support/Paths.h"

namespace tolvane {

std::optional<int> ParseParallel(const std::wstring& text) {
    const std::wstring t = TrimSpaces(text);
    if (t.empty() || t.size() > 1 || t[0] < L'1' || t[0] > L'0' + kMaxParallel) return std::nullopt;
    return t[0] - L'0';
}

BuildPlan::BuildPlan(std::vector<PlanEntry> entries, const PlanOptions& options, ProjectFiles& files,
                     const std::wstring& outFolder, const BuildTimes* times)
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
    EstimateCosts(times);
}

bool BuildPlan::BuildsAlone(std::size_t item) const {
    const Item& it = items_[item];
    return options_.parallel > 1 && it.project && it.project->type == VbpType::Control;
}

std::optional<std::size_t> BuildPlan::FailedDependency(const Item& item) const {
    if (!options_.order) return std::nullopt;
    const auto failed = std::find_if(item.deps.begin(), item.deps.end(),
                                     [&](std::size_t d) { return items_[d].state == State::Failed; });
    return failed == item.deps.end() ? std::nullopt : std::optional<std::size_t>(*failed);
}

// Everything it waits for has ended: its dependencies (with order on) and
// the earlier projects writing the same output, whose list order is kept.
bool BuildPlan::Ready(const Item& item) const {
    const auto open = [&](std::size_t d) { return items_[d].state == State::Waiting || items_[d].state == State::Running; };
    if (options_.order && std::any_of(item.deps.begin(), item.deps.end(), open)) return false;
    return std::none_of(item.after.begin(), item.after.end(), open);
}

bool BuildPlan::ConflictsWithRunning(const Item& item) const {
    return std::any_of(running_.begin(), running_.end(), [&](std::size_t i) {
        const Item& other = items_[i];
        return other.vbpKey == item.vbpKey || (!item.outputKey.empty() && other.outputKey == item.outputKey);
    });
}

std::optional<BuildPlan::Step> BuildPlan::Take(std::size_t item, std::int64_t now) {
    items_[item].state = State::Running;
    items_[item].startedAt = now;
    running_.push_back(item);
    return Step{item, Action::Build, 0, items_[item].freshness.value_or(Freshness{})};
}

std::optional<BuildPlan::Step> BuildPlan::Next(std::int64_t now) {
    const std::size_t compilers = static_cast<std::size_t>(std::max(options_.parallel, 1));
    if (running_.size() >= compilers) return std::nullopt;
    // Nothing starts beside a control.
    if (std::any_of(running_.begin(), running_.end(), [&](std::size_t i) { return BuildsAlone(i); })) return std::nullopt;
    std::optional<std::size_t> bestAlone;
    std::vector<std::size_t> ready;  // not controls, longest chain first
    for (std::size_t i : order_) {
        Item& item = items_[i];
        if (item.state != State::Waiting) continue;
        if (const auto failed = FailedDependency(item)) {
            item.state = State::Failed;
            return Step{i, Action::DependencyFailed, *failed, Freshness{}};
        }
        if (!Ready(item) || ConflictsWithRunning(item)) continue;
        if (options_.skip) {
            if (!item.freshness) item.freshness = FreshnessOf(item);
            if (item.freshness->kind == Freshness::Kind::UpToDate) {
                item.state = State::Skipped;
                return Step{i, Action::Skip, 0, *item.freshness};
            }
        }
        if (compilers == 1 || options_.firstReady) {
            if (BuildsAlone(i) && !running_.empty()) return std::nullopt;
            return Take(i, now);
        }
        // Ties go to the earlier in plan order.
        if (!BuildsAlone(i)) {
            ready.push_back(i);
        } else if (!bestAlone || item.chain > items_[*bestAlone].chain) {
            bestAlone = i;
        }
    }
    std::stable_sort(ready.begin(), ready.end(), [&](std::size_t a, std::size_t b) { return items_[a].chain > items_[b].chain; });
    // A control costs least while nothing else runs: it goes first whenever
    // the compilers are idle, and otherwise the running builds are let end
    // once it has the longest chain; meanwhile a build expected to end by
    // then keeps an idle compiler busy.
    if (bestAlone && (running_.empty() || ready.empty() || items_[*bestAlone].chain > items_[ready.front()].chain)) {
        if (running_.empty()) return Take(*bestAlone, now);
        std::int64_t drained = 0;
        for (std::size_t r : running_) drained = std::max(drained, items_[r].startedAt + items_[r].cost);
        const auto fits = std::find_if(ready.begin(), ready.end(), [&](std::size_t i) { return now + items_[i].cost <= drained; });
        return fits == ready.end() ? std::nullopt : Take(*fits, now);
    }
    if (!ready.empty()) return Take(ready.front(), now);
    return std::nullopt;
}

void BuildPlan::Ended(std::size_t item, bool failed) {
    if (item >= items_.size() || items_[item].state != State::Running) return;
    items_[item].state = failed ? State::Failed : State::Built;
    running_.erase(std::find(running_.begin(), running_.end(), item));
}

}  // namespace tolvane
