#pragma once
// The compile engine: the compile list, its settings and counters, and the
// run that builds every checked project with the external compiler.
//
// The design's names keep their form; what they mean:
//   clsVbp, Vbp(), addVbp    one list entry (project path, check mark = Action,
//                            failure mark and text); the live list; append
//   VB, OutFolder, Dimension the compiler's path, its /outdir and /d
//   CurCount                 position of the entry being built
//   TargetCount              checked entries; CompileCount: builds started;
//                            FailureCount: entries marked failed
//   VbpMessage               the log's progress line for the current entry
//   CompileStart, CompileStop the run; the stop flag, read between builds
//   ReCompileCheck           checks exactly the failed entries
//   RemoveTarget(All), RemoveNoCheck  removes one, all, the unchecked
//   ExecutionStart/Stop/Skip the events around each build, or a skipped one
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/BuildPlan.h"
#include "engine/ExecutionEvent.h"
#include "engine/ProjectFiles.h"
#include "engine/RunPlatform.h"
#include "engine/clsVbp.h"
#include "support/TimeLimit.h"

namespace tolvane {

class BuildStamp;
class BuildWatch;
class ProjectStamper;

class clsTolvane {
public:
    using EntryList = std::vector<std::shared_ptr<clsVbp>>;

    // The list control addresses items by 16-bit signed positions.
    static constexpr int kMaxEntries = 32767;

    // Sleep between looks at a running compiler: under Wine each look costs a
    // few server round trips of CPU, and the error box must still be seen
    // within tens of milliseconds.
    static constexpr std::chrono::milliseconds kPollInterval{25};

    static constexpr const wchar_t* kStatusStart = L"ｺﾝﾊﾟｲﾙ開始";
    static constexpr const wchar_t* kStatusEnd = L"ｺﾝﾊﾟｲﾙ終了";
    static constexpr const wchar_t* kStatusFailed = L"ｺﾝﾊﾟｲﾙ失敗";
    static constexpr const wchar_t* kStatusSkipped = L"ｺﾝﾊﾟｲﾙ省略";

    explicit clsTolvane(RunPlatform& platform);
    clsTolvane(const clsTolvane&) = delete;
    clsTolvane& operator=(const clsTolvane&) = delete;

    bool CompileStop() const { return compileStop_; }
    void SetCompileStop(bool value) { compileStop_ = value; }

    const std::wstring& VB() const { return vb_; }
    void SetVB(const std::wstring& value);

    const std::wstring& OutFolder() const { return outFolder_; }
    // Blank: error, folder kept. Not found (looked up untrimmed): folder
    // cleared, then error. Otherwise stored trimmed.
    void SetOutFolder(const std::wstring& value);
    // Withdraws the common output folder (the window's box was unticked).
    void ClearOutFolder() { outFolder_.clear(); }

    const std::wstring& Dimension() const { return dimension_; }
    void SetDimension(const std::wstring& value);

    // Longest time one build may take before its compiler is ended and the
    // build fails; 0 means no limit. Negative values count as 0.
    std::chrono::minutes TimeLimit() const { return timeLimit_; }
    void SetTimeLimit(std::chrono::minutes value);

    // Dependency order, skipping up-to-date projects and compilers at once.
    // All off (the default) keeps the run exactly as designed; files are read
    // only when some option is on.
    void SetPlanning(const PlanOptions& options, ProjectFiles* files);
    // Where several compilers remember each project's build time between runs.
    void SetBuildTimes(BuildTimesStore* store) { buildTimes_ = store; }

    // Off (as designed), a project file that is not there goes to the
    // compiler like any other; on, its build fails at once, saying so.
    void SetFailMissingProjects(bool value) { failMissingProjects_ = value; }

    // Each build writes the compiler's own log (/out), read into its entry
    // when it has ended. Off by default: the command line stays as designed.
    void SetCompilerLog(bool on) { compilerLog_ = on; }
    // Writes the run's values into each project file for its build and gives
    // the file back afterwards; none (the default) leaves the files alone.
    void SetStamper(ProjectStamper* stamper) { stamper_ = stamper; }

    // The live list: element i - 1 is the entry at position i.
    const EntryList& Vbp() const { return entries_; }
    // The entry at a 1-based position; subscript error outside 1..Count.
    clsVbp& Entry(std::int32_t position) const;
    std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }

    // Now, tab, project file name, three spaces, status, for the latest build
    // started: its entry at CurCount with the status of its latest event. The
    // time is read anew each call; events carry their own message.
    std::wstring VbpMessage() const;
    std::int32_t CurCount() const { return curCount_; }
    std::int32_t TargetCount() const;
    std::int32_t CompileCount() const { return compileCount_; }
    std::int32_t FailureCount() const;

    // Appends an entry with the path trimmed; nothing else is checked. Refuses
    // (engine error, list unchanged) when the list already holds kMaxEntries.
    void addVbp(const std::wstring& path, bool action);
    // An entry as addVbp makes it, for a list put together elsewhere.
    static std::shared_ptr<clsVbp> NewEntry(const std::wstring& path, bool action);
    // The whole list at once; refused as addVbp would refuse its last entry.
    void ReplaceEntries(EntryList entries);
    void RemoveTargetAll();
    // 1-based. Overflow error beyond the 16-bit range, invalid-argument error
    // outside 1..Count; the list is then unchanged.
    void RemoveTarget(std::int32_t position);
    void RemoveNoCheck();
    void ReCompileCheck();

    // Builds every checked entry in list order, or as planned when a planning
    // option is on (see the .cpp files for the rules).
    void CompileStart();
    // The run that CompileStart would make with the planner's options, as
    // lines to read, starting no compiler: each project in build order with
    // what it waits for and why it is built or skipped, then the compilers
    // at once. A cycle of references is the engine error, as for the run.
    std::vector<std::wstring> PlanLines();

    // The way out of a compiler that hangs: CompileStop only takes effect
    // between builds, so a second stop request from the user while a build is
    // still running ends that build's compiler on the wait's next pass, and
    // the entry fails. True for the request that does so; false when no build
    // is running or this one is already being ended. Cleared as each build starts.
    bool AbortCurrentBuild();
    // True from the start of a compiler until the wait for it has ended.
    bool IsBuilding() const { return building_; }

    // Raised synchronously around each build, with the build's own values:
    // with several compilers, builds end in any order.
    using ExecutionHandler = std::function<void(const ExecutionEvent&)>;
    void SetExecutionStartHandler(ExecutionHandler handler) { executionStart_ = std::move(handler); }
    void SetExecutionStopHandler(ExecutionHandler handler) { executionStop_ = std::move(handler); }
    // Raised in place of both for an up-to-date project that is skipped.
    void SetExecutionSkipHandler(ExecutionHandler handler) { executionSkip_ = std::move(handler); }

private:
    [[noreturn]] static void RefuseEntries();
    void Raise(const ExecutionHandler& handler, std::int32_t position, const clsVbp& entry, const wchar_t* status);
    void RaiseExecutionStart(std::int32_t position, const clsVbp& entry);
    void RaiseExecutionStop(std::int32_t position, const clsVbp& entry);
    static void MarkFailed(clsVbp& entry, const std::wstring& reason);
    std::unique_ptr<CompilerProcess> StartCompiler(const std::wstring& commandLine);
    std::unique_ptr<BuildWatch> StartBuild(clsVbp& entry);
    bool AnnounceBuild(std::int32_t position, clsVbp& entry);
    void CompilePlanned();
    BuildPlan MakePlan(std::vector<std::int32_t>& positions, const BuildTimes& times);
    void RunPlanned(BuildPlan& plan, const std::vector<std::int32_t>& positions, BuildTimes& times);
    std::unique_ptr<BuildWatch> TakeStep(const BuildPlan::Step& step, std::int32_t position,
                                         std::int32_t dependencyPosition, BuildPlan& plan,
                                         std::unique_ptr<BuildStamp>& stamp);

    RunPlatform& platform_;
    std::int32_t curCount_ = 0;
    std::int32_t compileCount_ = 0;
    std::wstring vb_;
    std::wstring outFolder_;
    std::wstring dimension_;
    std::chrono::minutes timeLimit_ = kDefaultTimeLimit;
    const wchar_t* status_ = L"";  // of the latest event for the build at curCount_
    bool compileStop_ = false;
    EntryList entries_;

    bool building_ = false;
    bool abandonRequested_ = false;
    ExecutionHandler executionStart_;
    ExecutionHandler executionStop_;
    ExecutionHandler executionSkip_;
    PlanOptions planning_;
    ProjectFiles* files_ = nullptr;
    bool compilerLog_ = false;
    ProjectStamper* stamper_ = nullptr;
    bool failMissingProjects_ = false;
    BuildTimesStore* buildTimes_ = nullptr;
};

}  // namespace tolvane
