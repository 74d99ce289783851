#pragma once
// The run's settings as Tolvane.ini keeps them (section COMMON), for both
// programs: the planner's "Order" and "Skip" as 1 or 0 and "Parallel" as the
// number of compilers at once (absent or unreadable: all off).
#include <string>

#include "engine/BuildPlan.h"
#include "support/win32/PlatformResult.h"

namespace tolvane {

PlanOptions ReadPlanOptions(const std::wstring& iniFile);
// Every value is written; the first failure when one could not be.
PlatformResult WritePlanOptions(const std::wstring& iniFile, const PlanOptions& options);

// "CompilerLog": 1 when each build reads the compiler's own log (absent: off).
bool ReadCompilerLogOption(const std::wstring& iniFile);
PlatformResult WriteCompilerLogOption(const std::wstring& iniFile, bool on);

// "Version": the version every project of a run is built with, as typed
// ("2.5.1234"); empty when absent, and the projects keep their own.
std::wstring ReadVersion(const std::wstring& iniFile);
PlatformResult WriteVersion(const std::wstring& iniFile, const std::wstring& version);

}  // namespace tolvane
