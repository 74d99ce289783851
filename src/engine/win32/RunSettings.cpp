#include "engine/win32/RunSettings.h"

#include "support/Paths.h"
#include "support/win32/IniControl.h"

namespace tolvane {

namespace {

constexpr const wchar_t* kSection = L"COMMON";

bool ReadFlag(const std::wstring& iniFile, const wchar_t* key) {
    return TrimSpaces(GetIniString(iniFile, kSection, key)) == L"1";
}

}  // namespace

PlanOptions ReadPlanOptions(const std::wstring& iniFile) {
    PlanOptions options;
    options.order = ReadFlag(iniFile, L"Order");
    options.skip = ReadFlag(iniFile, L"Skip");
    options.parallel = ParseParallel(GetIniString(iniFile, kSection, L"Parallel")).value_or(1);
    return options;
}

PlatformResult WritePlanOptions(const std::wstring& iniFile, const PlanOptions& options) {
    const PlatformResult results[] = {
        PutIniString(iniFile, kSection, L"Order", options.order ? L"1" : L"0"),
        PutIniString(iniFile, kSection, L"Skip", options.skip ? L"1" : L"0"),
        PutIniString(iniFile, kSection, L"Parallel", std::to_wstring(options.parallel)),
    };
    for (const PlatformResult& result : results) {
        if (result.Failed()) return result;
    }
    return PlatformResult();
}

bool ReadCompilerLogOption(const std::wstring& iniFile) { return ReadFlag(iniFile, L"CompilerLog"); }

PlatformResult WriteCompilerLogOption(const std::wstring& iniFile, bool on) {
    return PutIniString(iniFile, kSection, L"CompilerLog", on ? L"1" : L"0");
}

std::wstring ReadVersion(const std::wstring& iniFile) { return TrimSpaces(GetIniString(iniFile, kSection, L"Version")); }

PlatformResult WriteVersion(const std::wstring& iniFile, const std::wstring& version) {
    return PutIniString(iniFile, kSection, L"Version", version);
}

}  // namespace tolvane
