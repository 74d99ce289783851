#pragma once
// A scripted stand-in for the platform of a compile run: each started compiler
// follows the script of the first key found in its command line, and every
// call is recorded in one trace so tests can check order as well as counts.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/RunPlatform.h"
#include "support/VbError.h"

namespace tolvane::testing {

struct CompilerScript {
    explicit CompilerScript(int endsAfter = 0, int boxAt = -1)
        : endsAfterSteps(endsAfter), boxAtStep(boxAt) {}

    int endsAfterSteps = 0;          // HasEnded once this many WaitSteps passed; -1 never
    int boxAtStep = -1;              // error box shown from this step on; -1 none
    bool boxAfterEnd = false;        // box first seen only after HasEnded said true
    bool boxWontClose = false;
    bool exitsAfterBoxClosed = true; // WaitForExit's answer
    std::wstring boxText = L"コンパイルエラー";
    bool startThrows = false;
    std::function<void(int step)> onStep;  // runs inside WaitStep, like a window event
};

struct FakeProcessState {
    CompilerScript script;
    int steps = 0;
    bool ended = false;
    bool terminated = false;
    bool boxClosed = false;
    bool endReported = false;
    bool Running() const { return !ended && !terminated; }
};

class FakeRunPlatform;

class FakeCompilerProcess : public CompilerProcess {
public:
    FakeCompilerProcess(FakeRunPlatform& platform, std::shared_ptr<FakeProcessState> state)
        : platform_(platform), state_(std::move(state)) {}

    std::optional<std::wstring> FindErrorBox() override;
    bool CloseErrorBox(std::chrono::milliseconds limit) override;
    bool HasEnded() override;
    void WaitStep(std::chrono::milliseconds interval) override;
    bool WaitForExit(std::chrono::milliseconds limit) override;
    void Terminate() override;

private:
    bool BoxShown() const;

    FakeRunPlatform& platform_;
    std::shared_ptr<FakeProcessState> state_;
};

class FakeRunPlatform : public RunPlatform {
public:
    // What exists on the fake file system.
    std::set<std::wstring> files;    // FileExists
    std::set<std::wstring> paths;    // PathExists
    std::map<std::wstring, CompilerScript> scripts;
    CompilerScript defaultScript;

    std::vector<std::wstring> trace;
    std::vector<std::wstring> commandLines;
    std::vector<std::wstring> pathLookups;
    std::vector<std::shared_ptr<FakeProcessState>> processes;
    std::vector<std::chrono::milliseconds> waitIntervals;
    int doEventsCalls = 0;
    int nowCalls = 0;
    int overlappingStarts = 0;
    std::function<void(const std::wstring&)> onStart;

    bool FileExists(const std::wstring& path) override { return files.count(path) != 0; }

    bool PathExists(const std::wstring& path) override {
        pathLookups.push_back(path);
        return paths.count(path) != 0;
    }

    void DoEvents() override {
        ++doEventsCalls;
        trace.push_back(L"DoEvents");
    }

    std::wstring NowText() override { return L"T" + std::to_wstring(++nowCalls); }

    std::unique_ptr<CompilerProcess> StartCompiler(const std::wstring& commandLine) override {
        for (const auto& p : processes) {
            if (p->Running()) ++overlappingStarts;
        }
        trace.push_back(L"StartCompiler");
        commandLines.push_back(commandLine);
        if (onStart) onStart(commandLine);
        auto state = std::make_shared<FakeProcessState>();
        state->script = ScriptFor(commandLine);
        if (state->script.startThrows) {
            throw VbError(53, L"StartCompiler", L"ファイルが見つかりません。");
        }
        processes.push_back(state);
        return std::make_unique<FakeCompilerProcess>(*this, state);
    }

    int Count(const std::wstring& call) const {
        int n = 0;
        for (const auto& t : trace) n += t == call ? 1 : 0;
        return n;
    }

private:
    CompilerScript ScriptFor(const std::wstring& commandLine) const {
        for (const auto& [key, script] : scripts) {
            if (commandLine.find(key) != std::wstring::npos) return script;
        }
        return defaultScript;
    }
};

inline bool FakeCompilerProcess::BoxShown() const {
    const auto& s = *state_;
    if (s.boxClosed) return false;
    if (s.script.boxAtStep >= 0 && s.steps >= s.script.boxAtStep) return true;
    return s.script.boxAfterEnd && s.endReported;
}

inline std::optional<std::wstring> FakeCompilerProcess::FindErrorBox() {
    platform_.trace.push_back(L"FindErrorBox");
    if (BoxShown()) return state_->script.boxText;
    return std::nullopt;
}

inline bool FakeCompilerProcess::CloseErrorBox(std::chrono::milliseconds limit) {
    platform_.trace.push_back(L"CloseErrorBox");
    if (limit.count() <= 0) return false;
    if (state_->script.boxWontClose) return false;
    state_->boxClosed = true;
    return true;
}

inline bool FakeCompilerProcess::HasEnded() {
    auto& s = *state_;
    if (!s.ended && s.script.endsAfterSteps >= 0 && s.steps >= s.script.endsAfterSteps) s.ended = true;
    const bool ended = s.ended || s.terminated;
    if (ended) s.endReported = true;
    return ended;
}

inline void FakeCompilerProcess::WaitStep(std::chrono::milliseconds interval) {
    platform_.trace.push_back(L"WaitStep");
    platform_.waitIntervals.push_back(interval);
    ++state_->steps;
    if (state_->script.onStep) state_->script.onStep(state_->steps);
}

inline bool FakeCompilerProcess::WaitForExit(std::chrono::milliseconds limit) {
    platform_.trace.push_back(L"WaitForExit");
    if (limit.count() > 0 && state_->script.exitsAfterBoxClosed) state_->ended = true;
    return !state_->Running();
}

inline void FakeCompilerProcess::Terminate() {
    platform_.trace.push_back(L"Terminate");
    state_->terminated = true;
}

}  // namespace tolvane::testing
