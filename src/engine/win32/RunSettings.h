#pragma once
// The run's settings as Tolvane.ini keeps them (section COMMON), for both
// programs: the planner's "Order" and "Skip" as 1 or 0 and "Parallel" as the
// number of compilers at once (absent or unreadable: all off).
#include <string>

#include "engine/BuildPlan.h"

namespace tolvane {

PlanOptions ReadPlanOptions(const std::wstring& iniFile);
// False when a value could not be written.
bool WritePlanOptions(const std::wstring& iniFile, const PlanOptions& options);

// "CompilerLog": 1 when each build reads the compiler's own log (absent: off).
bool ReadCompilerLogOption(const std::wstring& iniFile);
bool WriteCompilerLogOption(const std::wstring& iniFile, bool on);

// "Version": the version every project of a run is built with, as typed
// ("2.5.1234"); empty when absent, and the projects keep their own.
std::wstring ReadVersion(const std::wstring& iniFile);
bool WriteVersion(const std::wstring& iniFile, const std::wstring& version);

}  // namespace tolvane
