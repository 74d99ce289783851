#pragma once
// What the compile run needs from the platform, kept narrow so that the run's
// rules can be tested against a fake without windows or processes.
#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace tolvane {

// One started compiler and everything it started in turn.
class CompilerProcess {
public:
    virtual ~CompilerProcess() = default;

    // The text of this build's error box (a top-level window titled exactly
    // "Microsoft Visual Basic" that belongs to the compiler or to a process it
    // started), or nothing when no such box is shown. Windows of other programs
    // never count.
    virtual std::optional<std::wstring> FindErrorBox() = 0;

    // Posts close requests to this build's error box until it has gone or the
    // limit has passed. True when no box is left.
    virtual bool CloseErrorBox(std::chrono::milliseconds limit) = 0;

    // Whether the compiler process has ended, learnt from its handle.
    virtual bool HasEnded() = 0;

    // Sleeps until the compiler ends, window input arrives, or the interval
    // passes, then lets pending window events run once. Uses no CPU while waiting.
    virtual void WaitStep(std::chrono::milliseconds interval) = 0;

    // Waits (letting window events run) until the compiler has ended; false
    // when it is still running after the limit.
    virtual bool WaitForExit(std::chrono::milliseconds limit) = 0;

    // Ends the compiler and every process it started.
    virtual void Terminate() = 0;
};

class RunPlatform {
public:
    virtual ~RunPlatform() = default;

    // True when an ordinary file exists at the path (the rules of FileExists).
    virtual bool FileExists(const std::wstring& path) = 0;

    // True when anything of that name exists, a folder or a file of any
    // attributes. The path is looked up exactly as given, untrimmed.
    virtual bool PathExists(const std::wstring& path) = 0;

    // Lets pending window events run once.
    virtual void DoEvents() = 0;

    // The current local date and time in the system's general date-and-time form.
    virtual std::wstring NowText() = 0;

    // Starts the command line as a new process in a normal window that takes the
    // focus. Throws VbError with the platform's description when it cannot start.
    virtual std::unique_ptr<CompilerProcess> StartCompiler(const std::wstring& commandLine) = 0;
};

}  // namespace tolvane
