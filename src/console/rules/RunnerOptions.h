#pragma once
// The console runner's command line:
//   TolvaneCmd <list.clt> [/outdir <folder>] [/d <arguments>] [/all]
//              [/limit <minutes>] [/vb <compiler>] [/recheck] [/junit <report.xml>]
//              [/order] [/skip] [/parallel <n>] [/plan]
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

struct RunnerOptions {
    bool help = false;  // /?: the usage text and nothing else
    std::wstring list;
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
    bool plan = false;  // the build order and reasons printed, no compiler started
};

// The options, or a one-line reason why the arguments cannot be used.
struct ParsedArguments {
    std::optional<RunnerOptions> options;
    std::wstring error;
};

// Switches in any letter case; each at most once; exactly one list file.
ParsedArguments ParseRunnerArguments(const std::vector<std::wstring>& args);

// The short usage text that /? prints, CR LF line ends.
std::wstring UsageText();

}  // namespace tolvane
