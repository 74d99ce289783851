// Whether a project needs building: its output against everything it is
// built from, including the outputs of the projects it depends on.
#include "engine/BuildPlan.h"

namespace tolvane {

Freshness BuildPlan::FreshnessOf(const Item& item) {
    using Kind = Freshness::Kind;
    if (!item.project) return {Kind::Unread, item.entry.vbp, 0};
    if (item.entry.failedBefore) return {Kind::FailedBefore, L"", 0};
    const auto output = files_.WriteTime(item.project->output);
    if (!output) return {Kind::NoOutput, item.project->output, 0};
    const auto check = [&](const std::wstring& path, bool mayBeMissing) -> std::optional<Freshness> {
        const auto t = files_.WriteTime(path);
        if (!t) return mayBeMissing ? std::nullopt : std::optional<Freshness>({Kind::Missing, path, 0});
        if (*t >= *output) return Freshness{Kind::Newer, path, 0};
        return std::nullopt;
    };
    if (auto stale = check(item.entry.vbp, false)) return *stale;
    for (const auto& source : item.project->sources) {
        if (auto stale = check(source.path, source.companion)) return *stale;
    }
    for (std::size_t d : item.deps) {
        // A dependency rebuilt in this run makes its dependants out of date,
        // whatever the clock's resolution says.
        if (items_[d].state == State::Built) return {Kind::DependencyBuilt, items_[d].entry.vbp, d};
        if (!items_[d].project) return {Kind::Unread, items_[d].entry.vbp, 0};
        if (auto stale = check(items_[d].project->output, false)) return *stale;
    }
    return {};
}

}  // namespace tolvane
