#pragma once
// A started process kept inside a job object of its own, so that ending the
// job ends everything the process started as well.
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/win32/Handle.h"
#include "support/win32/PlatformResult.h"

namespace tolvane {

class JobProcess {
public:
    // Starts the program suspended with the command line as its text (the
    // program is never looked for in the command line), puts it into a fresh kill-on-close job
    // and lets it run. When the job cannot take it (a parent job forbids nesting)
    // the process runs outside any job. The failure when the process cannot
    // be started; started is then left empty.
    static PlatformResult Start(const std::wstring& program, const std::wstring& commandLine, WORD showWindow,
                                std::unique_ptr<JobProcess>& started);

    JobProcess(const JobProcess&) = delete;
    JobProcess& operator=(const JobProcess&) = delete;

    HANDLE Process() const { return process_.Get(); }
    DWORD ProcessId() const { return pid_; }

    // The process and every live process it started: the job's own list, or,
    // when the job cannot tell, the process's descendants in a snapshot.
    std::vector<DWORD> ProcessIds() const;

    // Ends the job (or the process alone, outside a job) and waits up to
    // `wait` for the process handle to be signalled.
    void Terminate(std::chrono::milliseconds wait);

private:
    JobProcess(Handle process, DWORD pid, Handle job)
        : process_(std::move(process)), pid_(pid), job_(std::move(job)) {}
    bool JobProcessIds(std::vector<DWORD>& ids) const;

    Handle process_;
    DWORD pid_;
    // Declared last, so closed first: closing the job ends whatever of the build is still running.
    Handle job_;
};

// Ids of the process and its descendants in one snapshot of all processes.
std::vector<DWORD> DescendantsOf(DWORD pid);

}  // namespace tolvane
