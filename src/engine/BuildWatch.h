#pragma once
// One running build: its compiler and what the wait has seen of it so far.
// Each Pass looks at the build once and says how long to wait before the
// next look, so one run can watch one build or several side by side.
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "engine/BuildLogFile.h"
#include "engine/RunPlatform.h"
#include "engine/clsVbp.h"

namespace tolvane {

class BuildWatch {
public:
    // Pause between close requests to an error box that is still there.
    static constexpr std::chrono::milliseconds kBoxCloseInterval{4};
    // How long an error box may take to close before its compiler is ended.
    static constexpr std::chrono::milliseconds kBoxCloseLimit{5000};
    // How long a compiler may take to end after its first error box has closed.
    static constexpr std::chrono::milliseconds kExitAfterBoxLimit{10000};

    // With a log, the compiler's log is read into the entry once the build is over.
    BuildWatch(std::unique_ptr<CompilerProcess> process, clsVbp& entry, std::chrono::minutes timeLimit,
               std::chrono::milliseconds pollInterval, std::unique_ptr<BuildLogFile> log = nullptr);

    // One look at the build; abandon ends its compiler at once. Nothing when
    // the build is over (the entry's Failure and FailureText then say how it
    // went), else the time to wait before the next look.
    std::optional<std::chrono::milliseconds> Pass(bool abandon);

    CompilerProcess& Process() { return *process_; }
    clsVbp& Entry() { return entry_; }

private:
    std::optional<std::chrono::milliseconds> Look(bool abandon);
    void Fail(const std::wstring& note);
    void JudgeEndedBuild();
    bool PassedTimeLimit(std::chrono::milliseconds elapsed) const;

    std::unique_ptr<CompilerProcess> process_;
    clsVbp& entry_;
    std::unique_ptr<BuildLogFile> log_;
    std::chrono::minutes timeLimit_;
    std::chrono::milliseconds pollInterval_;
    bool boxShown_ = false;
    bool boxSeen_ = false;
    std::wstring boxText_;
    std::chrono::milliseconds boxSince_{0};
    std::chrono::milliseconds exitDeadline_{0};
};

}  // namespace tolvane
