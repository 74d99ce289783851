#pragma once
// The order, the skip decisions and the readiness of the builds of one run,
// for the options that change the designed run: dependency order, skipping
// up-to-date projects, and several compilers at once.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

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

    bool Planned() const { return order || skip || parallel > 1; }
};

struct PlanEntry {
    std::wstring vbp;
    bool failedBefore = false;  // failed in an earlier run: always rebuilt
};

class BuildPlan {
public:
    enum class Action { Build, Skip, DependencyFailed };
    struct Step {
        std::size_t item;
        Action action;
        std::size_t dependency = 0;  // the failed dependency, for DependencyFailed
    };

    // Reads every entry's project (entries in list order; item i is entries[i]).
    // With order on, a cycle of references is the engine error naming its projects.
    BuildPlan(std::vector<PlanEntry> entries, const PlanOptions& options, ProjectFiles& files,
              const std::wstring& outFolder);

    // The items in the order they are taken up.
    const std::vector<std::size_t>& Order() const { return order_; }

    // The first step in plan order that may be taken now; nothing while the
    // compilers allowed are busy or what remains waits for running builds.
    // Skip and DependencyFailed steps end their item at once.
    std::optional<Step> Next();
    // A build handed out by Next has ended.
    void Ended(std::size_t item, bool failed);
    std::size_t Running() const { return running_.size(); }

private:
    enum class State { Waiting, Running, Built, Skipped, Failed };
    struct Item {
        PlanEntry entry;
        std::optional<VbpProject> project;
        std::vector<std::size_t> deps;
        std::wstring vbpKey, outputKey;
        State state = State::Waiting;
    };

    void FindDependencies();
    void SortByDependencies();
    bool UpToDate(const Item& item);
    bool ConflictsWithRunning(const Item& item) const;

    std::vector<Item> items_;
    std::vector<std::size_t> order_;
    PlanOptions options_;
    ProjectFiles& files_;
    std::vector<std::size_t> running_;  // at most `parallel` items
};

}  // namespace tolvane
