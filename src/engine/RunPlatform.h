#pragma once
// What the compile run needs from the platform, kept narrow so that the run's
// rules can be tested against a fake without windows or processes.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

// A window that a build is showing, as a person would read it.
struct ShownWindow {
    std::wstring title;
    std::wstring text;
};

// One started compiler and everything it started in turn.
class CompilerProcess {
public:
    virtual ~CompilerProcess() = default;

    // The text of this build's error box (a top-level window titled exactly
    // "Microsoft Visual Basic" that belongs to the compiler or to a process it
    // started), or nothing when no such box is shown. Windows of other programs
    // never count.
    virtual std::optional<std::wstring> FindErrorBox() = 0;

    // Posts a close request to every error box the last FindErrorBox saw, and
    // returns at once.
    virtual void RequestErrorBoxClose() = 0;

    // Another shown top-level window of this build (a prompt waiting for a
    // person), or nothing.
    virtual std::optional<ShownWindow> FindPrompt() = 0;

    // Whether the compiler process has ended, learnt from its handle.
    virtual bool HasEnded() = 0;

    // The exit status of an ended compiler; nothing when it cannot be read.
    virtual std::optional<std::uint32_t> ExitCode() = 0;

    // Time since the compiler was started.
    virtual std::chrono::milliseconds Elapsed() = 0;

    // Sleeps until the compiler ends, window input arrives, or the interval
    // passes, then lets pending window events run once. Uses no CPU while waiting.
    virtual void WaitStep(std::chrono::milliseconds interval) = 0;

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

    // Starts the program as a new process in a normal window that takes the
    // focus, with the command line as its text. The program is named apart so
    // that no other program is ever started in its place. Throws VbError with
    // the platform's description when it cannot start.
    virtual std::unique_ptr<CompilerProcess> StartCompiler(const std::wstring& program,
                                                           const std::wstring& commandLine) = 0;

    // Sleeps until one of these compilers (started by this platform) ends,
    // window input arrives, or the interval passes, then lets pending window
    // events run once, as WaitStep does for one. A platform that cannot wait
    // on several at once waits on the first; the others' ends are then seen
    // when the interval passes.
    virtual void WaitForAny(const std::vector<CompilerProcess*>& compilers, std::chrono::milliseconds interval) {
        compilers.front()->WaitStep(interval);
    }

    // A path for one build's compiler log in the user's temporary folder that
    // no other call, of this process or another, hands out while it is in use.
    virtual std::wstring NewCompilerLogPath() = 0;
    // The whole file, or nothing when it cannot be read.
    virtual std::optional<std::string> ReadFileBytes(const std::wstring& path) = 0;
    // Removes the file when it is there.
    virtual void RemoveFile(const std::wstring& path) = 0;
};

}  // namespace tolvane
