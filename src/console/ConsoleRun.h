#pragma once
// One unattended run of the console runner: the list, the settings and the
// compiler checked first, then the same compile run the window program does,
// its log on standard output, and the list and report written afterwards.
#include <vector>

#include "console/ConsoleWriter.h"
#include "console/rules/RunnerOptions.h"

namespace tolvane {

// Exit statuses.
constexpr int kExitSucceeded = 0;
constexpr int kExitFailures = 1;
constexpr int kExitNotRun = 2;
constexpr int kExitStopped = 3;

// Runs the options (not /?) and returns the exit status.
int RunFromConsole(const RunnerOptions& options, ConsoleWriter& out, ConsoleWriter& err);

}  // namespace tolvane
