#pragma once
// A started process kept inside a job object of its own, so that ending the
// job ends everything the process started as well.
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace tolvane {

class JobProcess {
public:
    // Starts the program suspended with the command line as its text (the
    // program is never looked for in the command line), puts it into a fresh kill-on-close job
    // and lets it run. When the job cannot take it (a parent job forbids nesting)
    // the process runs outside any job. Throws VbError with the platform's
    // description when the process cannot be started.
    static std::unique_ptr<JobProcess> Start(const std::wstring& program, const std::wstring& commandLine,
                                             WORD showWindow);

    JobProcess(const JobProcess&) = delete;
    JobProcess& operator=(const JobProcess&) = delete;
    // Closing the job ends whatever of the build is still running.
    ~JobProcess();

    HANDLE Process() const { return process_; }
    DWORD ProcessId() const { return pid_; }

    // The process and every live process it started: the job's own list, or,
    // when the job cannot tell, the process's descendants in a snapshot.
    std::vector<DWORD> ProcessIds() const;

    // Ends the job (or the process alone, outside a job) and waits up to
    // `wait` for the process handle to be signalled.
    void Terminate(std::chrono::milliseconds wait);

private:
    JobProcess(HANDLE process, DWORD pid, HANDLE job) : process_(process), pid_(pid), job_(job) {}
    bool JobProcessIds(std::vector<DWORD>& ids) const;

    HANDLE process_;
    DWORD pid_;
    HANDLE job_;
};

// Ids of the process and its descendants in one snapshot of all processes.
std::vector<DWORD> DescendantsOf(DWORD pid);

}  // namespace tolvane
