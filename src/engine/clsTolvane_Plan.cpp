// The run with the planner's options on: builds taken in the plan's order,
// up-to-date projects skipped, several compilers watched side by side.
#include <algorithm>

#include "engine/BuildStamp.h"
#include "engine/BuildWatch.h"
#include "engine/BuildingScope.h"
#include "engine/PlanText.h"
#include "engine/clsTolvane.h"
#include "support/Paths.h"
#include "support/VbError.h"

namespace tolvane {

namespace {

constexpr const wchar_t* kDependencyFailedText = L"のｺﾝﾊﾟｲﾙに失敗したため、ｺﾝﾊﾟｲﾙしませんでした";

// Without the platform's files every project is unreadable: planned as listed.
class NoFiles : public ProjectFiles {
public:
    std::optional<std::wstring> ReadText(const std::wstring&) override { return std::nullopt; }
    std::optional<std::int64_t> WriteTime(const std::wstring&) override { return std::nullopt; }
    std::optional<std::int64_t> Size(const std::wstring&) override { return std::nullopt; }
};

struct RunningBuild {
    std::size_t item;
    std::int32_t position;
    std::unique_ptr<BuildStamp> stamp;  // declared first: given back after the compiler is released
    std::unique_ptr<BuildWatch> watch;
};

}  // namespace

// The checked entries up to the first one with a blank path (where the
// designed run ends) are planned; a cycle of references refuses the run
// before anything starts. The stop request starts nothing new and lets the
// running builds end; events are raised as each build starts and ends.
void clsTolvane::CompilePlanned() {
    std::vector<std::int32_t> positions;
    // Only several compilers choose by the times; every planned run keeps them.
    BuildTimes times = buildTimes_ ? buildTimes_->Load() : BuildTimes();
    BuildPlan plan = MakePlan(positions, times);
    RunPlanned(plan, positions, times);
    if (buildTimes_ && times.Changed()) buildTimes_->Save(times);
}

BuildPlan clsTolvane::MakePlan(std::vector<std::int32_t>& positions, const BuildTimes& times) {
    static NoFiles noFiles;
    std::vector<PlanEntry> planned;
    for (std::int32_t i = 1; i <= Count(); ++i) {
        const clsVbp& entry = Entry(i);
        if (!entry.Action()) continue;
        if (IsBlank(entry.Vbp())) break;
        positions.push_back(i);
        planned.push_back({entry.Vbp(), entry.Failure()});
    }
    return BuildPlan(std::move(planned), planning_, files_ ? *files_ : noFiles, outFolder_, &times);
}

std::vector<std::wstring> clsTolvane::PlanLines() {
    std::vector<std::int32_t> positions;
    const BuildTimes times = buildTimes_ ? buildTimes_->Load() : BuildTimes();
    BuildPlan plan = MakePlan(positions, times);
    return tolvane::PlanLines(plan);
}

void clsTolvane::RunPlanned(BuildPlan& plan, const std::vector<std::int32_t>& positions, BuildTimes& times) {
    BuildingScope scope(building_);
    abandonRequested_ = false;
    std::vector<RunningBuild> running;
    const auto started = std::chrono::steady_clock::now();
    const auto now = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    };
    for (;;) {
        while (!compileStop_) {
            const auto step = plan.Next(now());
            if (!step) break;
            const std::int32_t position = positions[step->item];
            std::unique_ptr<BuildStamp> stamp;
            if (auto watch = TakeStep(*step, position, positions[step->dependency], plan, stamp)) {
                running.push_back({step->item, position, std::move(stamp), std::move(watch)});
            }
        }
        if (running.empty()) return;

        std::optional<std::chrono::milliseconds> wait;
        bool ended = false;
        for (auto it = running.begin(); it != running.end();) {
            if (const auto next = it->watch->Pass(abandonRequested_)) {
                wait = std::min(wait.value_or(*next), *next);
                ++it;
                continue;
            }
            const std::size_t item = it->item;
            const std::int32_t position = it->position;
            const std::chrono::milliseconds elapsed = it->watch->Process().Elapsed();
            it->watch.reset();  // the compiler is released before its file goes back and its end is told
            it->stamp->Finish(Entry(position));
            it = running.erase(it);
            ended = true;
            const bool failed = Entry(position).Failure();
            if (!failed) times.Record(Entry(position).Vbp(), elapsed.count());
            plan.Ended(item, failed);
            // CurCount stays with the most recently started build.
            RaiseExecutionStop(position, Entry(position));
        }
        // A compiler set free is given its next build at once; the wait ends
        // with whichever build ends first.
        if (!ended && wait && !running.empty()) {
            std::vector<CompilerProcess*> compilers;
            for (const RunningBuild& r : running) compilers.push_back(&r.watch->Process());
            platform_.WaitForAny(compilers, *wait);
        }
    }
}

// Takes one step of the plan for the entry at position: a skip, a failure
// for a dependency that failed, or the start of its compiler (the watch that
// is returned). An entry that cannot start fails and its build ends at once.
std::unique_ptr<BuildWatch> clsTolvane::TakeStep(const BuildPlan::Step& step, std::int32_t position,
                                                 std::int32_t dependencyPosition, BuildPlan& plan,
                                                 std::unique_ptr<BuildStamp>& stamp) {
    const std::shared_ptr<clsVbp> entry = entries_[static_cast<std::size_t>(position - 1)];
    curCount_ = position;
    if (step.action == BuildPlan::Action::Skip) {
        ++compileCount_;
        entry->SetFailure(false);
        entry->SetFailureText(std::wstring());
        entry->ClearLog();
        Raise(executionSkip_, position, *entry, kStatusSkipped);
        return nullptr;
    }
    if (step.action == BuildPlan::Action::DependencyFailed) {
        ++compileCount_;
        RaiseExecutionStart(position, *entry);
        MarkFailed(*entry, Entry(dependencyPosition).Name() + kDependencyFailedText);
        RaiseExecutionStop(position, *entry);
        return nullptr;
    }
    if (!AnnounceBuild(position, *entry)) {
        plan.Ended(step.item, true);
        return nullptr;
    }
    stamp = std::make_unique<BuildStamp>(stamper_, TrimSpaces(entry->Vbp()));
    if (stamp->Refusal()) {
        MarkFailed(*entry, *stamp->Refusal());
        plan.Ended(step.item, true);
        RaiseExecutionStop(position, *entry);
        return nullptr;
    }
    try {
        return StartBuild(*entry);
    } catch (const VbError& e) {
        // Other builds may be running: this one fails, the run goes on.
        stamp.reset();
        MarkFailed(*entry, e.Description());
        plan.Ended(step.item, true);
        RaiseExecutionStop(position, *entry);
        return nullptr;
    }
}

}  // namespace tolvane
