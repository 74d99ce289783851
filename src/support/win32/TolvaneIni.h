#pragma once
// Tolvane.ini beside the program: the settings the window program and the
// console runner both read, each key in one place.
#include <chrono>
#include <optional>
#include <string>

#include "support/win32/PlatformResult.h"

namespace tolvane {

// The full name of Tolvane.ini beside the running program.
std::wstring TolvaneIniPath();

// COMMON/EXE: the compiler's full path; "" when none is stored.
std::wstring ReadCompilerPath();
// As PutIniString: the failure when the write failed.
PlatformResult WriteCompilerPath(const std::wstring& path);

// COMMON/PREV_List: the list reopened at start-up; "" for none.
std::wstring ReadPreviousList();
// As PutIniString: the failure when the write failed.
PlatformResult WritePreviousList(const std::wstring& path);

// COMMON/TimeLimit: the per-build time limit; nothing when its value is not a
// valid limit. A missing or blank value is written out as kDefaultTimeLimit,
// so that people find the key, and read as that.
std::optional<std::chrono::minutes> ReadTimeLimit();

}  // namespace tolvane
