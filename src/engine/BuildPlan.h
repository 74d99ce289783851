#pragma once
// The order, the skip decisions and the readiness of the builds of one run,
// for the options that change the designed run: dependency order, skipping
// up-to-date projects, and several compilers at once.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/BuildTimes.h"
#include "engine/ProjectFiles.h"
#include "engine/VbpProject.h"

namespace tolvane {

// Compilers at once: at most this many.
constexpr int kMaxParallel = 8;

// A number of compilers as typed or stored: 1 to kMaxParallel; nothing otherwise.
std::optional<int> ParseParallel(const std::wstring& text);

struct PlanOptions {
    bool order = false;  // a project after the projects whose output it references
    bool skip = false;   // up-to-date projects are not built
    int parallel = 1;    // compilers at once
    // With several compilers, the first ready build in plan order rather than
    // the longest chain first: the order before chains were weighed, kept
    // to measure against.
    bool firstReady = false;

    bool Planned() const { return order || skip || parallel > 1; }
};

struct PlanEntry {
    std::wstring vbp;
    bool failedBefore = false;  // failed in an earlier run: always rebuilt
};

// Why one project waits for another: the line of its project file that names
// the other's output or project file.
struct PlanLink {
    enum class Kind { Reference, Compatible, Project, Control };
    std::size_t item;
    Kind kind;
    std::wstring written;  // the path (resolved) or the control's file name
    bool byName;           // matched by file name alone, the path naming no listed output
};

// Whether a project's output is newer than everything it is built from, and
// if not, the first thing that says so.
struct Freshness {
    enum class Kind { UpToDate, Unread, FailedBefore, NoOutput, Missing, Newer, DependencyBuilt };
    Kind kind = Kind::UpToDate;
    std::wstring file;           // the output (NoOutput), the file missing or newer
    std::size_t dependency = 0;  // for DependencyBuilt
};

class BuildPlan {
public:
    enum class Action { Build, Skip, DependencyFailed };
    struct Step {
        std::size_t item;
        Action action;
        std::size_t dependency = 0;  // the failed dependency, for DependencyFailed
        Freshness freshness;         // with skipping on: why it is skipped or built
    };

    // Reads every entry's project (entries in list order; item i is entries[i]).
    // With order on, a cycle of references is the engine error naming its
    // projects. times gives the remembered build times (none: all estimated).
    BuildPlan(std::vector<PlanEntry> entries, const PlanOptions& options, ProjectFiles& files,
              const std::wstring& outFolder, const BuildTimes* times = nullptr);

    // The items in the order they are taken up with one compiler.
    const std::vector<std::size_t>& Order() const { return order_; }
    // The items that item waits for (with order on), in list order.
    const std::vector<std::size_t>& DependenciesOf(std::size_t item) const { return items_[item].deps; }
    // Each dependency of item with the line that makes it.
    const std::vector<PlanLink>& LinksOf(std::size_t item) const { return items_[item].links; }
    // The remembered or estimated build time in milliseconds.
    std::int64_t Cost(std::size_t item) const { return items_[item].cost; }
    // The cost of item and of the longest chain of builds that waits for it.
    std::int64_t Chain(std::size_t item) const { return items_[item].chain; }
    // A control builds alone when several compilers are allowed.
    bool BuildsAlone(std::size_t item) const;
    const PlanEntry& EntryOf(std::size_t item) const { return items_[item].entry; }
    std::size_t Size() const { return items_.size(); }
    const PlanOptions& Options() const { return options_; }

    // The next step that may be taken now; nothing while the compilers allowed
    // are busy or what remains waits for running builds. With one compiler the
    // first such step in plan order; with several, skips and failed
    // dependencies first, then the build with the longest chain behind it.
    // Skip and DependencyFailed steps end their item at once. now: the run's
    // clock in milliseconds, against which the builds' costs are laid.
    std::optional<Step> Next(std::int64_t now = 0);
    // A build handed out by Next has ended.
    void Ended(std::size_t item, bool failed);
    std::size_t Running() const { return running_.size(); }

private:
    enum class State { Waiting, Running, Built, Skipped, Failed };
    struct Item {
        PlanEntry entry;
        std::optional<VbpProject> project;
        std::vector<std::size_t> deps;
        std::vector<PlanLink> links;
        std::vector<std::size_t> after;  // earlier projects writing the same output
        std::wstring vbpKey, outputKey;
        std::int64_t cost = 0, chain = 0, startedAt = 0;
        std::optional<Freshness> freshness;  // decided once, when first ready
        State state = State::Waiting;
    };

    void FindDependencies();
    void SortByDependencies();
    void EstimateCosts(const BuildTimes* times);
    Freshness FreshnessOf(const Item& item);
    bool Ready(const Item& item) const;
    bool ConflictsWithRunning(const Item& item) const;
    std::optional<Step> Take(std::size_t item, std::int64_t now);
    std::optional<std::size_t> FailedDependency(const Item& item) const;

    std::vector<Item> items_;
    std::vector<std::size_t> order_;
    PlanOptions options_;
    ProjectFiles& files_;
    std::vector<std::size_t> running_;  // at most `parallel` items
};

}  // namespace tolvane
