#include "engine/win32/TolvaneIni.h"

#include "support/Paths.h"
#include "support/TimeLimit.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"

namespace tolvane {
namespace {

constexpr wchar_t kCommon[] = L"COMMON";

std::wstring AsStored(const std::wstring& text) { return text; }
bool IsOn(const std::wstring& text) { return TrimSpaces(text) == L"1"; }
std::wstring OnOff(const bool& on) { return on ? L"1" : L"0"; }
int Parallel(const std::wstring& text) { return ParseParallel(text).value_or(1); }
std::wstring Number(const int& n) { return std::to_wstring(n); }
std::wstring Minutes(const std::chrono::minutes& limit) { return std::to_wstring(limit.count()); }

}  // namespace

namespace settings {

const IniSetting<std::wstring> kCompilerPath{{kCommon, L"EXE", L""}, AsStored, AsStored};
const IniSetting<std::wstring> kPreviousList{{kCommon, L"PREV_List", L""}, AsStored, AsStored};
const IniSetting<std::optional<std::chrono::minutes>, std::chrono::minutes> kTimeLimit{
    {kCommon, L"TimeLimit", Minutes(kDefaultTimeLimit), true}, ParseTimeLimit, Minutes};
const IniSetting<bool> kOrder{{kCommon, L"Order", L"0"}, IsOn, OnOff};
const IniSetting<bool> kSkip{{kCommon, L"Skip", L"0"}, IsOn, OnOff};
const IniSetting<bool> kCompilerLog{{kCommon, L"CompilerLog", L"0"}, IsOn, OnOff};
const IniSetting<int> kParallel{{kCommon, L"Parallel", L"1"}, Parallel, Number};
const IniSetting<std::wstring> kVersion{{kCommon, L"Version", L""}, TrimSpaces, AsStored};

}  // namespace settings

std::wstring TolvaneIniPath() { return FileBesideProgram(L"Tolvane.ini"); }

std::wstring ReadIniText(const IniKey& key) {
    const std::wstring text = GetIniString(TolvaneIniPath(), key.section, key.name);
    if (!IsBlank(text)) return text;
    if (key.storeBlank) WriteIniText(key, key.blankAs);
    return key.blankAs;
}

std::wstring EditedIniText(const IniKey& key) {
    const std::wstring text = TrimSpaces(GetIniString(TolvaneIniPath(), key.section, key.name));
    return text.empty() ? key.blankAs : text;
}

PlatformResult WriteIniText(const IniKey& key, const std::wstring& text) {
    return PutIniString(TolvaneIniPath(), key.section, key.name, text);
}

PlanOptions ReadPlanOptions() {
    PlanOptions options;
    options.order = ReadSetting(settings::kOrder);
    options.skip = ReadSetting(settings::kSkip);
    options.parallel = ReadSetting(settings::kParallel);
    return options;
}

}  // namespace tolvane
