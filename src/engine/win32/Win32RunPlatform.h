#pragma once
// The compile run's platform on Windows: real processes, real windows.
#include <windows.h>

#include "engine/RunPlatform.h"

namespace tolvane {

class Win32RunPlatform : public RunPlatform {
public:
    bool FileExists(const std::wstring& path) override;
    bool PathExists(const std::wstring& path) override;
    void DoEvents() override;
    std::wstring NowText() override;
    // The compiler runs in a job of its own: ending the job ends everything it
    // started, and so does releasing the returned object.
    std::unique_ptr<CompilerProcess> StartCompiler(const std::wstring& program,
                                                   const std::wstring& commandLine) override;
    void WaitForAny(const std::vector<CompilerProcess*>& compilers, std::chrono::milliseconds interval) override;
    std::wstring NewCompilerLogPath() override;
    std::optional<std::string> ReadFileBytes(const std::wstring& path) override;
    void RemoveFile(const std::wstring& path) override;
};

// Window-show events the compiler hook has delivered so far in this process;
// benchmarks report it, since some platforms (Wine) deliver none.
long WinEventShowCount();

}  // namespace tolvane
