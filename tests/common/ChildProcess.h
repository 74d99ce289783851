#pragma once
// A process a test starts and owns: ended when the object goes, if still running.
#include <windows.h>

#include <chrono>
#include <string>

#include "support/win32/Handle.h"

namespace tolvane::testing {

class ChildProcess {
public:
    // Throws std::runtime_error when the command line cannot start. Standard
    // output and standard error go to the files when they are named; the
    // process starts in the current folder given, or in this one's.
    explicit ChildProcess(const std::wstring& commandLine, const std::wstring& outputFile = L"",
                          const std::wstring& errorFile = L"", const std::wstring& currentFolder = L"");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    DWORD Id() const { return pid_; }
    HANDLE Handle() const { return process_.Get(); }
    bool Running() const { return WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }
    bool WaitForExit(std::chrono::milliseconds limit) const {
        return WaitForSingleObject(process_.Get(), static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
    }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process_.Get(), &code);
        return code;
    }

private:
    tolvane::Handle process_;
    DWORD pid_ = 0;
};

}  // namespace tolvane::testing
