#include "console/ConsoleRun.h"

#include <chrono>
#include <map>

#include "console/ConsoleInputs.h"
#include "console/ConsoleShard.h"
#include "console/StopWindow.h"
#include "console/rules/CiAnnotation.h"
#include "console/rules/RunnerInputs.h"
#include "console/rules/JUnitReport.h"
#include "engine/RunFrame.h"
#include "engine/RunLog.h"
#include "engine/clsTolvane.h"
#include "engine/StampedProjectFiles.h"
#include "engine/win32/BuildTimesFile.h"
#include "engine/win32/ListFileStore.h"
#include "engine/win32/ProjectStampStore.h"
#include "engine/win32/TolvaneIni.h"
#include "engine/win32/Win32ProjectFiles.h"
#include "engine/win32/Win32RunPlatform.h"
#include "support/AnsiCodec.h"
#include "support/Locale.h"
#include "support/Paths.h"
#include "support/TimeLimit.h"
#include "support/VbError.h"
#include "support/win32/DoEvents.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"
#include "support/win32/Make.h"

namespace tolvane {
namespace {

using Clock = std::chrono::steady_clock;

// A path given relative to the current folder, made full: the compiler runs
// elsewhere, and the messages should name the file unmistakably.
std::wstring FullPath(const std::wstring& path) {
    if (IsBlank(path)) return path;
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    full.resize(n);
    return full;
}

// An error's description on one line, as the log shows a failure's reason.
std::wstring OneLine(const std::wstring& text) {
    const std::wstring line = FailureDetailLine(text);
    return line.empty() ? line : line.substr(1);
}

std::wstring EnvironmentValue(const wchar_t* name) {
    const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) return std::wstring();
    std::wstring value(n, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), n));
    return value;
}

std::int64_t MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class ConsoleRun {
public:
    ConsoleRun(const RunnerOptions& options, ConsoleWriter& out, ConsoleWriter& err)
        : options_(options), out_(out), err_(err), engine_(platform_),
          stopWindow_([this] { OnStop(); }, [this] { OnTick(); }) {}

    int Execute() {
        stopWindow_.HandleConsoleControl();
        try {
            // A program ended in the middle of a build left its project stamped.
            for (const auto& note : GiveBackLeftovers()) out_.WriteLine(note);
            if (!Prepare()) return kExitNotRun;
            if (options_.shard && !TakeShard()) return EmptyShard();
            return options_.plan ? PrintPlan() : Run();
        } catch (const VbError& e) {
            // The run could not go on (the compiler could not be started):
            // without a complete result, neither the list nor a report is written.
            err_.WriteLine(OneLine(e.Description()));
            return kExitNotRun;
        } catch (const std::exception&) {
            err_.WriteLine(L"予期しないエラーが発生しました");
            return kExitNotRun;
        }
    }

private:
    bool Refuse(const std::wstring& reason) {
        err_.WriteLine(reason);
        return false;
    }

    // Everything that can keep the run from starting, checked before the first build.
    bool Prepare() {
        std::vector<std::wstring> inputs;
        for (const auto& input : options_.inputs) inputs.push_back(FullPath(input));
        // With /recheck the one input is the list that is saved back.
        list_ = inputs.front();
        GatheredInputs gathered = GatherInputs(inputs, options_.all);
        if (!gathered.ok) return Refuse(gathered.refusal);
        engine_.ReplaceEntries(std::move(gathered.entries));
        // Projects of a group are often listed although they are gone: such a
        // build fails saying so, and the rest builds.
        engine_.SetFailMissingProjects(true);

        // A settings file that cannot be read is not one without settings.
        if (const PlatformResult readable = CheckIniReadable(TolvaneIniPath()); readable.Failed()) {
            return Refuse(TolvaneIniPath() + L"を読み込めませんでした: " + readable.Text());
        }
        engine_.SetVB(options_.vb ? FullPath(*options_.vb) : ReadSetting(settings::kCompilerPath));
        if (IsBlank(engine_.VB())) {
            return Refuse(L"VB6.EXEのﾊﾟｽが指定されていません: /vb か " + TolvaneIniPath() + L" のEXEで指定してください");
        }
        if (!FileExists(engine_.VB())) return Refuse(engine_.VB() + L"が見つかりません");

        const auto limit = options_.limit ? options_.limit : ReadSetting(settings::kTimeLimit);
        if (!limit) {
            return Refuse(TolvaneIniPath() + L"のTimeLimitが正しくありません: " + TimeLimitRule());
        }
        engine_.SetTimeLimit(*limit);

        if (options_.outDir) {
            try {
                engine_.SetOutFolder(FullPath(*options_.outDir));
            } catch (const VbError& e) {
                return Refuse(e.Description() + L": " + *options_.outDir);
            }
        }
        if (options_.dimension) engine_.SetDimension(*options_.dimension);

        if (!PrepareStamping()) return false;
        planning_ = ReadPlanOptions();
        if (options_.order) planning_.order = true;
        if (options_.skip) planning_.skip = true;
        if (options_.parallel) planning_.parallel = *options_.parallel;
        engine_.SetPlanning(planning_, &stampedFiles_);
        engine_.SetBuildTimes(&buildTimes_);
        engine_.SetCompilerLog(options_.compilerLog || ReadSetting(settings::kCompilerLog));

        engine_.SetExecutionStartHandler([this](const ExecutionEvent& e) { ExecutionStart(e); });
        engine_.SetExecutionStopHandler([this](const ExecutionEvent& e) { ExecutionStop(e); });
        engine_.SetExecutionSkipHandler([this](const ExecutionEvent& e) { ExecutionSkip(e); });
        return true;
    }

    // The values every project is built with: /version or Tolvane.ini's Version, then /set.
    bool PrepareStamping() {
        const std::wstring version = options_.version.value_or(ReadSetting(settings::kVersion));
        if (!options_.version && !version.empty() && !ParseVersion(version)) {
            return Refuse(TolvaneIniPath() + L"のVersionが正しくありません: " + kVersionRule);
        }
        const RunSettings run = CombineSettings(version, options_.sets);
        if (!run.error.empty()) return Refuse(run.error);
        for (const auto& setting : run.settings) {
            if (!SystemAnsiCodec().Encode(setting.key + setting.value)) {
                return Refuse(setting.key + L"=" + setting.value + L"にｼｽﾃﾑの文字ｺｰﾄﾞで保存出来ない文字があります");
            }
        }
        stampStore_.SetSettings(run.settings);
        engine_.SetStamper(&stampStore_);
        if (!version.empty()) report_.properties.emplace_back(L"version", version);
        for (const auto& set : options_.sets) report_.properties.emplace_back(set.key, set.value);
        return true;
    }

    // Leaves only this agent's part checked and says which it is, in the
    // output and the report; false when the part holds nothing.
    bool TakeShard() {
        const Shard& shard = *options_.shard;
        const std::vector<std::wstring> projects = KeepOnlyShard(engine_, shard, planning_, stampedFiles_);
        for (const auto& line : ShardLines(shard, projects)) out_.WriteLine(line);
        report_.properties.push_back({L"shard", ShardText(shard)});
        for (const auto& project : projects) report_.properties.push_back({L"shard.project", project});
        return !projects.empty();
    }

    // Nothing to build is a success; the report is there for the server all the same.
    int EmptyShard() {
        if (options_.plan) return kExitSucceeded;
        report_.listName = InputName(list_);
        report_.started = LocalNow();
        return WriteReport() ? kExitSucceeded : kExitNotRun;
    }

    int Run() {
        report_.listName = InputName(list_);
        const Clock::time_point start = Clock::now();
        RunFrame frame(engine_);
        frame.Run([this] {
            // A stop request that came with the end of the last build is served now.
            DoEvents();
            stopWindow_.StopTicking();
        });
        report_.started = frame.Started();
        report_.milliseconds = MillisecondsSince(start);

        if (frame.Stopped()) {
            out_.Write(frame.ClosingPiece());
            WriteReport();
            return kExitStopped;
        }
        out_.WriteLine(frame.ClosingPiece());
        const std::int32_t failures = frame.Failures();
        const ClosingNotice notice = frame.Notice();
        if (!notice.message1.empty()) out_.WriteLine(notice.message1);
        out_.WriteLine(notice.message2);

        bool written = true;
        // As the window program leaves it: exactly the failed entries checked.
        if (options_.recheck && frame.Recheck()) {
            try {
                SaveListFile(list_, engine_.Vbp());
            } catch (const VbError& e) {
                err_.WriteLine(OneLine(e.Description()));
                written = false;
            }
        }
        if (!WriteReport()) written = false;
        // A result the server was asked to keep but cannot read is no success.
        if (!written) return kExitNotRun;
        return failures > 0 ? kExitFailures : kExitSucceeded;
    }

    // A cycle is the engine error, and exit 2, as for the run.
    int PrintPlan() {
        for (const auto& line : engine_.PlanLines()) out_.WriteLine(line);
        return kExitSucceeded;
    }

    bool WriteReport() {
        if (!options_.junit) return true;
        try {
            MakeFile(FullPath(*options_.junit), JUnitXml(report_));
            return true;
        } catch (const VbError& e) {
            err_.WriteLine(OneLine(e.Description()));
            return false;
        }
    }

    // With several compilers at once, builds end in any order: each is timed
    // from its own start.
    void ExecutionStart(const ExecutionEvent& e) {
        buildStarts_[e.position] = Clock::now();
        out_.Write(BuildStartedPiece(e.message));
    }

    void ExecutionStop(const ExecutionEvent& e) {
        const clsVbp& entry = e.entry;
        out_.Write(BuildEndedPiece(e.message, entry));
        if (entry.Failure() && entry.ErrorAt()) {
            const std::wstring annotation = CiAnnotation(ciEnvironment_, entry.Name(), *entry.ErrorAt());
            if (!annotation.empty()) out_.WriteLine(annotation);
        }
        const auto start = buildStarts_.find(e.position);
        const std::int64_t milliseconds = start == buildStarts_.end() ? 0 : MillisecondsSince(start->second);
        report_.builds.push_back({entry.Vbp(), milliseconds, entry.Failure(), entry.FailureText(), false,
                                  entry.Failure() ? entry.LogLines() : std::vector<std::wstring>(),
                                  entry.Failure() ? entry.ErrorAt() : std::nullopt});
    }

    // An up-to-date project: one line in the log, a skipped case in the report.
    void ExecutionSkip(const ExecutionEvent& e) {
        out_.Write(BuildEndedPiece(e.message, false, L""));
        report_.builds.push_back({e.entry.Vbp(), 0, false, L"", true});
    }

    // Ctrl+C, Ctrl+Break, the console closed: no further build starts, and the
    // running compiler with everything it started is ended.
    void OnStop() {
        if (engine_.CompileStop()) return;
        engine_.SetCompileStop(true);
        out_.Write(StoppingPiece());
        // A request served just before a compiler starts still ends it: the
        // ticks go on until the run is over.
        stopWindow_.StartTicking();
        OnTick();
    }

    void OnTick() {
        if (engine_.AbortCurrentBuild()) out_.Write(AbortingPiece());
    }

    const RunnerOptions& options_;
    ConsoleWriter& out_;
    ConsoleWriter& err_;
    Win32RunPlatform platform_;
    clsTolvane engine_;
    StopWindow stopWindow_;
    std::wstring list_;
    Win32ProjectFiles projectFiles_;
    ProjectStampStore stampStore_;
    StampedProjectFiles stampedFiles_{projectFiles_, stampStore_};
    PlanOptions planning_;
    BuildTimesFile buildTimes_;
    std::map<std::int32_t, Clock::time_point> buildStarts_;
    RunReport report_;
    const CiEnvironment ciEnvironment_{EnvironmentValue(L"GITHUB_ACTIONS"), EnvironmentValue(L"GITHUB_WORKSPACE"),
                                       EnvironmentValue(L"TF_BUILD")};
};

}  // namespace

int RunFromConsole(const RunnerOptions& options, ConsoleWriter& out, ConsoleWriter& err) {
    ConsoleRun run(options, out, err);
    return run.Execute();
}

}  // namespace tolvane
