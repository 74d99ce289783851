#pragma once
// Tolvane.ini beside the program: every key that the two programs and the two
// settings dialogs read or write, each declared once, in the table below.
#include <chrono>
#include <optional>
#include <string>

#include "engine/BuildPlan.h"
#include "support/win32/PlatformResult.h"

namespace tolvane {

// The full name of Tolvane.ini beside the running program.
std::wstring TolvaneIniPath();

// Where a key stands and what a blank value (an absent key reads alike) is
// taken as.
struct IniKey {
    const wchar_t* section;
    const wchar_t* name;
    std::wstring blankAs;
    // A blank value is written out as blankAs when read, so people find the key.
    bool storeBlank = false;
};

// One key with its reader and writer: Read is what a reader gets, Written
// what a writer gives (a stored limit may be unreadable, a written one is not).
template <class Read, class Written = Read>
struct IniSetting {
    IniKey key;
    Read (*parse)(const std::wstring& text);
    std::wstring (*format)(const Written& value);
};

namespace settings {

// COMMON/EXE: the compiler's full path; "" when none is stored.
extern const IniSetting<std::wstring> kCompilerPath;
// COMMON/PREV_List: the list reopened at start-up; "" for none.
extern const IniSetting<std::wstring> kPreviousList;
// COMMON/TimeLimit: whole minutes, 0 for none; nothing when not a valid limit.
// Blank reads as kDefaultTimeLimit and is written out so.
extern const IniSetting<std::optional<std::chrono::minutes>, std::chrono::minutes> kTimeLimit;
// COMMON/Order, Skip, CompilerLog: 1 for on; anything else is off.
extern const IniSetting<bool> kOrder;
extern const IniSetting<bool> kSkip;
extern const IniSetting<bool> kCompilerLog;
// COMMON/Parallel: compilers at once, 1 to kMaxParallel; anything else is 1.
extern const IniSetting<int> kParallel;
// COMMON/Version: the version every project of a run is built with, as typed
// ("2.5.1234"); "" when absent, and the projects keep their own.
extern const IniSetting<std::wstring> kVersion;

}  // namespace settings

// The stored text, blankAs in place of a blank one.
std::wstring ReadIniText(const IniKey& key);
// The text a settings dialog shows for editing: without surrounding blanks,
// blankAs when blank; nothing is written.
std::wstring EditedIniText(const IniKey& key);
// As PutIniString: the failure when the write failed.
PlatformResult WriteIniText(const IniKey& key, const std::wstring& text);

template <class Read, class Written>
Read ReadSetting(const IniSetting<Read, Written>& setting) {
    return setting.parse(ReadIniText(setting.key));
}

template <class Read, class Written>
PlatformResult WriteSetting(const IniSetting<Read, Written>& setting, const Written& value) {
    return WriteIniText(setting.key, setting.format(value));
}

// The planner's three keys together, as both programs hand them to the engine.
PlanOptions ReadPlanOptions();

}  // namespace tolvane
