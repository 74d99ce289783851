#pragma once
// The console runner's command line:
//   TolvaneCmd <input> [<input> ...] [/outdir <folder>] [/d <arguments>] [/all]
//              [/limit <minutes>] [/vb <compiler>] [/recheck] [/junit <report.xml>]
//              [/order] [/skip] [/parallel <n>] [/plan] [/shard <k>/<n>] [/compilerlog]
//              [/version <a.b.c>] [/set <Key>=<Value>]...
// where an input is a compile list (.clt), a group file (.vbg), a project
// file (.vbp) or a folder.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "engine/ProjectStamp.h"
#include "engine/Shards.h"

namespace tolvane {

struct RunnerOptions {
    bool help = false;  // /?: the usage text and nothing else
    std::vector<std::wstring> inputs;  // in the order given
    std::optional<std::wstring> outDir;
    std::optional<std::wstring> dimension;
    bool all = false;
    std::optional<std::chrono::minutes> limit;
    std::optional<std::wstring> vb;
    bool recheck = false;
    std::optional<std::wstring> junit;
    // The planner's options, each on top of what Tolvane.ini says.
    bool order = false;
    bool skip = false;
    std::optional<int> parallel;
    bool compilerLog = false;  // on top of Tolvane.ini's CompilerLog
    // Written into every project file for its build: the version (on top of
    // Tolvane.ini's), and further keys of the main section, in order.
    std::optional<std::wstring> version;
    ProjectSettings sets;
    bool plan = false;  // the build order and reasons printed, no compiler started
    std::optional<Shard> shard;  // only this part of the inputs' projects
};

// The options, or a one-line reason why the arguments cannot be used.
struct ParsedArguments {
    std::optional<RunnerOptions> options;
    std::wstring error;
};

// Switches in any letter case; each at most once (but /set); at least one
// input, and exactly one, a compile list, with /recheck.
ParsedArguments ParseRunnerArguments(const std::vector<std::wstring>& args);

// The short usage text that /? prints, CR LF line ends.
std::wstring UsageText();

}  // namespace tolvane
