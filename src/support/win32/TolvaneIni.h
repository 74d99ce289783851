#pragma once
// Tolvane.ini beside the program: the settings the window program and the
// console runner both read, each key in one place.
#include <chrono>
#include <optional>
#include <string>

namespace tolvane {

// The full name of Tolvane.ini beside the running program.
std::wstring TolvaneIniPath();

// COMMON/EXE: the compiler's full path; "" when none is stored.
std::wstring ReadCompilerPath();
// As PutIniString: false when the write failed.
bool WriteCompilerPath(const std::wstring& path);

// COMMON/PREV_List: the list reopened at start-up; "" for none.
std::wstring ReadPreviousList();
void WritePreviousList(const std::wstring& path);

// COMMON/TimeLimit: the per-build time limit; kDefaultTimeLimit when the key
// is missing or blank, nothing when its value is not a valid limit.
std::optional<std::chrono::minutes> ReadTimeLimit();

}  // namespace tolvane
