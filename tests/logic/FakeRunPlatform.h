#pragma once
// A scripted platform for compile runs: each started compiler follows the
// script of the first key found in its command line, and every call goes into
// one trace so tests can check order as well as counts.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/RunPlatform.h"

namespace tolvane::testing {

struct CompilerScript {
    int endsAfterSteps = 0;           // HasEnded once this many WaitSteps passed; -1 never
    int boxAtStep = -1;               // error box shown from this step on; -1 none
    bool boxAfterEnd = false;         // box first seen only after HasEnded said true
    int boxesThatClose = -1;          // boxes that close when asked, in order; -1 all
    bool exitsAfterBoxClosed = true;  // ends once its last box has closed; else lingers
    std::uint32_t exitCode = 0;
    std::wstring boxText = L"コンパイルエラー";
    std::vector<std::wstring> followUpBoxes;  // shown one by one as each box closes
    int blankLooks = 0;                       // the first box reads blank this often, and will not close yet
    std::function<void(int step)> onStep;     // runs inside WaitStep, like a window event
    std::string log;                          // written to the /out file, if any, as it starts
};

struct FakeProcess {
    CompilerScript script;
    int steps = 0;
    std::chrono::milliseconds elapsed{0};  // the waits' intervals added up
    size_t boxesClosed = 0;
    int looks = 0;  // at the first box
    bool ended = false, terminated = false, endReported = false;
    bool Running() const { return !ended && !terminated; }
    bool AllBoxesClosed() const { return boxesClosed > script.followUpBoxes.size(); }
};

class FakeRunPlatform : public RunPlatform {
public:
    std::set<std::wstring> files;  // FileExists
    std::set<std::wstring> paths;  // PathExists
    std::map<std::wstring, CompilerScript> scripts;
    CompilerScript defaultScript;

    std::vector<std::wstring> trace, programs, commandLines, pathLookups;
    std::vector<std::shared_ptr<FakeProcess>> processes;
    std::vector<std::chrono::milliseconds> waitIntervals;
    int nowCalls = 0;
    int overlappingStarts = 0;  // compilers started while an earlier one still ran
    std::function<void()> onStart;
    std::map<std::wstring, std::string> fileBytes;  // ReadFileBytes; RemoveFile takes them away
    int logPaths = 0;
    std::vector<std::size_t> waitedOn;  // compilers in each WaitForAny

    bool FileExists(const std::wstring& path) override { return files.count(path) != 0; }
    bool PathExists(const std::wstring& path) override {
        pathLookups.push_back(path);
        return paths.count(path) != 0;
    }
    void DoEvents() override { trace.push_back(L"DoEvents"); }
    std::wstring NowText() override { return L"T" + std::to_wstring(++nowCalls); }
    std::unique_ptr<CompilerProcess> StartCompiler(const std::wstring& program, const std::wstring& commandLine) override;
    // Every wait step lets time pass for all the running compilers.
    void WaitForAny(const std::vector<CompilerProcess*>& compilers, std::chrono::milliseconds interval) override {
        waitedOn.push_back(compilers.size());
        RunPlatform::WaitForAny(compilers, interval);
    }
    std::wstring NewCompilerLogPath() override { return L"C:\\Temp\\Tolvane_" + std::to_wstring(++logPaths) + L".log"; }
    std::optional<std::string> ReadFileBytes(const std::wstring& path) override {
        const auto it = fileBytes.find(path);
        return it == fileBytes.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void RemoveFile(const std::wstring& path) override {
        trace.push_back(L"RemoveFile");
        fileBytes.erase(path);
    }

    int Count(const std::wstring& call) const { return static_cast<int>(std::count(trace.begin(), trace.end(), call)); }
};

class FakeCompilerProcess : public CompilerProcess {
public:
    FakeCompilerProcess(FakeRunPlatform& platform, std::shared_ptr<FakeProcess> state)
        : platform_(platform), state_(std::move(state)), s_(*state_) {}

    std::optional<std::wstring> FindErrorBox() override {
        platform_.trace.push_back(L"FindErrorBox");
        const bool shown = !s_.AllBoxesClosed() && !s_.terminated &&
                           ((s_.script.boxAtStep >= 0 && s_.steps >= s_.script.boxAtStep) ||
                            (s_.script.boxAfterEnd && s_.endReported));
        if (!shown) return std::nullopt;
        if (s_.boxesClosed == 0 && ++s_.looks <= s_.script.blankLooks) return std::wstring();
        return s_.boxesClosed == 0 ? s_.script.boxText : s_.script.followUpBoxes[s_.boxesClosed - 1];
    }
    void RequestErrorBoxClose() override {
        platform_.trace.push_back(L"RequestErrorBoxClose");
        if (s_.boxesClosed == 0 && s_.looks <= s_.script.blankLooks) return;
        const int closable = s_.script.boxesThatClose;
        if (closable < 0 || s_.boxesClosed < static_cast<size_t>(closable)) ++s_.boxesClosed;
    }
    std::optional<ShownWindow> FindPrompt() override { return std::nullopt; }
    bool HasEnded() override {
        if (s_.script.endsAfterSteps >= 0 && s_.steps >= s_.script.endsAfterSteps) s_.ended = true;
        if (s_.boxesClosed > 0 && s_.AllBoxesClosed() && s_.script.exitsAfterBoxClosed) s_.ended = true;
        s_.endReported = s_.endReported || !s_.Running();
        return !s_.Running();
    }
    std::optional<std::uint32_t> ExitCode() override {
        return s_.Running() ? 259u : s_.terminated ? 1u : s_.script.exitCode;  // 259: still active
    }
    std::chrono::milliseconds Elapsed() override { return s_.elapsed; }
    void WaitStep(std::chrono::milliseconds interval) override {
        platform_.trace.push_back(L"WaitStep");
        platform_.waitIntervals.push_back(interval);
        // Time passes for every compiler that runs, not only the one waited on.
        for (const auto& p : platform_.processes) {
            if (!p->Running()) continue;
            ++p->steps;
            p->elapsed += interval;
        }
        if (s_.script.onStep) s_.script.onStep(s_.steps);
    }
    void Terminate() override {
        platform_.trace.push_back(L"Terminate");
        s_.terminated = true;
    }

private:
    FakeRunPlatform& platform_;
    std::shared_ptr<FakeProcess> state_;
    FakeProcess& s_;
};

inline std::unique_ptr<CompilerProcess> FakeRunPlatform::StartCompiler(const std::wstring& program,
                                                                       const std::wstring& commandLine) {
    for (const auto& p : processes) overlappingStarts += p->Running() ? 1 : 0;
    trace.push_back(L"StartCompiler");
    programs.push_back(program);
    commandLines.push_back(commandLine);
    if (onStart) onStart();
    auto state = std::make_shared<FakeProcess>();
    state->script = defaultScript;
    const auto keyed = std::find_if(scripts.begin(), scripts.end(),
                                    [&](const auto& s) { return commandLine.find(s.first) != std::wstring::npos; });
    if (keyed != scripts.end()) state->script = keyed->second;
    const std::wstring out = L" /out \"";
    if (const auto at = commandLine.find(out); at != std::wstring::npos && !state->script.log.empty()) {
        const std::size_t from = at + out.size();
        fileBytes[commandLine.substr(from, commandLine.find(L'"', from) - from)] += state->script.log;
    }
    processes.push_back(state);
    return std::make_unique<FakeCompilerProcess>(*this, state);
}

}  // namespace tolvane::testing
