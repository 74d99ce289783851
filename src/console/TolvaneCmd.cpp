// TolvaneCmd.exe: the compile run without a window, for scripts and build servers.
#include <string>
#include <vector>

#include "console/ConsoleRun.h"
#include "console/ConsoleWriter.h"
#include "console/rules/RunnerOptions.h"

int wmain(int argc, wchar_t** argv) {
    using namespace tolvane;
    ConsoleWriter out(STD_OUTPUT_HANDLE);
    ConsoleWriter err(STD_ERROR_HANDLE);
    const ParsedArguments parsed = ParseRunnerArguments(std::vector<std::wstring>(argv + 1, argv + argc));
    if (!parsed.options) {
        err.WriteLine(parsed.error + L"（TolvaneCmd /? で使い方を表示します）");
        return kExitNotRun;
    }
    if (parsed.options->help) {
        out.Write(UsageText());
        return kExitSucceeded;
    }
    return RunFromConsole(*parsed.options, out, err);
}
